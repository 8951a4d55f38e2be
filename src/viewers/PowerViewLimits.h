#pragma once

#include <cstdint>

// The limits a power viewer chooses when its record is drawn first, and the
// chart range its Apply makes of the limit bars. Low and High are whole bar
// positions that hold the data; the first chart spans what they show.

struct ViewLimits {
    double Low = 0;
    double High = 1;
    int16_t UnitIndex = 4;      // power unit of the bars (power, difference)
    int16_t ScaleExponent = 0;  // coefficient 10^k of the bars (power, difference)
    int16_t ViewExponent = 0;   // a ratio bar value v stands for v x 10^ViewExponent
    float YMin = 0;             // the first chart's range, base unit, as Apply makes it
    float YMax = 1;
};

// Single channel: the largest e with 10^e x max <= 999 puts the maximum on
// the High bar; the coefficient and unit follow from e. min and max of the
// valid readings (0 and 0 when there are none).
ViewLimits PowerLimitsAtLoad(double min, double max);

// Difference: the larger magnitude sets the unit and the scale, both limits
// keep their signs (bars -999..999).
ViewLimits DifferenceLimitsAtLoad(double min, double max);

// Ratio: bars 0..10 with a decade exponent of the maximum.
ViewLimits RatioLimitsAtLoad(double min, double max);

// The chart range of applied bars in a unit and scale (base unit), and of
// applied ratio bars with their exponent.
void PowerRangeOf(double low, double high, int16_t scaleExponent, double unitFactor, float& yMin,
                  float& yMax);
void RatioRangeOf(double low, double high, int16_t viewExponent, float& yMin, float& yMax);

inline constexpr int kRatioBarMax = 10;
inline constexpr int kExponentMin = -15;
inline constexpr int kExponentMax = 15;
inline constexpr int kDifferenceBarMin = -999;
