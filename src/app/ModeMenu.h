#pragma once

#include "link/MeterIdentity.h"

#include <array>

// Which Mode-menu items are shown and which are enabled follows from the
// model, the heads found and the connection alone; the main window applies
// the result to its menu.
enum ModeMenuItem : int {
    mnuMode_DualPower,
    mnuMode_DualPower_ChannelA,
    mnuMode_DualPower_ChannelB,
    mnuMode_DualPower_Ratio,
    mnuMode_DualPower_Difference,
    mnuMode_Power,
    mnuMode_DualEnergy,
    mnuMode_DualEnergy_ChannelA,
    mnuMode_DualEnergy_ChannelB,
    mnuMode_DualEnergy_Ratio,
    mnuMode_Energy,
    mnuMode_RP_Dual,
    mnuMode_RP_Absolute_A,
    mnuMode_RP_Relative_A,
    mnuMode_RP_Absolute_B,
    mnuMode_RP_Relative_B,
    mnuMode_RP,
    mnuMode_RP_Absolute,
    mnuMode_RP_Relative,
    mnuMode_Sep1,  // after the logging items
    mnuMode_Log,
    mnuMode_Store,
    mnuMode_Sep2,  // after the file items
    mnuMode_Terminal,
    ModeMenuItemCount
};

struct ModeMenuItemState {
    bool visible = false;
    bool enabled = false;
};

using ModeMenuState = std::array<ModeMenuItemState, ModeMenuItemCount>;

ModeMenuState ComputeModeMenu(MeterModel deviceType, const std::array<ChannelInfo, 3>& channels,
                              bool connected);

// The object name of an item ("mnuMode_Power", ...), as the menu actions carry it.
const char* ModeMenuItemName(ModeMenuItem item);
