#pragma once

class QMdiArea;
class EnergyRatioWindow;

// Creates the energy ratio window in the main window's area (hidden); its
// Engine is the mode to register.
EnergyRatioWindow* InstallEnergyRatioMode(QMdiArea* area);
