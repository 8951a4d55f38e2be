#include "data/Overrange.h"
#include "data/ReadingStore.h"

#include <gtest/gtest.h>
#include <deque>

namespace {

// Replays readings through the filter; the values it keeps.
std::vector<double> Kept(const std::vector<double>& readings, int32_t rate, int16_t style) {
    StorageRateFilter f;
    std::vector<double> kept;
    double v = 0;
    for (double r : readings)
        if (f.Take(r, rate, style, v)) kept.push_back(v);
    return kept;
}

std::vector<double> OneTo(int n) {
    std::vector<double> r;
    for (int i = 1; i <= n; ++i) r.push_back(i);
    return r;
}

}  // namespace

TEST(StorageRateFilter, keepsAveragesOrSamplesOfEachGroupButNeverTheOpenOne) {
    EXPECT_EQ(Kept(OneTo(7), 3, StorageRateFilter::Average), (std::vector<double>{2, 5}));
    EXPECT_EQ(Kept(OneTo(7), 3, StorageRateFilter::Sample), (std::vector<double>{1, 4, 7}));
    EXPECT_EQ(Kept(OneTo(4), 1, StorageRateFilter::Average), OneTo(4));
    for (int32_t rate : {2, 1000}) {  // against a plain computation over seven groups and a bit
        const std::vector<double> avg = Kept(OneTo(rate * 7 + 2), rate, StorageRateFilter::Average);
        const std::vector<double> sample = Kept(OneTo(rate * 7 + 2), rate, StorageRateFilter::Sample);
        ASSERT_EQ(avg.size(), 7u);
        ASSERT_EQ(sample.size(), 8u);
        for (int g = 0; g < 7; ++g) EXPECT_DOUBLE_EQ(avg[size_t(g)], g * rate + (rate + 1) / 2.0);
        for (int g = 0; g < 8; ++g) EXPECT_EQ(sample[size_t(g)], g * rate + 1);
    }
    const std::vector<double> over = Kept({1, OverrangeValue, 3, 4, 5, 6, 7}, 3, StorageRateFilter::Average);
    ASSERT_EQ(over.size(), 2u);
    EXPECT_TRUE(IsOverrange(over[0]));  // a group with an over-range reading has no average
    EXPECT_DOUBLE_EQ(over[1], 5);
}

TEST(ReadingStore, lastReadingsWrapInArrivalOrderAndFirstReadingsStopWhenFull) {
    ReadingStore<int> last, first;
    last.Allocate();
    first.Allocate();
    std::deque<int> newest;  // the plain computation
    for (int i = 0; i < kMaxStoredReadings + 5; ++i) {
        ASSERT_TRUE(last.Put(i, true));
        EXPECT_EQ(first.Put(i, false), i < kMaxStoredReadings);
        newest.push_back(i);
        if (newest.size() > size_t(kMaxStoredReadings)) newest.pop_front();
    }
    EXPECT_EQ(last.WriteIndex, 5);
    std::vector<int> order;
    last.ForEachOldestFirst([&](int r) { order.push_back(r); });
    EXPECT_EQ(order, std::vector<int>(newest.begin(), newest.end()));  // records 5..59999, then 0..4
    EXPECT_EQ(first.Count(), kMaxStoredReadings);
    EXPECT_TRUE(first.Full(false));
    first.Release();
    EXPECT_FALSE(first.Put(1, true));
}
