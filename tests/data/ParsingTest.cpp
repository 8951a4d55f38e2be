#include "SeparatorScope.h"
#include "data/Overrange.h"
#include "data/Parsing.h"

#include <gtest/gtest.h>

namespace {

TEST(TryParseNumber, readsTheLongestLeadingNumber) {
    SeparatorScope sep(".");
    const struct {
        const char* text;
        double expected;
    } cases[] = {
        {"  12abc", 12},
        {"-1.5e3x", -1500},
        {"e5", 0},
        {"", 0},
        {".", 0},
        {"-", 0},
        {"abc", 0},
        {"1.5E", 1.5},
        {"1e+", 1},
        {"2E-x", 2},
        {"+7", 7},
        {"-.5", -0.5},
        {"\t3", 3},
        {"12 34", 12},
        {"1.2.3", 1.2},
        {"0.0012     \t1.50", 0.0012},
        {"3.402823E+38", 3.402823E+38},
        {"1e-999", 0},
        {"1,5", 1},
    };
    for (const auto& c : cases) {
        double value = 99;
        EXPECT_TRUE(TryParseNumber(QString::fromLatin1(c.text), value)) << c.text;
        EXPECT_DOUBLE_EQ(value, c.expected) << c.text;
    }
}

TEST(TryParseNumber, tooLargeFailsAndKeepsTheOldValue) {
    for (const QString& text : {QString("1e999"), QString("-1e999"), QString("1") + QString(400, '0'),
                                QString("9e99999999999999999999")}) {
        double value = 42;
        EXPECT_FALSE(TryParseNumber(text, value)) << text.toStdString();
        EXPECT_EQ(value, 42);
    }
}

TEST(TryParseNumber, commaLocaleReadsBothSeparators) {
    SeparatorScope sep(",");
    double value = 0;
    ASSERT_TRUE(TryParseNumber("1,5E-3", value));
    EXPECT_DOUBLE_EQ(value, 0.0015);
    ASSERT_TRUE(TryParseNumber("2.25", value));
    EXPECT_DOUBLE_EQ(value, 2.25);
}

TEST(ParseReading, overIsTheOverrangeValue) {
    double value = 0;
    ASSERT_TRUE(ParseReading(" OVER \r", value));
    EXPECT_TRUE(IsOverrange(value));
    ASSERT_TRUE(ParseReading(" 1.234E-3 ", value));
    EXPECT_DOUBLE_EQ(value, 0.001234);
    ASSERT_TRUE(ParseReading("N", value));
    EXPECT_EQ(value, 0);
}

TEST(SplitAtFirstSpace, cutsAfterTheFirstBlank) {
    const struct {
        const char* text;
        const char* first;
        const char* rest;
    } cases[] = {
        {"  1.2E-3 4.5E-3", "1.2E-3 ", "4.5E-3"},
        {"OVER N", "OVER ", "N"},
        {"a b c", "a ", "b c"},
        {"1.0", "N", "N"},
        {"   ", "N", "N"},
        {"", "N", "N"},
    };
    for (const auto& c : cases) {
        QString first, rest;
        SplitAtFirstSpace(QString::fromLatin1(c.text), first, rest);
        EXPECT_EQ(first, QString::fromLatin1(c.first)) << c.text;
        EXPECT_EQ(rest, QString::fromLatin1(c.rest)) << c.text;
    }
}

TEST(IsOverrange, singleAndDoubleFormsBothCount) {
    EXPECT_TRUE(IsOverrange(3.402823E+38));
    EXPECT_TRUE(IsOverrange(3.4028230607370965E+38));
    EXPECT_TRUE(IsOverrange(static_cast<float>(OverrangeValue)));
    EXPECT_FALSE(IsOverrange(-OverrangeValue));
    EXPECT_FALSE(IsOverrange(3.4028235E+38));  // the largest single is not the mark
    EXPECT_FALSE(IsOverrange(1E+300));
    EXPECT_FALSE(IsOverrange(0));
}

}  // namespace
