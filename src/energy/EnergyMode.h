#pragma once

class QMdiArea;
class EnergyWindow;

// Creates the energy window in `area` (hidden until energy or rapid-pulse
// mode is entered) and installs it in App().Shell for both modes: the entry
// point (op -1 StartEnergy, 0 a reply, 1 leave) and the file operations
// EnergySave and EnergyPrint. Returns the window (owned by the area).
EnergyWindow* InstallEnergyMode(QMdiArea* area);
