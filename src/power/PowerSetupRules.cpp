#include "power/PowerSetupRules.h"

#include "data/Units.h"

#include <algorithm>
#include <cmath>

double ScaleOf(int16_t exponent) {
    static const double scales[] = {1, 10, 100};
    return scales[std::clamp<int16_t>(exponent, 0, kMaxScaleExponent)];
}

double LimitInBaseUnit(double value, int16_t exponent, double unitFactor) {
    return value * ScaleOf(exponent) / unitFactor;
}

int BarFromValue(double value) {
    if (!std::isfinite(value)) return value > 0 ? kLimitBarMax : 0;
    // nearbyint rounds halves to even, as whole-number controls always did.
    const double whole = std::nearbyint(std::clamp(value, 0.0, double(kLimitBarMax)));
    return int(whole);
}

static bool OverCeiling(double barValue, int16_t exponent, double unitFactor) {
    return LimitInBaseUnit(barValue, exponent, unitFactor) > kPowerCeiling;
}

double HighAfterMove(int bar, double lowValue, int16_t exponent, double unitFactor) {
    if (OverCeiling(bar, exponent, unitFactor)) return unitFactor * kPowerCeiling / ScaleOf(exponent);
    return std::max(lowValue + 1, double(bar));
}

int16_t FitUnit(int16_t unit, int highBar, int16_t exponent, const UnitFactors& factors) {
    unit = std::clamp<int16_t>(unit, 0, kListedPowerUnits - 1);
    // Below W no bar position can pass 30 kW; step down until it fits.
    while (unit > 3 && OverCeiling(highBar, exponent, factors[unit])) --unit;
    return unit;
}

int16_t FitCoefficient(int16_t exponent, int highBar, double unitFactor) {
    exponent = std::clamp<int16_t>(exponent, 0, kMaxScaleExponent);
    while (exponent > 0 && OverCeiling(highBar, exponent, unitFactor)) --exponent;
    return exponent;
}

LimitView ViewOfLimits(double graphLow, double graphHigh, int16_t exponent, const UnitFactors& factors) {
    LimitView v;
    const double scale = ScaleOf(exponent);
    // The list stops at kW; a larger stored limit shows at the top of the bar.
    v.UnitIndex = int16_t(std::clamp(IndexPowerLabel(graphHigh / scale), 0, kListedPowerUnits - 1));
    const double factor = factors[v.UnitIndex];
    v.LowValue = graphLow / scale * factor;
    v.HighValue = graphHigh / scale * factor;
    v.LowBar = BarFromValue(v.LowValue);
    v.HighBar = BarFromValue(v.HighValue);
    return v;
}

ConfirmedLimits ConfirmLimits(int lowBar, int highBar, int16_t exponent) {
    ConfirmedLimits c{double(lowBar), double(highBar), exponent};
    if (c.HighValue <= c.LowValue) {
        c.LowValue = c.HighValue - 1;
        if (c.LowValue < 0) {
            c.LowValue = 0;
            c.HighValue = c.LowValue + 1;
        }
    } else if (c.HighValue < 1 && c.ScaleExponent > 0) {
        // A finer coefficient keeps both limits where they were.
        --c.ScaleExponent;
        c.HighValue *= 10;
        c.LowValue *= 10;
    }
    return c;
}

LogTimeParts SplitLogTime(int32_t logTime) {
    logTime = std::clamp<int32_t>(logTime, 0, kMaxLogHours * 3600);
    LogTimeParts p;
    p.Hours = int16_t(logTime / 3600);
    p.Minutes = int16_t((logTime - p.Hours * 3600) / 60);
    p.Seconds = int16_t(logTime - p.Hours * 3600 - p.Minutes * 60);
    return p;
}

int32_t JoinLogTime(const LogTimeParts& parts) {
    if (parts.Hours >= kMaxLogHours) return kMaxLogHours * 3600;
    return int32_t(parts.Hours) * 3600 + int32_t(parts.Minutes) * 60 + parts.Seconds;
}

int TimePartMax(int index) {
    return index == 2 ? kMaxLogHours : 59;
}

static std::optional<int> Digits(const QString& text, int maximum) {
    if (text.isEmpty()) return 0;
    int value = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9') return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
        if (value > maximum) return std::nullopt;
    }
    return value;
}

std::optional<int> TypedLimit(const QString& text) {
    return Digits(text, kLimitBarMax);
}

std::optional<int> TypedTimePart(const QString& text, int maximum) {
    return Digits(text, maximum);
}
