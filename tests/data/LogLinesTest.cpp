#include "data/LogLines.h"
#include "data/Overrange.h"
#include "support/SeparatorScope.h"

#include <gtest/gtest.h>

const auto Blanks = [](int n) { return QString(n, ' '); };
const float Over = static_cast<float>(OverrangeValue);

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

// Four digits take their pattern from the unrounded magnitude.
TEST(FormatFourDigitsAndScientific, spreadTheDigitsOverTheDecade) {
    SeparatorScope sep(".");
    const auto F = &FormatFourDigits, S = &FormatScientific;
    // clang-format off
    const std::tuple<decltype(F), double, const char*> cases[] = {
        {F, 9.9996, "10.000"}, {F, 0.1234, "0.123"}, {F, 0, "0.000"}, {F, -5.5, "-5.500"}, {F, 12.345, "12.35"},
        {F, 99.999, "100.00"}, {F, 123.45, "123.5"}, {F, 1234.5, "1235"}, {F, 12345.6, "12346"},
        {S, 0.0000004, "0"}, {S, 5, "5.00"}, {S, 0.0025, "2.50 E-03"}, {S, 12345, "1.23 E+04"}, {S, 1000, "1.00 E+03"},
        {S, -0.0025, "-2.50 E-03"}, {S, 0.0000005, "5.00 E-07"}, {S, 1.5E123, "1.50 E+123"}};
    // clang-format on
    for (auto [format, value, text] : cases) EXPECT_EQ(format(value), text) << value;
}
