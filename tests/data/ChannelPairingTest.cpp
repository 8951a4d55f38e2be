#include "data/ChannelPairing.h"

#include <gtest/gtest.h>

#include <vector>

TEST(ChannelPairing, halfRepliesPairWithTheOtherChannelsNextValue) {
    const struct {
        const char* name;
        std::vector<const char*> replies;  // texts after the marker, in order
        const char *pairA, *pairB;         // the last pair made; nullptr: none
        int pairs;
        int16_t stateAfter;
    } cases[] = {
        {"A then B", {"1.0E-3 N", "N 2.0E-3"}, "1.0E-3", "2.0E-3", 1, 3},
        {"B then A", {"N 2.0E-3", "1.0E-3 N"}, "1.0E-3", "2.0E-3", 1, 3},
        {"both at once", {"1.0E-3 2.0E-3"}, "1.0E-3", "2.0E-3", 1, 3},
        {"nothing new", {"N N", "N N"}, nullptr, nullptr, 0, 0},
        {"nothing new keeps the waiting value", {"1.0E-3 N", "N N", "N 2.0E-3"}, "1.0E-3", "2.0E-3", 1, 3},
        {"a second value replaces the waiting one",
         {"1.0E-3 N", "3.0E-3 N", "N 2.0E-3"},
         "3.0E-3",
         "2.0E-3",
         1,
         3},
        {"a paired value does not pair again",
         {"1.0E-3 N", "N 2.0E-3", "N 4.0E-3"},
         "1.0E-3",
         "2.0E-3",
         1,
         2},
        {"both after a waiting value", {"1.0E-3 N", "5.0E-3 6.0E-3"}, "5.0E-3", "6.0E-3", 1, 3},
    };
    for (const auto& c : cases) {
        ChannelPairing pairing;
        QString a, b, lastA, lastB;
        int pairs = 0;
        for (const char* reply : c.replies)
            if (pairing.Take(QString::fromLatin1(reply), a, b)) {
                ++pairs;
                lastA = a.trimmed();
                lastB = b.trimmed();
            }
        EXPECT_EQ(std::pair(pairs, pairing.ChannelState), std::pair(c.pairs, c.stateAfter)) << c.name;
        EXPECT_EQ(lastA + "|" + lastB, c.pairA ? QString(c.pairA) + "|" + c.pairB : "|") << c.name;
    }
}

TEST(ChannelPairing, aDroppedPairLeavesNothingWaiting) {
    ChannelPairing pairing;
    QString a, b;
    ASSERT_FALSE(pairing.Take(QStringLiteral("1.0E-3 N"), a, b));
    pairing.Drop();
    EXPECT_FALSE(pairing.Take(QStringLiteral("N 2.0E-3"), a, b));
    EXPECT_EQ(pairing.ChannelState, 2);
}
