#include "SeparatorScope.h"
#include "data/Overrange.h"
#include "data/Parsing.h"

#include <gtest/gtest.h>

namespace {

TEST(TryParseNumber, readsTheLongestLeadingNumber) {
    const struct {
        const char *text, *separator;
        double expected;
    } cases[] = {{"  12abc", ".", 12}, {"-1.5e3x", ".", -1500}, {"e5", ".", 0},
                 {"", ".", 0},         {".", ".", 0},           {"-", ".", 0},
                 {"1.5E", ".", 1.5},   {"1e+", ".", 1},         {"2E-x", ".", 2},
                 {"+7", ".", 7},       {"-.5", ".", -0.5},      {"\t3", ".", 3},
                 {"12 34", ".", 12},   {"1.2.3", ".", 1.2},     {"0.0012     \t1.50", ".", 0.0012},
                 {"1e-999", ".", 0},   {"1,5", ".", 1},         {"1,5E-3", ",", 0.0015},
                 {"2.25", ",", 2.25}};
    for (const auto& c : cases) {
        SeparatorScope sep(c.separator);
        double value = 99;
        EXPECT_TRUE(TryParseNumber(c.text, value)) << c.text;
        EXPECT_DOUBLE_EQ(value, c.expected) << c.text;
    }
}

TEST(TryParseNumber, tooLargeFailsAndKeepsTheOldValue) {
    for (const QString& text :
         {QString("1e999"), QString("-1e999"), "1" + QString(400, '0'), QString("9e99999999999999999999")}) {
        double value = 42;
        EXPECT_FALSE(TryParseNumber(text, value)) << text.toStdString();
        EXPECT_EQ(value, 42);
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
    EXPECT_FALSE(IsOverrange(1E+300));
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
        EXPECT_EQ(first, c[1]) << c[0];
        EXPECT_EQ(rest, c[2]) << c[0];
    }
}

}  // namespace
