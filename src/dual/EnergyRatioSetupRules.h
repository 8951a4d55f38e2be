#pragma once

#include "energy/EnergySetupRules.h"
#include "state/AppState.h"

#include <cstdint>

// The arithmetic of the energy ratio setup: the energy limits and storage
// choices exactly as the energy histogram setup has them, ratio limits as
// a whole number 0..10 on a bar times a common decade 10^-15 .. 10^15, the
// grid style from two check boxes and the display style.

inline constexpr int kRatioBarMax = 10;
inline constexpr int kRatioExponentMax = 15;

struct EnergyRatioChoices {
    EnergyChoices Energy;  // energy limits, storage, time stamp, statistics
    int LowRatio = 0;      // bar values
    int HighRatio = 1;
    int16_t Exponent = 0;
    int16_t GridStyle = 3;     // 1 horizontal, 2 vertical, 3 both
    int16_t DisplayStyle = 2;  // 1 numeric, 2 graphic
};

// The choices the dialog opens with: each ratio limit as the stored one
// over 10^exponent, the energy limits as the energy setup shows them.
EnergyRatioChoices EnergyRatioChoicesOf(const EnergyRatioSettings& s, const EnergyFactors& factors);

// The High ratio bar once moved to `bar`: at least 1.
int RatioHighAfterMove(int bar);

// 1 x horizontal + 2 x vertical.
int16_t GridStyleOf(bool horizontal, bool vertical);

// OK: the settings from the choices and the four limit bars; crossed limits
// keep the high one and put the low one a unit below it; ratio limits are
// the bar values times 10^exponent, energy limits in joules.
void StoreEnergyRatioChoices(const EnergyRatioChoices& c, int leftBar, int rightBar, int lowRatioBar,
                             int highRatioBar, const EnergyFactors& factors, EnergyRatioSettings& s);
