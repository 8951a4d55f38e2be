#pragma once

#include <cstdint>

class QMdiArea;
class PowerWindow;

// Creates the power window in `area` (hidden until power mode is entered).
// Returns the window (owned by the area); its Engine is the mode to register.
PowerWindow* InstallPowerMode(QMdiArea* area);

// Places any power-type window `w` in `area`, hidden.
void InstallPowerWindow(QMdiArea* area, PowerWindow* w);
