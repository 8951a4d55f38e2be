#include "data/LimitBars.h"

#include "data/NumberFormat.h"
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

namespace {

// Low below High: a low at or above the high goes one under it, or to the
// minimum with the high one above that.
template <class Pair, class Value>
Pair Ordered(Value low, Value high, Value minimum) {
    Pair p{low, high};
    if (p.High <= p.Low) {
        p.Low = p.High - 1;
        if (p.Low < minimum) {
            p.Low = minimum;
            p.High = p.Low + 1;
        }
    }
    return p;
}

}  // namespace

LimitBarPair OrderLimitBars(int lowBar, int highBar, int minimum) {
    return Ordered<LimitBarPair>(lowBar, highBar, minimum);
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

LimitBarPair OutwardBars(double low, double high, int minimum, int maximum) {
    // Singles carry about seven digits: 300.00001 is the bar 300.
    constexpr double kNoise = 1e-4;
    const auto inRange = [minimum, maximum](double v) {
        if (!std::isfinite(v)) return v > 0 ? maximum : minimum;
        return int(std::clamp(v, double(minimum), double(maximum)));
    };
    LimitBarPair p{inRange(std::floor(low + kNoise)), inRange(std::ceil(high - kNoise))};
    if (p.High <= p.Low) {
        p.High = p.Low + 1;
        if (p.High > maximum) {
            p.High = maximum;
            p.Low = maximum - 1;
        }
    }
    return p;
}

LimitValuePair OrderLimitValues(double low, double high, double minimum) {
    return Ordered<LimitValuePair>(low, high, minimum);
}

std::optional<double> TypedLimitValue(const QString& text, double minimum, double maximum) {
    if (text.isEmpty()) return minimum <= 0 && 0 <= maximum ? std::optional<double>(0) : std::nullopt;
    QString t = text;
    const bool negative = t.startsWith(QLatin1Char('-'));
    if (negative) {
        if (minimum >= 0) return std::nullopt;
        t.remove(0, 1);
    }
    const QString separator = DecimalSeparator();
    int digits = 0, points = 0;
    QString plain;
    for (QChar c : t) {
        if (c >= u'0' && c <= u'9') {
            ++digits;
            plain += c;
        } else if (c == u'.' || (!separator.isEmpty() && c == separator.at(0))) {
            if (++points > 1) return std::nullopt;
            plain += QLatin1Char('.');
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0) return std::nullopt;
    const double v = (negative ? -1 : 1) * plain.toDouble();
    if (v < minimum || v > maximum) return std::nullopt;
    return v;
}

QString LimitText(double value) {
    QString t = QString::number(std::round(value * 100) / 100, 'f', 2);
    while (t.endsWith(QLatin1Char('0'))) t.chop(1);
    if (t.endsWith(QLatin1Char('.'))) t.chop(1);
    if (t == QLatin1String("-0")) t = QStringLiteral("0");
    const QString separator = DecimalSeparator();
    if (!separator.isEmpty()) t.replace(QLatin1Char('.'), separator);
    return t;
}
