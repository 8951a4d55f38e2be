#pragma once

class PowerWindow;

// Opens the stability window of a power-type logging window: the figures of
// the run so far (the points of the chart store), refreshed once a second
// while the run goes on.
void ShowPowerStability(PowerWindow& window);
