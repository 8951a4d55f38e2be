#include "data/ReadingStore.h"

#include "data/Overrange.h"

bool StorageRateFilter::Take(double value, int32_t rate, int16_t style, double& stored) {
    if (rate <= 1) {
        stored = value;
        return true;
    }
    const bool over = IsOverrange(value);
    if (style == Sample) {
        const bool first = GroupCount == 0 || GroupCount >= rate;
        GroupCount = GroupCount >= rate ? 1 : GroupCount + 1;
        if (first) stored = value;
        return first;
    }
    bool done = false;
    if (GroupCount >= rate) {
        // A group with an over-range reading has no meaningful average.
        stored = groupOver_ ? OverrangeValue : GroupAverage;
        done = true;
        GroupCount = 0;
        GroupSum = 0;
        groupOver_ = false;
    }
    ++GroupCount;
    if (over)
        groupOver_ = true;
    else
        GroupSum += value;
    GroupAverage = GroupSum / GroupCount;
    return done;
}
