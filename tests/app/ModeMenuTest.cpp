#include "app/ModeMenu.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

using Names = std::set<std::string>;

struct Case {
    const char* what;
    int16_t model;
    int16_t headA, headB;
    const char* noteA;
    bool connected;
    Names enabled;  // every other item is disabled (separators aside)
};

Names EnabledOf(const ModeMenuState& s) {
    Names out;
    for (int i = 0; i < ModeMenuItemCount; ++i) {
        auto item = static_cast<ModeMenuItem>(i);
        if (item == mnuMode_Sep1 || item == mnuMode_Sep2) continue;
        if (s[i].visible && s[i].enabled) out.insert(ModeMenuItemName(item));
    }
    return out;
}

Names VisibleOf(const ModeMenuState& s) {
    Names out;
    for (int i = 0; i < ModeMenuItemCount; ++i)
        if (s[i].visible) out.insert(ModeMenuItemName(static_cast<ModeMenuItem>(i)));
    return out;
}

std::array<ChannelInfo, 3> Heads(int16_t a, int16_t b, const char* noteA = "") {
    std::array<ChannelInfo, 3> ch{};
    ch[0].HeadType = a;
    ch[1].HeadType = b;
    ch[0].SupportNote = noteA;
    return ch;
}

const Names kFileItems = {"mnuMode_Log", "mnuMode_Store", "mnuMode_Terminal"};

Names With(Names base, std::initializer_list<const char*> more) {
    for (auto m : more) base.insert(m);
    return base;
}

class ModeMenuEnabled : public ::testing::TestWithParam<Case> {};

TEST_P(ModeMenuEnabled, followsModelHeadsAndConnection) {
    const Case& c = GetParam();
    auto s = ComputeModeMenu(c.model, Heads(c.headA, c.headB, c.noteA), c.connected);
    EXPECT_EQ(EnabledOf(s), c.enabled) << c.what;
}

const Case kCases[] = {
    // Not connected: only stored PC files can be shown, whatever the model.
    {"talon offline", 0, 1, 0, "", false, {"mnuMode_Store"}},
    {"dual offline", 2, 1, 1, "", false, {"mnuMode_Store"}},
    {"korven offline", 4, 1, 0, "", false, {"mnuMode_Store"}},
    // Single-channel meters.
    {"talon thermopile", 0, 1, 0, "", true, With(kFileItems, {"mnuMode_Power", "mnuMode_Energy"})},
    {"talon2 photodiode", 3, 3, 0, "", true, With(kFileItems, {"mnuMode_Power"})},
    {"sirka photometer", 8, 6, 0, "", true, With(kFileItems, {"mnuMode_Power"})},
    {"talon no head", 0, 0, 0, "", true, kFileItems},
    {"meridel one channel rapid pulse", 1, 5, 0, "", true,
     With(kFileItems,
          {"mnuMode_Power", "mnuMode_Energy", "mnuMode_RP", "mnuMode_RP_Absolute", "mnuMode_RP_Relative"})},
    {"meridel one channel pyro", 1, 2, 0, "", true, With(kFileItems, {"mnuMode_Power", "mnuMode_Energy"})},
    {"meridel one channel no head", 1, 0, 0, "", true, kFileItems},
    // KORVEN family: no device-file item; the support note disables the mode.
    {"korven-th thermopile", 4, 1, 0, "", true, {"mnuMode_Store", "mnuMode_Terminal", "mnuMode_Power"}},
    {"korven-th pyro unsupported",
     4,
     2,
     0,
     "This KORVEN does not support pyroelectric head",
     true,
     {"mnuMode_Store", "mnuMode_Terminal"}},
    {"korven-pd no head", 5, 0, 0, "", true, {"mnuMode_Store", "mnuMode_Terminal"}},
    {"korven-pe pyro", 6, 2, 0, "", true, {"mnuMode_Store", "mnuMode_Terminal", "mnuMode_Energy"}},
    {"korven-qx450 thermopile", 7, 1, 0, "", true, {"mnuMode_Store", "mnuMode_Terminal", "mnuMode_Power"}},
    // Two-channel Meridel.
    {"dual two thermopiles", 2, 1, 1, "", true,
     With(kFileItems,
          {"mnuMode_DualPower", "mnuMode_DualPower_ChannelA", "mnuMode_DualPower_ChannelB",
           "mnuMode_DualPower_Ratio", "mnuMode_DualPower_Difference", "mnuMode_DualEnergy",
           "mnuMode_DualEnergy_ChannelA", "mnuMode_DualEnergy_ChannelB", "mnuMode_DualEnergy_Ratio"})},
    {"dual pyro kinds 2 and 4 pair for energy ratio", 2, 2, 4, "", true,
     With(kFileItems, {"mnuMode_DualPower", "mnuMode_DualPower_ChannelA", "mnuMode_DualPower_ChannelB",
                       "mnuMode_DualEnergy", "mnuMode_DualEnergy_ChannelA", "mnuMode_DualEnergy_ChannelB",
                       "mnuMode_DualEnergy_Ratio"})},
    {"dual thermopile and pyro: no ratios", 2, 1, 2, "", true,
     With(kFileItems, {"mnuMode_DualPower", "mnuMode_DualPower_ChannelA", "mnuMode_DualPower_ChannelB",
                       "mnuMode_DualEnergy", "mnuMode_DualEnergy_ChannelA", "mnuMode_DualEnergy_ChannelB"})},
    {"dual head on B only", 2, 0, 1, "", true,
     With(kFileItems, {"mnuMode_DualPower", "mnuMode_DualPower_ChannelB", "mnuMode_DualEnergy",
                       "mnuMode_DualEnergy_ChannelB"})},
    {"dual photodiodes: power only", 2, 3, 3, "", true,
     With(kFileItems, {"mnuMode_DualPower", "mnuMode_DualPower_ChannelA", "mnuMode_DualPower_ChannelB",
                       "mnuMode_DualPower_Ratio", "mnuMode_DualPower_Difference"})},
    {"dual rapid pulse on B", 2, 1, 5, "", true,
     With(kFileItems, {"mnuMode_DualPower", "mnuMode_DualPower_ChannelA", "mnuMode_DualPower_ChannelB",
                       "mnuMode_DualPower_Ratio", "mnuMode_DualPower_Difference", "mnuMode_DualEnergy",
                       "mnuMode_DualEnergy_ChannelA", "mnuMode_DualEnergy_ChannelB", "mnuMode_RP_Dual",
                       "mnuMode_RP_Absolute_B", "mnuMode_RP_Relative_B"})},
    {"dual no heads", 2, 0, 0, "", true, kFileItems},
};

