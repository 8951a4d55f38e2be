#pragma once

class EnergyRatioWindow;

// Opens the stability window of the energy ratio logging window: the figures
// of the ratio (direction and factor shown) of the pairs kept so far,
// refreshed once a second while the run goes on.
void ShowEnergyRatioStability(EnergyRatioWindow& window);
