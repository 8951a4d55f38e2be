#include "SeparatorScope.h"
#include "data/LogLines.h"
#include "data/Overrange.h"

#include <gtest/gtest.h>

namespace {

const QString Tab = "\t";
QString Blanks(int n) { return QString(n, ' '); }

TEST(PadRight, trimsTheCallersTextAndPads) {
    QString text = "  abc ";
    EXPECT_EQ(PadRight(text, 6), "abc   ");
    EXPECT_EQ(text, "abc");
    QString longer = " abcdefgh";
    EXPECT_EQ(PadRight(longer, 4), "abcdefgh");
    QString empty;
    EXPECT_EQ(PadRight(empty, 3), "   ");
}

TEST(FormatLogLine, valueFieldTabAndTime) {
    SeparatorScope sep(".");
    EXPECT_EQ(FormatLogLine(static_cast<float>(OverrangeValue), 1.5, true), "Overrange" + Blanks(9) + Tab + "1.50");
    EXPECT_EQ(FormatLogLine(0.0012f, 1.5, true), "0.0012" + Blanks(12) + Tab + "1.50");
    EXPECT_EQ(FormatLogLine(0.3f, 0, false), "0.3" + Blanks(15) + Tab);
    EXPECT_EQ(FormatLogLine(-1.234568E-05f, 12345.678, true), "-1.234568E-05" + Blanks(5) + Tab + "12345.68");
}

TEST(FormatLogLine, commaLocaleInValueAndTime) {
    SeparatorScope sep(",");
    EXPECT_EQ(FormatLogLine(0.0012f, 1.5, true), "0,0012" + Blanks(12) + Tab + "1,50");
}

TEST(FormatDualLogLine, twoValueFields) {
    SeparatorScope sep(".");
    EXPECT_EQ(FormatDualLogLine(1.5f, static_cast<float>(OverrangeValue), 2.25, true),
              "1.5" + Blanks(15) + Tab + "Overrange" + Blanks(9) + Tab + "2.25");
    EXPECT_EQ(FormatDualLogLine(0, -2, 7, false), "0" + Blanks(17) + Tab + "-2" + Blanks(16) + Tab);
}

TEST(FormatFourDigits, patternFromTheUnroundedMagnitude) {
    SeparatorScope sep(".");
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {9.9996, "10.000"}, {0.1234, "0.123"}, {0, "0.000"},     {-5.5, "-5.500"},
        {12.345, "12.35"},  {99.999, "100.00"}, {123.45, "123.5"}, {1234.5, "1235"},
        {12345.6, "12346"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatFourDigits(c.value), c.text) << c.value;
}

TEST(FormatScientific, mantissaAndDecade) {
    SeparatorScope sep(".");
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {0.0000004, "0"},        {0, "0"},
        {5, "5.00"},             {0.0025, "2.50 E-03"},
        {12345, "1.23 E+04"},    {1000, "1.00 E+03"},
        {-0.0025, "-2.50 E-03"}, {0.0000005, "5.00 E-07"},
        {1.5E123, "1.50 E+123"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatScientific(c.value), c.text) << c.value;
}

}  // namespace
