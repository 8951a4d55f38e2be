#include "data/LogLines.h"
#include "data/NumberFormat.h"
#include "data/Overrange.h"
#include "data/Parsing.h"
#include "support/SeparatorScope.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

// A pattern of nullptr is the short default text of a single.
TEST(FormatNumber, patternsRoundHalfAwaySinglesGetShortTextsAndFourDigitsSpreadOverTheDecade) {
    // clang-format off
    const std::tuple<double, const char*, const char*, const char*> cases[] = {
        {1.005, "0.00", ".", "1.01"},     {0.125, "0.00", ".", "0.13"},      {2.5, "0", ".", "3"},
        {-2.5, "0", ".", "-3"},           {-2.345, "0.00", ".", "-2.35"},    {9.9996, "0.000", ".", "10.000"},
        {999.9999999996, "###0.000000000", ".", "1000.000000000"},           {5, "00", ".", "05"},
        {4E-10, "###0.000000000", ".", "0.000000000"},  {1E-9, "###0.000000000", ".", "0.000000001"},
        {123, "00", ".", "123"},          {-3, "00", ".", "-03"},            {0.5, "#0.00", ".", "0.50"},
        {12345, "#0.00", ".", "12345.00"}, {1E20, "0", ".", "100000000000000000000"}, {3, "00:", ".", "03:"},
        {-0.001, "0.00", ".", "0.00"},    {-1234.5678, "0.0", ".", "-1234.6"}, {0.5, "#.00", ".", ".50"},
        {1.5, "0.00", ",", "1,50"},       {-0.25, "#0.000", ",", "-0,250"},  {9, "00.", ",", "09,"},
        {-0.4, "0", ".", "0"},            // rounds to 0: no sign
        {0.0, nullptr, ".", "0"},         {-0.0, nullptr, ".", "0"},         {100.0, nullptr, ".", "100"},
        {1234567.0, nullptr, ".", "1234567"}, {3.402823E+38, nullptr, ".", "3.402823E+38"},
        {1.5E-05, nullptr, ",", "1,5E-05"}};
    // clang-format on
    for (auto [value, pattern, separator, expected] : cases) {
        SeparatorScope sep(separator);
        EXPECT_EQ(pattern ? FormatNumber(value, pattern) : SingleText(float(value)), expected)
            << value << " with " << (pattern ? pattern : "no pattern");
    }
    // Four digits take their pattern from the unrounded magnitude; a mantissa that rounds to ten
    // moves on to the next decade.
    SeparatorScope sep(".");
    const auto F = &FormatFourDigits, S = &FormatScientific;
    // clang-format off
    const std::tuple<decltype(F), double, const char*> digits[] = {
        {F, 9.9996, "10.000"}, {F, 0.1234, "0.123"}, {F, 0, "0.000"}, {F, -5.5, "-5.500"}, {F, 12.345, "12.35"},
        {F, 99.999, "100.00"}, {F, 123.45, "123.5"}, {F, 1234.5, "1235"}, {F, 12345.6, "12346"}, {F, 10, "10.00"},
        {F, 100, "100.0"}, {F, 1000, "1000"}, {F, -10, "-10.00"}, {S, 0.00999999, "1.00 E-02"}, {S, 99999, "1.00 E+05"},
        {S, 0.0000004, "0"}, {S, 5, "5.00"}, {S, 0.0025, "2.50 E-03"}, {S, 12345, "1.23 E+04"}, {S, 1000, "1.00 E+03"},
        {S, -0.0025, "-2.50 E-03"}, {S, 0.0000005, "5.00 E-07"}, {S, 1.5E123, "1.50 E+123"}};
    // clang-format on
    for (auto [format, value, text] : digits) EXPECT_EQ(format(value), text) << value;
}

// Any finite single: its text reads back to the same single and fits the 16
// characters the power file reader can take.
TEST(SingleText, everySingleReadsBackUnchanged) {
    SeparatorScope sep(",");
    std::mt19937 random(12345);
    for (int i = 0; i < 200000; ++i) {
        const uint32_t bits = random();
        float f;
        std::memcpy(&f, &bits, sizeof f);
        if (!std::isfinite(f)) continue;
        const QString text = SingleText(f);
        double back = 12345;
        ASSERT_TRUE(TryParseNumber(text, back) && static_cast<float>(back) == f && text.size() <= 16)
            << text.toStdString();
    }
}

// The longest leading number; too large fails and keeps the old value (99).
TEST(TryParseNumber, readsTheLongestLeadingNumberAndOverIsTheOverrangeValue) {
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
    // A reading reply of OVER is the over-range value.
    double value = 0;
    EXPECT_TRUE(ParseReading(" OVER \r", value) && IsOverrange(value)) << value;
    EXPECT_TRUE(IsOverrange(3.4028230607370965E+38));  // the single mark held in a double
    EXPECT_FALSE(IsOverrange(3.4028235E+38));          // the largest single is not the mark
}

TEST(SplitAtFirstSpace, cutsAfterTheFirstBlank) {
    // text|first|rest
    for (const char* c :
         {"  1.2E-3 4.5E-3|1.2E-3 |4.5E-3", "OVER N|OVER |N", "a b c|a |b c", "1.0|N|N", "   |N|N", "|N|N"}) {
        QString first, rest;
        SplitAtFirstSpace(QString(c).section('|', 0, 0), first, rest);
        EXPECT_EQ(first + "|" + rest, QString(c).section('|', 1)) << c;
    }
}
