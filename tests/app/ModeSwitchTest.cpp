#include "app/ModeSwitch.h"
#include "app/Recovery.h"
#include "link/LinkState.h"
#include "state/AppState.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace {

// Records the calls the switch makes on the windows and the main window.
class ModeSwitchTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetAppState();
        ResetLinkState();
        ShellHooks& h = App().Shell;
        for (int mode : {1, 2, 3, 5, 6, 7, 11, 12, 13})
            h.ModeEntry[mode] = [this, mode](int op, QString&) {
                calls << QString("%1(%2) active=%3").arg(mode).arg(op).arg(App().ActiveMode);
            };
        h.ConnectEnable = [this](bool e) { calls << (e ? "connect on" : "connect off"); };
        h.ClearNotes = [this] { calls << "clear notes"; };
        h.ProcessEvents = [this] {
            calls << QString("wait active=%1").arg(App().ActiveMode);
            Link().ReplyReceived = true;  // the reply arrives
        };
    }
    QStringList calls;
};

TEST_F(ModeSwitchTest, leavesClearsNotesThenEnters) {
    App().ActiveMode = ModeTerminal;
    SwitchMode(ModePcFile);
    EXPECT_EQ(calls, (QStringList{"1(1) active=1", "connect on", "clear notes", "6(-1) active=6"}));
    EXPECT_EQ(App().ActiveMode, ModePcFile);
}

TEST_F(ModeSwitchTest, sameModeTwiceDoesNothingExceptForFileViews) {
    App().ActiveMode = ModePower;
    SwitchMode(ModePower);
    EXPECT_TRUE(calls.isEmpty());

    App().ActiveMode = ModePcFile;
    SwitchMode(ModePcFile);
    EXPECT_EQ(calls, (QStringList{"6(1) active=6", "clear notes", "6(-1) active=6"}))
        << "a second Show PC-File closes the viewer and loads anew, without touching Connect";
}

TEST_F(ModeSwitchTest, outstandingReplyIsWaitedOutWithNoModeActive) {
    App().Connected = true;
    App().ActiveMode = ModeTerminal;
    Link().ReplyReceived = false;
    SwitchMode(ModeNone);
    EXPECT_EQ(calls, (QStringList{"1(1) active=1", "connect on", "clear notes", "wait active=0"}));
    EXPECT_EQ(App().ActiveMode, ModeNone);
}

TEST_F(ModeSwitchTest, modeActionsSetCommandAndSkipWhatAlreadyRuns) {
    App().Channels[0].HeadType = 5;
    ModeMenuAction(mnuMode_Energy);
    EXPECT_EQ(App().ModeCommand, "FE S") << "rapid-pulse head on A";
    EXPECT_EQ(App().ActiveMode, ModeEnergy);

    ModeMenuAction(mnuMode_RP_Relative);
    EXPECT_EQ(App().ModeCommand, "FE R");
    EXPECT_FALSE(App().RapidPulseAbsolute);
    EXPECT_EQ(App().ActiveMode, ModeRapidPulse);

    calls.clear();
    ModeMenuAction(mnuMode_RP_Relative);
    EXPECT_TRUE(calls.isEmpty()) << "relative rapid pulse already runs";

    ModeMenuAction(mnuMode_RP_Absolute);
    EXPECT_TRUE(App().RapidPulseAbsolute);
    EXPECT_EQ(calls.first(), "7(1) active=7") << "left before switching to absolute";

    App().CurrentChannel = 1;
    App().ActiveMode = ModeRapidPulse;
    App().RapidPulseAbsolute = false;
    calls.clear();
    ModeMenuAction(mnuMode_RP_Relative_A);
    EXPECT_FALSE(calls.isEmpty()) << "running on B: switches to A";
}

TEST(RecoveryFileName, putsTheStampBeforeTheExtensionOfTheWorkingFile) {
    EXPECT_EQ(RecoveryFileName("/run.d/kelvaro.pwr", "2026-12-06-231500"),
              "/run.d/kelvaro-2026-12-06-231500.pwr");
    EXPECT_EQ(RecoveryFileName("/run.d/kelvaro", "S"), "/run.d/kelvaro-S") << "no extension";
    EXPECT_EQ(RecoveryFileName("", "S"), "") << "a mode without working file";
}

}  // namespace
