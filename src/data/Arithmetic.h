#pragma once

#include <type_traits>

template <typename A, typename B>
constexpr std::common_type_t<A, B> MaxOf(A a, B b) {
    using T = std::common_type_t<A, B>;
    return static_cast<T>(a) >= static_cast<T>(b) ? static_cast<T>(a) : static_cast<T>(b);
}

template <typename A, typename B>
constexpr std::common_type_t<A, B> MinOf(A a, B b) {
    using T = std::common_type_t<A, B>;
    return static_cast<T>(a) <= static_cast<T>(b) ? static_cast<T>(a) : static_cast<T>(b);
}

// Decimal logarithm (exact for powers of ten).
double Log10(double x);

// The decade of x: 0 for 0, otherwise the largest integer e with
// 10^e <= |x| (1000 gives 3, 0.0025 gives -3).
int DecadeExponent(double x);

// Ratio of two readings. Mode 0: a / b, mode 1: b / a, times `factor`.
// Zero over zero and over range over over range give no result (False);
// a zero numerator gives 0, a zero denominator or an over-range numerator
// gives OverrangeValue, an over-range denominator gives 0.
bool RatioOf(int mode, double factor, double a, double b, double& r);

// Difference of two readings. Mode 0: a - b, mode 1: b - a, minus `offset`.
// Both over range: no result; one over range: that one (negated when it is
// the subtrahend).
bool DifferenceOf(int mode, double offset, double a, double b, double& r);
