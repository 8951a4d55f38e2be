#include "data/Arithmetic.h"

#include "data/Overrange.h"

#include <cmath>

double Log10(double x) {
    return std::log10(x);
}

int DecadeExponent(double x) {
    double a = std::fabs(x);
    if (a == 0 || !std::isfinite(a)) return 0;
    int e = static_cast<int>(std::floor(std::log10(a)));
    // The logarithm can land a hair off a power of ten; settle it exactly.
    if (std::pow(10.0, e) > a)
        --e;
    else if (std::pow(10.0, e + 1) <= a)
        ++e;
    return e;
}

bool RatioOf(int mode, double factor, double a, double b, double& r) {
    const double n = mode == 1 ? b : a;
    const double d = mode == 1 ? a : b;
    if (n == 0 && d == 0) return false;
    if (n == 0) {
        r = 0;
        return true;
    }
    if (d == 0) {
        r = OverrangeValue;
        return true;
    }
    const bool nOver = IsOverrange(n);
    const bool dOver = IsOverrange(d);
    if (nOver && dOver) return false;
    if (nOver) {
        r = OverrangeValue;
        return true;
    }
    if (dOver) {
        r = 0;
        return true;
    }
    r = n * factor / d;
    return true;
}

bool DifferenceOf(int mode, double offset, double a, double b, double& r) {
    const double x = mode == 1 ? b : a;
    const double y = mode == 1 ? a : b;
    const bool xOver = IsOverrange(std::fabs(x));
    const bool yOver = IsOverrange(std::fabs(y));
    if (xOver && yOver) return false;
    if (xOver) {
        r = x;
        return true;
    }
    if (yOver) {
        r = -y;
        return true;
    }
    r = x - y - offset;
    return true;
}
