#pragma once

class QMdiArea;

// Registers the viewers of energy data (EnergyViewer, EnergyRatioViewer): each
// window is made in the area on first use, hidden until it shows data.
void InstallEnergyViewers(QMdiArea* area);
