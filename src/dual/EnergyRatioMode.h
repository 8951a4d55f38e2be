#pragma once

class QMdiArea;
class EnergyRatioWindow;

// Creates the energy ratio window in the main window's area (hidden) and
// installs it as the window of mode 13, with its Save, Print and Unsaved.
EnergyRatioWindow* InstallEnergyRatioMode(QMdiArea* area);
