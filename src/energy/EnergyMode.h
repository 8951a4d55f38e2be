#pragma once

class QMdiArea;
class EnergyWindow;

// Creates the energy window in `area` (hidden until energy or rapid-pulse
// mode is entered). Returns the window (owned by the area); its Engine is
// the mode to register for both.
EnergyWindow* InstallEnergyMode(QMdiArea* area);
