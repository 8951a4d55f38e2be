#include "app/ModeMenu.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <set>
#include <string>

namespace {

using Names = std::set<std::string>;

// "Power Energy" -> {"mnuMode_Power", "mnuMode_Energy"}
Names Items(const QString& list) {
    Names out;
    for (const QString& n : list.split(' ', Qt::SkipEmptyParts)) out.insert("mnuMode_" + n.toStdString());
    return out;
}

// Items by model, heads and connection.
Names Of(const ModeMenuState& s, bool enabledOnly) {
    Names out;
    for (int i = 0; i < ModeMenuItemCount; ++i) {
        const auto item = static_cast<ModeMenuItem>(i);
        if (enabledOnly && (item == mnuMode_Sep1 || item == mnuMode_Sep2)) continue;
        if (s[i].visible && (s[i].enabled || !enabledOnly)) out.insert(ModeMenuItemName(item));
    }
    return out;
}

std::array<ChannelInfo, 3> Heads(int16_t a, int16_t b, const char* noteA = "") {
    std::array<ChannelInfo, 3> ch{};
    ch[0].HeadType = a;
    ch[1].HeadType = b;
    ch[0].SupportNote = noteA;
    return ch;
}

#define FILES "Log Store Terminal "
#define DUAL_POWER "DualPower DualPower_ChannelA DualPower_ChannelB "
#define DUAL_ENERGY "DualEnergy DualEnergy_ChannelA DualEnergy_ChannelB "

struct Case {
    const char* what;
    int16_t model, headA, headB;
    const char* noteA;
    bool connected;
    const char* enabled;  // every other item is disabled (separators aside)
};

const Case kCases[] = {
    // Not connected: only stored PC files can be shown, whatever the model.
    {"talon offline", 0, 1, 0, "", false, "Store"},
    {"dual offline", 2, 1, 1, "", false, "Store"},
    {"korven offline", 4, 1, 0, "", false, "Store"},
    // Single-channel meters.
    {"talon thermopile", 0, 1, 0, "", true, FILES "Power Energy"},
    {"talon2 photodiode", 3, 3, 0, "", true, FILES "Power"},
    {"sirka photometer", 8, 6, 0, "", true, FILES "Power"},
    {"talon no head", 0, 0, 0, "", true, FILES},
    {"meridel one rapid pulse", 1, 5, 0, "", true, FILES "Power Energy RP RP_Absolute RP_Relative"},
    {"meridel one pyro", 1, 2, 0, "", true, FILES "Power Energy"},
    {"meridel one no head", 1, 0, 0, "", true, FILES},
    // KORVEN family: no device-file item; the support note disables the mode.
    {"korven-th thermopile", 4, 1, 0, "", true, "Store Terminal Power"},
    {"korven-th pyro unsupported", 4, 2, 0, "This KORVEN does not support pyroelectric head", true,
     "Store Terminal"},
    {"korven-pd no head", 5, 0, 0, "", true, "Store Terminal"},
    {"korven-pe pyro", 6, 2, 0, "", true, "Store Terminal Energy"},
    {"korven-qx450 thermopile", 7, 1, 0, "", true, "Store Terminal Power"},
    // Two-channel Meridel.
    {"dual two thermopiles", 2, 1, 1, "", true,
     FILES DUAL_POWER "DualPower_Ratio DualPower_Difference " DUAL_ENERGY "DualEnergy_Ratio"},
    {"dual pyro kinds 2 and 4 pair for energy ratio", 2, 2, 4, "", true,
     FILES DUAL_POWER DUAL_ENERGY "DualEnergy_Ratio"},
    {"dual thermopile and pyro: no ratios", 2, 1, 2, "", true, FILES DUAL_POWER DUAL_ENERGY},
    {"dual head on B only", 2, 0, 1, "", true,
     FILES "DualPower DualPower_ChannelB DualEnergy DualEnergy_ChannelB"},
    {"dual photodiodes: power only", 2, 3, 3, "", true,
     FILES DUAL_POWER "DualPower_Ratio DualPower_Difference"},
    {"dual rapid pulse on B", 2, 1, 5, "", true,
     FILES DUAL_POWER "DualPower_Ratio DualPower_Difference " DUAL_ENERGY
                      "RP_Dual RP_Absolute_B RP_Relative_B"},
    {"dual no heads", 2, 0, 0, "", true, FILES},
};

class ModeMenuEnabled : public ::testing::TestWithParam<Case> {};

TEST_P(ModeMenuEnabled, followsModelHeadsAndConnection) {
    const Case& c = GetParam();
    EXPECT_EQ(Of(ComputeModeMenu(c.model, Heads(c.headA, c.headB, c.noteA), c.connected), true),
              Items(c.enabled))
        << c.what;
}

INSTANTIATE_TEST_SUITE_P(AllModels, ModeMenuEnabled, ::testing::ValuesIn(kCases));

TEST(ModeMenuVisible, showsTheGroupsOfEachModel) {
    const QString files = "Sep1 Log Store Sep2 Terminal ";
    const QString korven = "Sep1 Store Sep2 Terminal ";
    const std::pair<int16_t, QString> cases[] = {
        {0, files + "Power Energy"},
        {3, files + "Power Energy"},
        {8, files + "Power Energy"},
        {1, files + "Power Energy RP RP_Absolute RP_Relative"},
        {2, files + DUAL_POWER
                "DualPower_Ratio DualPower_Difference " DUAL_ENERGY
                "DualEnergy_Ratio RP_Dual RP_Absolute_A RP_Relative_A RP_Absolute_B RP_Relative_B"},
        {4, korven + "Power"},
        {5, korven + "Power"},
        {7, korven + "Power"},
        {6, korven + "Energy"},
    };
    for (const auto& [model, visible] : cases)
        for (bool connected : {false, true})
            EXPECT_EQ(Of(ComputeModeMenu(model, Heads(1, 1), connected), false), Items(visible))
                << "model " << model << (connected ? " connected" : " offline");
}

}  // namespace
