#include "data/Overrange.h"
#include "data/ReadingStore.h"
#include "data/Readout.h"

#include <gtest/gtest.h>
#include <deque>

namespace {

// Replays readings 1..n through the filter; the values it keeps.
std::vector<double> Kept(int n, int32_t rate, int16_t style) {
    StorageRateFilter f;
    std::vector<double> kept;
    double v = 0;
    for (int i = 1; i <= n; ++i)
        if (f.Take(i, rate, style, v)) kept.push_back(v);
    return kept;
}

std::vector<int> InOrder(const ReadingStore<int>& s) {
    std::vector<int> out;
    s.ForEachOldestFirst([&](int r) { out.push_back(r); });
    return out;
}

}  // namespace

TEST(StorageRateFilter, keepsAveragesOrSamplesOfEachGroup) {
    EXPECT_EQ(Kept(7, 3, StorageRateFilter::Average), (std::vector<double>{2, 5}));  // 7 stays open
    EXPECT_EQ(Kept(7, 3, StorageRateFilter::Sample), (std::vector<double>{1, 4, 7}));
    EXPECT_EQ(Kept(4, 1, StorageRateFilter::Average), (std::vector<double>{1, 2, 3, 4}));
    // Against a plain computation over many groups.
    for (int32_t rate : {2, 5, 1000}) {
        const int n = rate * 7 + 2;
        const std::vector<double> avg = Kept(n, rate, StorageRateFilter::Average);
        const std::vector<double> sample = Kept(n, rate, StorageRateFilter::Sample);
        ASSERT_EQ(avg.size(), 7u);
        ASSERT_EQ(sample.size(), 8u);
        for (int g = 0; g < 7; ++g) EXPECT_DOUBLE_EQ(avg[size_t(g)], g * rate + (rate + 1) / 2.0);
        for (int g = 0; g < 8; ++g) EXPECT_EQ(sample[size_t(g)], g * rate + 1);
    }
}

TEST(StorageRateFilter, groupWithAnOverrangeReadingIsStoredAsOverrange) {
    StorageRateFilter f;
    double v = 0;
    for (double r : {1.0, OverrangeValue, 3.0}) EXPECT_FALSE(f.Take(r, 3, StorageRateFilter::Average, v));
    ASSERT_TRUE(f.Take(4.0, 3, StorageRateFilter::Average, v));
    EXPECT_TRUE(IsOverrange(v));
    for (double r : {5.0, 6.0}) f.Take(r, 3, StorageRateFilter::Average, v);
    ASSERT_TRUE(f.Take(7.0, 3, StorageRateFilter::Average, v));
    EXPECT_DOUBLE_EQ(v, 5.0);
}

TEST(ReadingStore, lastReadingsKeepTheNewestInArrivalOrderAcrossTheWrap) {
    ReadingStore<int> s;
    s.Allocate();
    std::deque<int> newest;  // the plain computation
    for (int i = 0; i < kMaxStoredReadings + 5; ++i) {
        ASSERT_TRUE(s.Put(i, true));
        newest.push_back(i);
        if (newest.size() > size_t(kMaxStoredReadings)) newest.pop_front();
    }
    EXPECT_EQ(s.StoredCount, kMaxStoredReadings);
    EXPECT_EQ(s.WriteIndex, 5);
    const std::vector<int> order = InOrder(s);
    EXPECT_EQ(order, std::vector<int>(newest.begin(), newest.end()));
    EXPECT_EQ(order.front(), 5);  // record 5 first ... record 4 last
    EXPECT_EQ(order.back(), kMaxStoredReadings + 4);
}

TEST(ReadingStore, firstReadingsStopWhenFullAndAReleasedStoreTakesNothing) {
    ReadingStore<int> s;
    s.Allocate();
    for (int i = 0; i < kMaxStoredReadings; ++i) ASSERT_TRUE(s.Put(i, false));
    EXPECT_TRUE(s.Full(false));
    EXPECT_FALSE(s.Put(-1, false));
    EXPECT_EQ(s.Count(), kMaxStoredReadings);
    EXPECT_EQ(InOrder(s).back(), kMaxStoredReadings - 1);
    s.Release();
    EXPECT_FALSE(s.Put(1, true));
    EXPECT_EQ(s.Count(), 0);
}

TEST(ReadoutThrottle, firstReadingShowsThenAtMostOncePerIntervalAcrossMidnight) {
    ReadoutThrottle t(0.3);
    EXPECT_TRUE(t.Due(86399.9));
    EXPECT_FALSE(t.Due(86400.0 - 0.05));
    EXPECT_TRUE(t.Due(0.25));  // 0.35 s later, after midnight
    EXPECT_FALSE(t.Due(0.5));
    t.Reset();
    EXPECT_TRUE(t.Due(0.5));
}

TEST(StatisticsVisibility, optionSelectsTheLines) {
    EXPECT_TRUE(VisibleStatistics(1).MinMax && !VisibleStatistics(1).AvgDev);
    EXPECT_TRUE(!VisibleStatistics(2).MinMax && VisibleStatistics(2).AvgDev);
    EXPECT_TRUE(VisibleStatistics(3).MinMax && VisibleStatistics(3).AvgDev);
    EXPECT_FALSE(VisibleStatistics(0).MinMax || VisibleStatistics(0).AvgDev);
}
