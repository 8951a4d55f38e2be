#include "viewers/PowerViewLimits.h"

#include "data/Arithmetic.h"
#include "data/LimitBars.h"
#include "data/Units.h"
#include "state/AppState.h"
#include "viewers/PowerViewData.h"

#include <cmath>

namespace {

// e ends as the largest exponent with 10^e x value within lo..hi, counted up
// from `start` (the exponent stays at `start` - 1 when already out of range).
int FitExponent(double value, int start, double lo, double hi) {
    int e = start;
    if (value != 0) {
        while (true) {
            const double scaled = std::pow(10.0, e) * value;
            if (scaled < lo || scaled > hi) break;
            ++e;
        }
        --e;
    }
    return e;
}

// The first k of 0, 1, 2 that makes k + e a multiple of 3.
int16_t CoefficientFor(int e) {
    for (int16_t k = 0; k < 2; ++k)
        if (((k + e) % 3 + 3) % 3 == 0) return k;
    return 2;
}

// The limits widened to whole bar positions that hold them, and the first
// chart drawn over exactly what the bars show, as Apply would draw it.
void OnBars(ViewLimits& v, int minimum, int maximum) {
    const LimitBarPair bars = OutwardBars(v.Low, v.High, minimum, maximum);
    v.Low = bars.Low;
    v.High = bars.High;
}

}  // namespace

ViewLimits PowerLimitsAtLoad(double min, double max) {
    const float low = min <= 0 ? 0.0f : AsSingle(min);
    const float high = AsSingle(max);
    int e = 0;
    if (high >= kLimitBarMax)
        while (std::pow(10.0, e) * high > kLimitBarMax) --e;
    if (high != 0) e = FitExponent(high, e, 0, kLimitBarMax);
    ViewLimits v;
    const double scale = std::pow(10.0, e);
    v.ScaleExponent = CoefficientFor(e);
    v.UnitIndex = int16_t(IndexPowerLabel(std::pow(10.0, -(v.ScaleExponent + e))));
    // Low on the High bar's unit and scale: within 0..999 since it is not
    // above the maximum.
    v.Low = low * scale;
    v.High = MaxOf(1.0, high * scale);
    OnBars(v, 0, kLimitBarMax);
    PowerRangeOf(v.Low, v.High, v.ScaleExponent, UnitScale::PowerFactors[size_t(v.UnitIndex)], v.YMin,
                 v.YMax);
    return v;
}

ViewLimits DifferenceLimitsAtLoad(double min, double max) {
    const double big = MaxOf(std::fabs(min), std::fabs(max));
    const double small = MinOf(std::fabs(min), std::fabs(max));
    const int u = IndexPowerLabel(big);
    const double factor = UnitScale::PowerFactors[size_t(u)];
    // Both magnitudes in the unit of the larger one (a value times the factor
    // is the value in that unit).
    float bigS = AsSingle(big * factor);
    float smallS = AsSingle(small * factor);
    const int e = FitExponent(bigS, 0, kDifferenceBarMin, kLimitBarMax);
    bigS *= float(std::pow(10.0, e));
    smallS *= float(std::pow(10.0, e));
    const int bigE = e + int(std::lround(Log10(factor)));
    ViewLimits v;
    v.ScaleExponent = CoefficientFor(bigE);
    v.UnitIndex = int16_t(IndexPowerLabel(std::pow(10.0, -(v.ScaleExponent + bigE))));
    const bool minIsBig = std::fabs(min) >= std::fabs(max);
    v.Low = (min < 0 ? -1.0 : 1.0) * (minIsBig ? bigS : smallS);
    v.High = (max < 0 ? -1.0 : 1.0) * (minIsBig ? smallS : bigS);
    OnBars(v, kDifferenceBarMin, kLimitBarMax);
    PowerRangeOf(v.Low, v.High, v.ScaleExponent, UnitScale::PowerFactors[size_t(v.UnitIndex)], v.YMin,
                 v.YMax);
    return v;
}

ViewLimits RatioLimitsAtLoad(double min, double max) {
    const int eMax = DecadeExponent(max);
    const int eMin = DecadeExponent(min);
    double low = 0;
    const double high = max;
    if (min > 0) low = eMin == eMax ? min : min / std::pow(10.0, eMax - eMin);
    const int e = FitExponent(high, kExponentMin, 0, kRatioBarMax);
    const double scale = std::pow(10.0, e);
    ViewLimits v;
    // A bar value v stands for v x 10^-e: the decade of the maximum, except
    // when the maximum is a power of ten itself (1.0 shows as 10 x 10^-1).
    v.ViewExponent = int16_t(high != 0 ? -e : eMax);
    v.Low = low * scale;
    v.High = MaxOf(1.0, high * scale);
    OnBars(v, 0, kRatioBarMax);
    RatioRangeOf(v.Low, v.High, v.ViewExponent, v.YMin, v.YMax);
    return v;
}

void PowerRangeOf(double low, double high, int16_t scaleExponent, double unitFactor, float& yMin,
                  float& yMax) {
    yMin = AsSingle(LimitInBaseUnit(low, scaleExponent, unitFactor));
    yMax = AsSingle(LimitInBaseUnit(high, scaleExponent, unitFactor));
}

void RatioRangeOf(double low, double high, int16_t viewExponent, float& yMin, float& yMax) {
    const double scale = std::pow(10.0, viewExponent);
    yMin = AsSingle(scale * low);
    yMax = AsSingle(scale * high);
}
