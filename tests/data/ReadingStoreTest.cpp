#include "data/ChannelPairing.h"
#include "data/Overrange.h"
#include "data/ReadingStore.h"

#include <gtest/gtest.h>
#include <QStringList>

// The grouping itself, of averages and samples: the energy ratio's storage test.
TEST(StorageRateFilter, aGroupWithAnOverrangeReadingHasNoAverage) {
    StorageRateFilter f;
    std::vector<double> kept;
    double v = 0;
    for (double r : {1.0, OverrangeValue, 3.0, 4.0, 5.0, 6.0, 7.0})
        if (f.Take(r, 3, StorageRateFilter::Average, v)) kept.push_back(v);
    EXPECT_EQ(kept, (std::vector<double>{OverrangeValue, 5}));
}

// Last Readings' ring, read oldest first: the energy test's full store, saved.
TEST(ReadingStore, firstReadingsStopWhenFullAndAReleasedStoreKeepsNothing) {
    ReadingStore<int> first;
    first.Allocate();
    for (int i = 0; i < 60005; ++i) EXPECT_EQ(first.Put(i, false), i < 60000);
    EXPECT_TRUE(first.Count() == 60000 && first.Full(false)) << first.Count();
    first.Release();
    EXPECT_FALSE(first.Put(1, true));
}

// Replies (the texts after the marker) joined by "|", "drop" for a dropped pair; the last pair made
// ("A|B", "|" for none), how many pairs were made and the state after them.
TEST(ChannelPairing, halfRepliesPairWithTheOtherChannelsNextValue) {
    // clang-format off
    const struct { const char *replies, *pair; int pairs; int16_t stateAfter; } cases[] = {
        {"1.0E-3 N|N 2.0E-3", "1.0E-3|2.0E-3", 1, 3},        {"N 2.0E-3|1.0E-3 N", "1.0E-3|2.0E-3", 1, 3},
        {"1.0E-3 2.0E-3", "1.0E-3|2.0E-3", 1, 3},            {"N N|N N", "|", 0, 0},
        {"1.0E-3 N|N N|N 2.0E-3", "1.0E-3|2.0E-3", 1, 3},    // nothing new keeps the waiting value
        {"1.0E-3 N|3.0E-3 N|N 2.0E-3", "3.0E-3|2.0E-3", 1, 3},  // a second value replaces the waiting one
        {"N 4.0E-3|N 1.0E-3|5.0E-4 N", "5.0E-4|1.0E-3", 1, 3},  // on either channel
        {"1.0E-3 N|N 2.0E-3|N 4.0E-3", "1.0E-3|2.0E-3", 1, 2},  // a paired value does not pair again
        {"1.0E-3 N|5.0E-3 6.0E-3", "5.0E-3|6.0E-3", 1, 3},
        {"1.0E-3 N|drop|N 2.0E-3", "|", 0, 2}};  // a dropped pair leaves nothing waiting
    // clang-format on
    for (const auto& c : cases) {
        ChannelPairing pairing;
        QString a, b, last = "|";
        int pairs = 0;
        for (const QString& reply : QString(c.replies).split('|')) {
            if (reply == "drop") pairing.Drop();
            if (reply != "drop" && pairing.Take(reply, a, b)) {
                last = a.trimmed() + "|" + b.trimmed();
                ++pairs;
            }
        }
        EXPECT_EQ(std::tuple(pairs, pairing.ChannelState, last),
                  std::tuple(c.pairs, c.stateAfter, QString(c.pair)))
            << c.replies;
    }
}
