// The Mode menu's items by model, heads and connection; switching modes;
// the names of recovery files and the run in the status strip.

#include "app/ModeMenu.h"
#include "app/ModeSwitch.h"
#include "app/Recovery.h"
#include "app/RunStatus.h"
#include "link/LinkState.h"
#include "state/AppState.h"
#include "support/ProgramState.h"
#include "support/RecordingMode.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <optional>
#include <set>
#include <string>

namespace {

using Names = std::set<std::string>;

// "Power Energy" -> {"Power", "Energy"}
Names Items(const char* list) {
    Names out;
    for (const QString& n : QString(list).split(' ', Qt::SkipEmptyParts)) out.insert(n.toStdString());
    return out;
}

// The items shown (or shown and enabled, separators aside), without "mnuMode_".
Names Of(int16_t model, int16_t headA, int16_t headB, bool connected, bool enabledOnly,
         const char* noteA = "") {
    const std::array<ChannelInfo, 3> heads{
        {{HeadKind(headA), {}, {}, {}, {}, noteA}, {HeadKind(headB), {}, {}, {}, {}, {}}, {}}};
    const ModeMenuState s = ComputeModeMenu(MeterModel(model), heads, connected);
    Names out;
    for (int i = 0; i < ModeMenuItemCount; ++i)
        if (s[i].visible && (s[i].enabled || !enabledOnly))
            out.insert(std::string(ModeMenuItemName(ModeMenuItem(i))).substr(8));
    if (enabledOnly) out.erase("Sep1"), out.erase("Sep2");
    return out;
}

#define FILES "Log Store Terminal "
#define DUAL_POWER "DualPower DualPower_ChannelA DualPower_ChannelB "
#define DUAL_ENERGY "DualEnergy DualEnergy_ChannelA DualEnergy_ChannelB "
#define RATIOS "DualPower_Ratio DualPower_Difference "

TEST(ModeMenu, enabledItemsFollowModelHeadsAndConnection) {
    // clang-format off
    const struct { int16_t model, headA, headB; bool connected; const char* enabled; const char* noteA = ""; } rows[] = {
        // Not connected: only stored PC files can be shown, whatever the model.
        {0, 1, 0, false, "Store"}, {2, 1, 1, false, "Store"}, {4, 1, 0, false, "Store"},
        // Single-channel meters: TALON, TALON2, SIRKA, Meridel one.
        {0, 1, 0, true, FILES "Power Energy"}, {3, 3, 0, true, FILES "Power"}, {8, 6, 0, true, FILES "Power"},
        {0, 0, 0, true, FILES}, {1, 0, 0, true, FILES}, {1, 2, 0, true, FILES "Power Energy"},
        {1, 5, 0, true, FILES "Power Energy RP RP_Absolute RP_Relative"},
        // KORVEN family: no device-file item; the support note disables the mode.
        {4, 1, 0, true, "Store Terminal Power"}, {7, 1, 0, true, "Store Terminal Power"},
        {5, 0, 0, true, "Store Terminal"}, {6, 2, 0, true, "Store Terminal Energy"},
        {4, 2, 0, true, "Store Terminal", "This KORVEN does not support pyroelectric head"},
        // Two-channel Meridel: ratios only for heads that pair (pyro kinds 2 and 4 for energy).
        {2, 1, 1, true, FILES DUAL_POWER RATIOS DUAL_ENERGY "DualEnergy_Ratio"},
        {2, 2, 4, true, FILES DUAL_POWER DUAL_ENERGY "DualEnergy_Ratio"},
        {2, 1, 2, true, FILES DUAL_POWER DUAL_ENERGY}, {2, 3, 3, true, FILES DUAL_POWER RATIOS}, {2, 0, 0, true, FILES},
        {2, 0, 1, true, FILES "DualPower DualPower_ChannelB DualEnergy DualEnergy_ChannelB"},
        {2, 1, 5, true, FILES DUAL_POWER RATIOS DUAL_ENERGY "RP_Dual RP_Absolute_B RP_Relative_B"},
    };
    // clang-format on
    for (const auto& r : rows)
        EXPECT_EQ(Of(r.model, r.headA, r.headB, r.connected, true, r.noteA), Items(r.enabled))
            << "model " << r.model << ", heads " << r.headA << " " << r.headB
            << (r.connected ? "" : " offline");
}

TEST(ModeMenu, eachModelShowsItsGroups) {
    // clang-format off
    const std::pair<int16_t, const char*> rows[] = {
        {0, FILES "Sep1 Sep2 Power Energy"}, {3, FILES "Sep1 Sep2 Power Energy"}, {8, FILES "Sep1 Sep2 Power Energy"},
        {1, FILES "Sep1 Sep2 Power Energy RP RP_Absolute RP_Relative"},
        {2, FILES "Sep1 Sep2 " DUAL_POWER RATIOS DUAL_ENERGY
                "DualEnergy_Ratio RP_Dual RP_Absolute_A RP_Relative_A RP_Absolute_B RP_Relative_B"},
        {4, "Sep1 Store Sep2 Terminal Power"}, {5, "Sep1 Store Sep2 Terminal Power"},
        {7, "Sep1 Store Sep2 Terminal Power"}, {6, "Sep1 Store Sep2 Terminal Energy"},
    };
    // clang-format on
    for (const auto& [model, visible] : rows)
        for (bool connected : {false, true})
            EXPECT_EQ(Of(model, 1, 1, connected, false), Items(visible))
                << "model " << model << " " << connected;
}

// Records the calls the switch makes on the windows and the main window.
class ModeSwitchTest : public ::testing::Test {
protected:
    void SetUp() override {
        FreshProgramState();
        ShellHooks& h = App().Shell;
        for (int16_t mode : {1, 2, 3, 5, 6, 7, 11, 12, 13}) {
            modes[size_t(mode)].RegisterAs(mode);
            modes[size_t(mode)].Entry = [this, mode](int op, QString&) {
                calls << QString("%1(%2) active=%3").arg(mode).arg(op).arg(App().ActiveMode);
            };
        }
        h.ConnectEnable = [this](bool e) { calls << (e ? "connect on" : "connect off"); };
        h.ClearNotes = [this] { calls << "clear notes"; };
        h.ProcessEvents = [this] {
            calls << QString("wait active=%1").arg(App().ActiveMode);
            Link().ReplyReceived = true;  // the reply arrives
        };
    }
    QStringList calls;
    std::array<RecordingMode, ModeRegistry::kCodes> modes;
};

TEST_F(ModeSwitchTest, leavesClearsNotesThenEntersAndWaitsOutAnOutstandingReply) {
    // clang-format off
    const struct { int16_t from, to; bool replied; QStringList calls; } rows[] = {
        {ModeTerminal, ModePcFile, true, {"1(1) active=1", "clear notes", "6(-1) active=6"}},
        // The same mode twice does nothing, but a second PC-file view closes the
        // viewer and loads anew, without touching Connect.
        {ModePower, ModePower, true, {}},
        {ModePcFile, ModePcFile, true, {"6(1) active=6", "clear notes", "6(-1) active=6"}},
        // The reply still outstanding is waited out with no mode active.
        {ModeTerminal, ModeNone, false, {"1(1) active=1", "clear notes", "wait active=0"}},
    };
    // clang-format on
    TestMeter().Connected = true;
    for (const auto& r : rows) {
        calls.clear();
        App().ActiveMode = r.from;
        Link().ReplyReceived = r.replied;
        SwitchMode(r.to);
        EXPECT_EQ(std::pair(calls, App().ActiveMode), std::pair(r.calls, r.to)) << r.from << " to " << r.to;
    }
}

// A mode that goes away takes only itself out of the registry.
TEST_F(ModeSwitchTest, aModeThatGoesAwayLeavesTheOthersFindable) {
    std::optional<RecordingMode> gone(std::in_place);
    gone->RegisterAs(ModeTerminal);
    gone.reset();
    EXPECT_EQ(Modes().Find(ModeTerminal), nullptr);
    EXPECT_EQ(Modes().Find(ModePower), &modes[ModePower]);
}

TEST_F(ModeSwitchTest, modeActionsSetCommandAndSkipWhatAlreadyRuns) {
    TestMeter().Channels[0].HeadType = HeadKind::RapidPulse;
    ModeMenuAction(mnuMode_Energy);
    EXPECT_EQ(std::tuple(App().ModeCommand, App().ActiveMode), std::tuple(QString("FE S"), ModeEnergy))
        << "rapid-pulse head on A";
    ModeMenuAction(mnuMode_RP_Relative);
    EXPECT_EQ(std::tuple(App().ModeCommand, App().ActiveMode, App().RapidPulseAbsolute),
              std::tuple(QString("FE R"), ModeRapidPulse, false));
    calls.clear();
    ModeMenuAction(mnuMode_RP_Relative);
    EXPECT_TRUE(calls.isEmpty()) << "relative rapid pulse already runs";
    ModeMenuAction(mnuMode_RP_Absolute);
    EXPECT_TRUE(App().RapidPulseAbsolute);
    EXPECT_EQ(calls.first(), "7(1) active=7") << "left before switching to absolute";
    TestMeter().CurrentChannel = 1;
    App().ActiveMode = ModeRapidPulse;
    App().RapidPulseAbsolute = false;
    calls.clear();
    ModeMenuAction(mnuMode_RP_Relative_A);
    EXPECT_FALSE(calls.isEmpty()) << "running on B: switches to A";
}

// The stamp before the extension is shown by the terminated program's recovery file.
TEST(RecoveryFileName, aNameWithoutExtensionTakesTheStampAtItsEnd) {
    EXPECT_EQ(RecoveryFileName("/run.d/kelvaro", "S"), "/run.d/kelvaro-S") << "no extension";
    EXPECT_EQ(RecoveryFileName("", "S"), "") << "a mode without working file";
}

// The status strip during a run: its time against the log time (whole
// seconds, never ahead of the run) and the readings taken.
TEST(RunStatus, elapsedAgainstTheLogTimeAndTheReadings) {
    const std::pair<RunProgress, const char*> cases[] = {
        // Active, Logging, Elapsed, LogTime, Readings
        {{true, true, 65.99, 300, 1234}, "Run 0:01:05 of 0:05:00, 1234 readings"},
        {{true, true, 0, 15, 1}, "Run 0:00:00 of 0:00:15, 1 reading"},
        // The reading that ends the run comes after the log time.
        {{true, true, 15.2, 15, 60}, "Run 0:00:15 of 0:00:15, 60 readings"},
        {{true, true, 2.5, 1, 2}, "Run 0:00:01 of 0:00:01, 2 readings"},
        {{true, false, 42, 300, 168}, "Stopped at 0:00:42 of 0:05:00, 168 readings"},
        {{false, false, 15.2, 15, 61}, "Run ended at 0:00:15 of 0:00:15, 61 readings"},
        {{false, false, 2.3 - 0.3, 2, 3}, "Run ended at 0:00:02 of 0:00:02, 3 readings"},  // 2.00 in the file
        {{true, true, 12.5, 0, 25}, "Run 0:00:12, 25 readings"},  // pulses: no set end
        {{false, false, 0, 300, 0}, ""},                          // after a Reset
        {{true, false, 0, 300, 0}, ""},  // started and stopped before the first reading
    };
    for (const auto& [progress, text] : cases) EXPECT_EQ(RunStatusText(progress), text) << text;
}

}  // namespace
