#pragma once

#include "app/ModeMenu.h"

#include <cstdint>

// Leaves the active mode and enters `newMode` (0 leaves without entering).
// False when the user kept the active mode at its save reminder: nothing
// changed.
bool SwitchMode(int16_t newMode);

// The active mode's save reminder, asked before it is left; false when the
// user keeps it.
bool MayLeaveActiveMode();

// The mode a Mode-menu item starts (0 for submenus and separators).
int16_t ModeOfItem(ModeMenuItem item);

// What choosing a Mode-menu item does: channel selection first where the
// item names a channel, then the switch with the item's measurement command.
void ModeMenuAction(ModeMenuItem item);
