#pragma once

class EnergyWindow;

// Opens the stability window of the energy logging window: the figures of
// the pulses kept so far, refreshed once a second while the run goes on.
void ShowEnergyStability(EnergyWindow& window);
