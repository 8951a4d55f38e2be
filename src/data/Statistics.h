#pragma once

#include <cstdint>

// Sample standard deviation (divisor n - 1) from running sums; 0 for n <= 1.
double StandardDeviation(double sum, double sumOfSquares, int64_t n);

// Running minimum, maximum, sum and sum of squares of the readings of a run.
// Over-range readings (either sign) and non-numbers are not counted.
struct RunningStats {
    double Min = 0;
    double Max = 0;
    double Sum = 0;
    double SumOfSquares = 0;
    int64_t Count = 0;

    // Returns False when the value was skipped.
    bool Add(double value);
    void Reset();
    bool Empty() const { return Count == 0; }
    double Average() const;  // 0 when empty
    double StdDev() const;
};
