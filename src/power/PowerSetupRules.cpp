#include "power/PowerSetupRules.h"

#include <algorithm>
#include <span>

double HighAfterMove(int bar, double lowValue, int16_t exponent, double unitFactor) {
    if (OverCeiling(bar, exponent, unitFactor, kPowerCeiling))
        return CeilingInUnit(exponent, unitFactor, kPowerCeiling);
    return std::max(lowValue + 1, double(bar));
}

int16_t FitUnit(int16_t unit, int highBar, int16_t exponent, const UnitFactors& factors) {
    return FitUnitUnder(kPowerCeiling, unit, highBar, exponent, std::span(factors).first(kListedPowerUnits));
}

int16_t FitCoefficient(int16_t exponent, int highBar, double unitFactor) {
    return FitScaleUnder(kPowerCeiling, exponent, highBar, unitFactor);
}

LimitView ViewOfLimits(double graphLow, double graphHigh, int16_t exponent, const UnitFactors& factors) {
    return LimitViewIn(graphLow, graphHigh, exponent, std::span(factors).first(kListedPowerUnits));
}

ConfirmedLimits ConfirmLimits(double low, double high, int16_t exponent, int minimum) {
    const LimitValuePair values = OrderLimitValues(low, high, minimum);
    ConfirmedLimits c{values.Low, values.High, exponent};
    if (high > low && c.HighValue < 1 && c.ScaleExponent > 0) {
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

std::optional<int> TypedTimePart(const QString& text, int maximum) {
    return TypedWholeNumber(text, maximum);
}
