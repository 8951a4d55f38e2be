#include "data/LimitBars.h"

#include "data/Units.h"

#include <algorithm>
#include <cmath>

QStringList ScaleTexts() {
    return {QStringLiteral("x 1"), QStringLiteral("x 10"), QStringLiteral("x 100")};
}

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

bool OverCeiling(double barValue, int16_t exponent, double unitFactor, double ceiling) {
    return LimitInBaseUnit(barValue, exponent, unitFactor) > ceiling;
}

double CeilingInUnit(int16_t exponent, double unitFactor, double ceiling) {
    return unitFactor * ceiling / ScaleOf(exponent);
}

int16_t FitUnitUnder(double ceiling, int16_t unit, int highBar, int16_t exponent,
                     std::span<const double> listedFactors) {
    unit = std::clamp<int16_t>(unit, 0, int16_t(listedFactors.size() - 1));
    while (unit > 0 && OverCeiling(highBar, exponent, listedFactors[size_t(unit)], ceiling)) --unit;
    return unit;
}

int16_t FitScaleUnder(double ceiling, int16_t exponent, int highBar, double unitFactor) {
    exponent = std::clamp<int16_t>(exponent, 0, kMaxScaleExponent);
    while (exponent > 0 && OverCeiling(highBar, exponent, unitFactor, ceiling)) --exponent;
    return exponent;
}

LimitView LimitViewIn(double low, double high, int16_t exponent, std::span<const double> listedFactors) {
    LimitView v;
    const double scale = ScaleOf(exponent);
    // A limit beyond the list shows in its largest unit, at the end of the bar.
    const int listed = int(listedFactors.size());
    int unit = AutoPrefixIndex(high / scale, listed);
    // The prefix choice rounds to nine decimals first, so 0.5 .. 1 of the
    // second unit would show as 0 or 1 of it; the smaller unit keeps the digits.
    if (unit > 0 && std::fabs(high / scale * listedFactors[size_t(unit)]) < 0.999999) --unit;
    v.UnitIndex = int16_t(unit);
    const double factor = listedFactors[size_t(unit)];
    // Both limits in the unit of the high one, so OK gives back what it got.
    v.LowValue = low / scale * factor;
    v.HighValue = high / scale * factor;
    v.LowBar = BarFromValue(v.LowValue);
    v.HighBar = BarFromValue(v.HighValue);
    return v;
}

LimitBarPair OrderLimitBars(int lowBar, int highBar, int minimum) {
    LimitBarPair p{lowBar, highBar};
    if (p.High <= p.Low) {
        p.Low = p.High - 1;
        if (p.Low < minimum) {
            p.Low = minimum;
            p.High = p.Low + 1;
        }
    }
    return p;
}

std::optional<int> TypedWholeNumber(const QString& text, int maximum) {
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
    return TypedWholeNumber(text, kLimitBarMax);
}
