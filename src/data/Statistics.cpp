#include "data/Statistics.h"

#include "data/Overrange.h"

#include <cmath>

double StandardDeviation(double sum, double sumOfSquares, int64_t n) {
    if (n <= 1) return 0;
    const double count = static_cast<double>(n);
    // The absolute value absorbs a slightly negative rounding residue.
    return std::sqrt(std::fabs(sumOfSquares - sum * sum / count) / (count - 1));
}

bool RunningStats::Add(double value) {
    if (!std::isfinite(value) || IsOverrange(std::fabs(value))) return false;
    if (Count == 0) {
        Min = value;
        Max = value;
    } else {
        if (value < Min) Min = value;
        if (value > Max) Max = value;
    }
    Sum += value;
    SumOfSquares += value * value;
    ++Count;
    return true;
}

void RunningStats::Reset() {
    *this = RunningStats{};
}

double RunningStats::Average() const {
    return Count == 0 ? 0 : Sum / static_cast<double>(Count);
}

double RunningStats::StdDev() const {
    return StandardDeviation(Sum, SumOfSquares, Count);
}
