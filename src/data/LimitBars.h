#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <span>

// The limit controls of the setup dialogs: a whole number 0..999 on a bar
// (typed into a box of 3 characters), a scale 10^k (k 0..2) and a unit
// prefix; the high limit stays under a ceiling in the base unit.

inline constexpr int kLimitBarMax = 999;
inline constexpr int kLimitTextMax = 3;          // characters in a limit box
inline constexpr int16_t kMaxScaleExponent = 2;  // "x 100"

// The scale list: "x 1", "x 10", "x 100".
QStringList ScaleTexts();

// 10^exponent.
double ScaleOf(int16_t exponent);

// A limit in the base unit: value x 10^exponent / unitFactor.
double LimitInBaseUnit(double value, int16_t exponent, double unitFactor);

// The nearest whole bar position (halves to even), kept within 0..999.
int BarFromValue(double value);

// The bar value, in the unit and scale, lies above the ceiling.
bool OverCeiling(double barValue, int16_t exponent, double unitFactor, double ceiling);

// The ceiling expressed in the unit and scale.
double CeilingInUnit(int16_t exponent, double unitFactor, double ceiling);

// The unit chosen in the list, or the nearest smaller one that keeps the
// High bar within the ceiling. listedFactors: the factors of the listed units.
int16_t FitUnitUnder(double ceiling, int16_t unit, int highBar, int16_t exponent,
                     std::span<const double> listedFactors);

// The scale chosen, or the nearest smaller one that keeps the High bar
// within the ceiling.
int16_t FitScaleUnder(double ceiling, int16_t exponent, int highBar, double unitFactor);

// What a dialog shows for stored limits: the listed unit that suits the high
// limit, and both limits as values and bar positions in that unit and scale.
struct LimitView {
    int16_t UnitIndex = 4;
    double LowValue = 0;
    double HighValue = 1;
    int LowBar = 0;
    int HighBar = 1;
};
LimitView LimitViewIn(double low, double high, int16_t exponent, std::span<const double> listedFactors);

// The bars OK takes: High above Low, Low not below 0 (Low 50/High 20 -> 19/20,
// Low 5/High 0 -> 0/1).
struct LimitBarPair {
    int Low = 0;
    int High = 1;
};
// `minimum`: the bars' lowest position.
LimitBarPair OrderLimitBars(int lowBar, int highBar, int minimum = 0);

// Limits chosen from the data, widened to whole bar positions that hold
// them (low down, high up) within minimum..maximum, high above low: what
// the bars show is the range drawn.
LimitBarPair OutwardBars(double low, double high, int minimum, int maximum);

// Low below High as OrderLimitBars does, for limits typed with decimals.
struct LimitValuePair {
    double Low = 0;
    double High = 1;
};
LimitValuePair OrderLimitValues(double low, double high, double minimum = 0);

// A limit typed in the unit shown: digits with at most one decimal
// separator ("." or the locale's), a leading minus where minimum < 0,
// empty for 0; nothing when it is no such number or lies outside
// minimum..maximum.
std::optional<double> TypedLimitValue(const QString& text, double minimum, double maximum);
// A limit as its box shows it: up to two decimals, none when whole.
QString LimitText(double value);

// Typed whole numbers: empty is 0, digits up to `maximum` are the value;
// nothing for anything else (the box then beeps).
std::optional<int> TypedWholeNumber(const QString& text, int maximum);
std::optional<int> TypedLimit(const QString& text);  // up to 999