INSTANTIATE_TEST_SUITE_P(AllModels, ModeMenuEnabled, ::testing::ValuesIn(kCases));

TEST(ModeMenuVisible, showsTheGroupsOfEachModel) {
    struct V {
        int16_t model;
        Names visible;
    };
    const Names single = {"mnuMode_Power", "mnuMode_Energy", "mnuMode_Sep1",    "mnuMode_Log",
                          "mnuMode_Store", "mnuMode_Sep2",   "mnuMode_Terminal"};
    const V cases[] = {
        {0, single},
        {3, single},
        {8, single},
        {1, With(single, {"mnuMode_RP", "mnuMode_RP_Absolute", "mnuMode_RP_Relative"})},
        {2,
         {"mnuMode_DualPower", "mnuMode_DualPower_ChannelA", "mnuMode_DualPower_ChannelB",
          "mnuMode_DualPower_Ratio", "mnuMode_DualPower_Difference", "mnuMode_DualEnergy",
          "mnuMode_DualEnergy_ChannelA", "mnuMode_DualEnergy_ChannelB", "mnuMode_DualEnergy_Ratio",
          "mnuMode_RP_Dual", "mnuMode_RP_Absolute_A", "mnuMode_RP_Relative_A", "mnuMode_RP_Absolute_B",
          "mnuMode_RP_Relative_B", "mnuMode_Sep1", "mnuMode_Log", "mnuMode_Store", "mnuMode_Sep2",
          "mnuMode_Terminal"}},
        {4, {"mnuMode_Power", "mnuMode_Sep1", "mnuMode_Store", "mnuMode_Sep2", "mnuMode_Terminal"}},
        {5, {"mnuMode_Power", "mnuMode_Sep1", "mnuMode_Store", "mnuMode_Sep2", "mnuMode_Terminal"}},
        {7, {"mnuMode_Power", "mnuMode_Sep1", "mnuMode_Store", "mnuMode_Sep2", "mnuMode_Terminal"}},
        {6, {"mnuMode_Energy", "mnuMode_Sep1", "mnuMode_Store", "mnuMode_Sep2", "mnuMode_Terminal"}},
    };
    for (const V& v : cases)
        for (bool connected : {false, true})
            EXPECT_EQ(VisibleOf(ComputeModeMenu(v.model, Heads(1, 1), connected)), v.visible)
                << "model " << v.model << (connected ? " connected" : " offline");
}

}  // namespace
