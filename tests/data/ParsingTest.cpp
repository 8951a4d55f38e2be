#include "data/Overrange.h"
#include "data/Parsing.h"
#include "support/SeparatorScope.h"

#include <gtest/gtest.h>

// The longest leading number; too large fails and keeps the old value (99).
TEST(TryParseNumber, readsTheLongestLeadingNumber) {
    // clang-format off
    const std::tuple<QString, const char*, double> cases[] = {
        {"  12abc", ".", 12}, {"-1.5e3x", ".", -1500}, {"e5", ".", 0}, {"", ".", 0}, {"-", ".", 0}, {"1.5E", ".", 1.5},
        {"2E-x", ".", 2}, {"+7", ".", 7}, {"-.5", ".", -0.5}, {"\t3", ".", 3}, {"1.2.3", ".", 1.2},
        {"0.0012     \t1.50", ".", 0.0012}, {"1e-999", ".", 0}, {"1,5", ".", 1}, {"1,5E-3", ",", 0.0015},
        {"2.25", ",", 2.25}, {"1e999", ".", 99}, {"-1e999", ".", 99}, {"9e99999999999999999999", ".", 99},
        {"1" + QString(400, '0'), ".", 99}};
    // clang-format on
    for (const auto& [text, separator, expected] : cases) {
        SeparatorScope sep(separator);
        double value = 99;
        EXPECT_EQ(TryParseNumber(text, value), expected != 99) << text.toStdString();
        EXPECT_DOUBLE_EQ(value, expected) << text.toStdString();
    }
}

TEST(ParseReading, overIsTheOverrangeValue) {
    double value = 0;
    ASSERT_TRUE(ParseReading(" OVER \r", value));
    EXPECT_TRUE(IsOverrange(value));
    ASSERT_TRUE(ParseReading(" 1.234E-3 ", value));
    EXPECT_DOUBLE_EQ(value, 0.001234);
    EXPECT_TRUE(IsOverrange(3.4028230607370965E+38));  // the single mark held in a double
    EXPECT_FALSE(IsOverrange(3.4028235E+38));          // the largest single is not the mark
}

TEST(SplitAtFirstSpace, cutsAfterTheFirstBlank) {
    const char* const cases[][3] = {{"  1.2E-3 4.5E-3", "1.2E-3 ", "4.5E-3"},
                                    {"OVER N", "OVER ", "N"},
                                    {"a b c", "a ", "b c"},
                                    {"1.0", "N", "N"},
                                    {"   ", "N", "N"},
                                    {"", "N", "N"}};
    for (const auto& c : cases) {
        QString first, rest;
        SplitAtFirstSpace(c[0], first, rest);
        EXPECT_EQ(first + "|" + rest, QString(c[1]) + "|" + c[2]) << c[0];
    }
}
