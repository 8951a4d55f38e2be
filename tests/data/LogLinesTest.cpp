#include "SeparatorScope.h"
#include "data/LogLines.h"
#include "data/Overrange.h"

#include <gtest/gtest.h>

namespace {

QString Blanks(int n) {
    return QString(n, ' ');
}
const float Over = static_cast<float>(OverrangeValue);

TEST(PadRight, trimsTheCallersTextAndPads) {
    QString text = "  abc ";
    EXPECT_EQ(PadRight(text, 6), "abc   ");
    EXPECT_EQ(text, "abc");
    QString longer = " abcdefgh";
    EXPECT_EQ(PadRight(longer, 4), "abcdefgh");
}

TEST(FormatLogLine, valueFieldsTabsAndTime) {
    SeparatorScope sep(".");
    EXPECT_EQ(FormatLogLine(Over, 1.5, true), "Overrange" + Blanks(9) + "\t1.50");
    EXPECT_EQ(FormatLogLine(0.0012f, 1.5, true), "0.0012" + Blanks(12) + "\t1.50");
    EXPECT_EQ(FormatLogLine(0.3f, 0, false), "0.3" + Blanks(15) + "\t");
    EXPECT_EQ(FormatLogLine(-1.234568E-05f, 12345.678, true), "-1.234568E-05" + Blanks(5) + "\t12345.68");
    EXPECT_EQ(FormatDualLogLine(1.5f, Over, 2.25, true),
              "1.5" + Blanks(15) + "\tOverrange" + Blanks(9) + "\t2.25");
    EXPECT_EQ(FormatDualLogLine(0, -2, 7, false), "0" + Blanks(17) + "\t-2" + Blanks(16) + "\t");
    SeparatorScope comma(",");
    EXPECT_EQ(FormatLogLine(0.0012f, 1.5, true), "0,0012" + Blanks(12) + "\t1,50");
}

TEST(FormatFourDigits, patternFromTheUnroundedMagnitude) {
    SeparatorScope sep(".");
    const std::pair<double, const char*> cases[] = {
        {9.9996, "10.000"}, {0.1234, "0.123"}, {0, "0.000"},     {-5.5, "-5.500"},  {12.345, "12.35"},
        {99.999, "100.00"}, {123.45, "123.5"}, {1234.5, "1235"}, {12345.6, "12346"}};
    for (const auto& [value, text] : cases) EXPECT_EQ(FormatFourDigits(value), text) << value;
}

TEST(FormatScientific, mantissaAndDecade) {
    SeparatorScope sep(".");
    const std::pair<double, const char*> cases[] = {{0.0000004, "0"},         {5, "5.00"},
                                                    {0.0025, "2.50 E-03"},    {12345, "1.23 E+04"},
                                                    {1000, "1.00 E+03"},      {-0.0025, "-2.50 E-03"},
                                                    {0.0000005, "5.00 E-07"}, {1.5E123, "1.50 E+123"}};
    for (const auto& [value, text] : cases) EXPECT_EQ(FormatScientific(value), text) << value;
}

}  // namespace
