#pragma once

#include <cstdint>

class QMdiArea;
class PowerWindow;

// Creates the power window in `area` (hidden until power mode is entered)
// and installs its entry point and file operations in App().Shell:
// ModeEntry[ModePower] -> PowerLog, FileOps[ModePower] -> PauseGraph,
// PowerSave, PowerPrint. Returns the window (owned by the area).
PowerWindow* InstallPowerMode(QMdiArea* area);

// The same for any power-type window `w` and its ActiveMode code.
void InstallPowerWindow(QMdiArea* area, PowerWindow* w, int16_t mode);
