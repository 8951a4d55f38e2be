#include "data/ChannelPairing.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct PairingCase {
    const char* name;
    std::vector<const char*> replies;  // texts after the marker, in order
    const char* pairA;                 // the last pair made; nullptr: none
    const char* pairB;
    int pairs;
    int16_t stateAfter;
};

class ChannelPairingTest : public testing::TestWithParam<PairingCase> {};

TEST_P(ChannelPairingTest, halfRepliesPairWithTheOtherChannelsNextValue) {
    const PairingCase& c = GetParam();
    ChannelPairing pairing;
    QString a, b, lastA, lastB;
    int pairs = 0;
    for (const char* reply : c.replies) {
        if (pairing.Take(QString::fromLatin1(reply), a, b)) {
            ++pairs;
            lastA = a.trimmed();
            lastB = b.trimmed();
        }
    }
    EXPECT_EQ(pairs, c.pairs);
    EXPECT_EQ(pairing.ChannelState, c.stateAfter);
    if (c.pairA) {
        EXPECT_EQ(lastA, QString::fromLatin1(c.pairA));
        EXPECT_EQ(lastB, QString::fromLatin1(c.pairB));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Pairing, ChannelPairingTest,
    testing::Values(
        PairingCase{"AThenB", {"1.0E-3 N", "N 2.0E-3"}, "1.0E-3", "2.0E-3", 1, 3},
        PairingCase{"BThenA", {"N 2.0E-3", "1.0E-3 N"}, "1.0E-3", "2.0E-3", 1, 3},
        PairingCase{"BothAtOnce", {"1.0E-3 2.0E-3"}, "1.0E-3", "2.0E-3", 1, 3},
        PairingCase{"NothingNew", {"N N", "N N"}, nullptr, nullptr, 0, 0},
        PairingCase{
            "NothingNewKeepsTheWaitingValue", {"1.0E-3 N", "N N", "N 2.0E-3"}, "1.0E-3", "2.0E-3", 1, 3},
        PairingCase{"SecondValueReplacesTheWaitingOne",
                    {"1.0E-3 N", "3.0E-3 N", "N 2.0E-3"},
                    "3.0E-3",
                    "2.0E-3",
                    1,
                    3},
        PairingCase{
            "APairedValueDoesNotPairAgain", {"1.0E-3 N", "N 2.0E-3", "N 4.0E-3"}, "1.0E-3", "2.0E-3", 1, 2},
        PairingCase{"BothAfterAWaitingValue", {"1.0E-3 N", "5.0E-3 6.0E-3"}, "5.0E-3", "6.0E-3", 1, 3}),
    [](const testing::TestParamInfo<PairingCase>& info) { return std::string(info.param.name); });

TEST(ChannelPairing, aDroppedPairLeavesNothingWaiting) {
    ChannelPairing pairing;
    QString a, b;
    ASSERT_FALSE(pairing.Take(QStringLiteral("1.0E-3 N"), a, b));
    pairing.Drop();
    EXPECT_FALSE(pairing.Take(QStringLiteral("N 2.0E-3"), a, b));
    EXPECT_EQ(pairing.ChannelState, 2);
}

}  // namespace
