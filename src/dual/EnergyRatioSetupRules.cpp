#include "dual/EnergyRatioSetupRules.h"

#include "data/LimitBars.h"

#include <algorithm>
#include <cmath>

namespace {

// The ratio settings' energy and storage fields in the energy setup's record,
// so that both setups run through the same rules.
EnergySettings AsEnergySettings(const EnergyRatioSettings& s) {
    EnergySettings e;
    e.EnergyLowLimit = s.RatioEnergyLow;
    e.EnergyHighLimit = s.RatioEnergyHigh;
    e.EnergyScaleIndex = s.RatioEnergyScaleIndex;
    e.EnergyStorageMode = s.RatioStorageMode;
    e.EnergyStorageRate = s.RatioStorageRate;
    e.EnergyStorageStyle = s.RatioStorageStyle;
    e.EnergyTimeStamp = s.RatioTimeStamp;
    e.EnergyStatistics = s.RatioStatistics;
    return e;
}

int RatioBar(double limit, int16_t exponent) {
    const double v = std::nearbyint(limit / std::pow(10.0, exponent));
    return std::isnan(v) ? 0 : int(std::clamp(v, 0.0, double(kRatioBarMax)));
}

}  // namespace

EnergyRatioChoices EnergyRatioChoicesOf(const EnergyRatioSettings& s, const EnergyFactors& factors) {
    EnergyRatioChoices c;
    c.Energy = ChoicesOf(AsEnergySettings(s), factors);
    c.Exponent = std::clamp<int16_t>(s.RatioLimitExponent, -kRatioExponentMax, kRatioExponentMax);
    c.LowRatio = RatioBar(s.RatioLowLimit, c.Exponent);
    c.HighRatio = RatioBar(s.RatioHighLimit, c.Exponent);
    c.GridStyle = int16_t(s.RatioGridStyle & 3);
    c.DisplayStyle = s.RatioDisplayStyle == 1 ? 1 : 2;
    return c;
}

int RatioHighAfterMove(int bar) {
    return std::max(bar, 1);
}

int16_t GridStyleOf(bool horizontal, bool vertical) {
    return int16_t((horizontal ? 1 : 0) + (vertical ? 2 : 0));
}

void StoreEnergyRatioChoices(const EnergyRatioChoices& c, int leftBar, int rightBar, int lowRatioBar,
                             int highRatioBar, const EnergyFactors& factors, EnergyRatioSettings& s) {
    EnergySettings e = AsEnergySettings(s);
    StoreChoices(c.Energy, leftBar, rightBar, factors, e);
    s.RatioEnergyLow = e.EnergyLowLimit;
    s.RatioEnergyHigh = e.EnergyHighLimit;
    s.RatioEnergyScaleIndex = e.EnergyScaleIndex;
    s.RatioEnergyUnits = c.Energy.UnitIndex;
    s.RatioStorageMode = e.EnergyStorageMode;
    s.RatioStorageRate = e.EnergyStorageRate;
    s.RatioStorageStyle = e.EnergyStorageStyle;
    s.RatioTimeStamp = e.EnergyTimeStamp;
    s.RatioStatistics = e.EnergyStatistics;
    const LimitBarPair ratio = OrderLimitBars(lowRatioBar, highRatioBar);
    const double decade = std::pow(10.0, c.Exponent);
    s.RatioLowLimit = ratio.Low * decade;
    s.RatioHighLimit = ratio.High * decade;
    s.RatioLimitExponent = c.Exponent;
    s.RatioGridStyle = c.GridStyle;
    s.RatioDisplayStyle = c.DisplayStyle;
}
