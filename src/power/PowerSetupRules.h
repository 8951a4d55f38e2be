#pragma once

#include "data/LimitBars.h"

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

// The arithmetic of the power graph setup: the limit bars (data/LimitBars.h)
// under the 30 kW ceiling; the log time as hours, minutes and seconds.

inline constexpr double kPowerCeiling = 30000;  // 30 kW in the base unit
inline constexpr int kTimeTextMax = 2;          // characters in a time box
inline constexpr int kListedPowerUnits = 6;     // pW .. kW in the unit list

using UnitFactors = std::array<double, 7>;

// HighValue once the High bar moved to `bar`: at least Low + 1, and never
// above 30 kW (then the ceiling expressed in the unit and scale).
double HighAfterMove(int bar, double lowValue, int16_t exponent, double unitFactor);

// The unit chosen in the list, or the nearest smaller one that keeps the
// High bar within the ceiling (only W and kW can pass it).
int16_t FitUnit(int16_t unit, int highBar, int16_t exponent, const UnitFactors& factors);

// The coefficient chosen, or the nearest smaller one that keeps the High bar
// within the ceiling.
int16_t FitCoefficient(int16_t exponent, int highBar, double unitFactor);

// What the dialog shows for the stored limits (LimitViewIn over pW .. kW).
LimitView ViewOfLimits(double graphLow, double graphHigh, int16_t exponent, const UnitFactors& factors);

// The limits OK stores, from the two bar positions: High above Low, Low not
// below 0 (Low 50/High 20 -> 19/20, Low 5/High 0 -> 0/1).
struct ConfirmedLimits {
    double LowValue = 0;
    double HighValue = 1;
    int16_t ScaleExponent = 0;
};
// The limits as shown (typed ones may carry decimals); `minimum`: the bars'
// lowest position (below 0 for differences).
ConfirmedLimits ConfirmLimits(double low, double high, int16_t exponent, int minimum = 0);

// Log time.
inline constexpr int kMaxLogHours = 24;
struct LogTimeParts {
    int16_t Hours = 0;
    int16_t Minutes = 0;
    int16_t Seconds = 0;
    bool operator==(const LogTimeParts&) const = default;
};
LogTimeParts SplitLogTime(int32_t logTime);  // kept within 0 .. 24 h
// Seconds; at 24 hours the minutes and seconds do not count.
int32_t JoinLogTime(const LogTimeParts& parts);
// Largest value of the time bar `index` (0 seconds, 1 minutes, 2 hours).
int TimePartMax(int index);

// A typed time part: empty is 0, digits up to `maximum`; nothing otherwise.
std::optional<int> TypedTimePart(const QString& text, int maximum);
