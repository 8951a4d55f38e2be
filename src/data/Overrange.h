#pragma once

#include <cfloat>
#include <cmath>

// The stored value of a reading the meter reports as over range. It never
// enters statistics and is written as "Overrange".
inline constexpr double OverrangeValue = 3.402823E+38;

// True when `value`, taken as a single, is the over-range mark. Both the
// double 3.402823E+38 and the single 7F7FFFFD widened to a double count.
inline bool IsOverrange(double value) {
    // Values beyond the single range cannot be converted safely; none of
    // them rounds to the mark anyway.
    if (!(std::fabs(value) <= static_cast<double>(FLT_MAX))) return false;
    return static_cast<float>(value) == static_cast<float>(OverrangeValue);
}

// A reading the single-precision store can hold (the over-range mark included).
inline bool StorableAsSingle(double value) {
    return IsOverrange(value) || std::fabs(value) <= static_cast<double>(FLT_MAX);
}
