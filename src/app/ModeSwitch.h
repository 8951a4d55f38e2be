#pragma once

#include "app/ModeMenu.h"

#include <cstdint>

// Leaves the active mode and enters `newMode` (0 leaves without entering).
void SwitchMode(int16_t newMode);

// The mode a Mode-menu item starts (0 for submenus and separators).
int16_t ModeOfItem(ModeMenuItem item);

// What choosing a Mode-menu item does: channel selection first where the
// item names a channel, then the switch with the item's measurement command.
void ModeMenuAction(ModeMenuItem item);
