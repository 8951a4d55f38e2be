#include "data/NumberFormat.h"
#include "data/Parsing.h"
#include "support/SeparatorScope.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

TEST(FormatNumber, patternsRoundHalfAwayAndPlaceDigits) {
    // clang-format off
    const std::tuple<double, const char*, const char*, const char*> cases[] = {
        {1.005, "0.00", ".", "1.01"},     {0.125, "0.00", ".", "0.13"},      {2.5, "0", ".", "3"},
        {-2.5, "0", ".", "-3"},           {-2.345, "0.00", ".", "-2.35"},    {9.9996, "0.000", ".", "10.000"},
        {999.9999999996, "###0.000000000", ".", "1000.000000000"},           {5, "00", ".", "05"},
        {4E-10, "###0.000000000", ".", "0.000000000"},  {1E-9, "###0.000000000", ".", "0.000000001"},
        {123, "00", ".", "123"},          {-3, "00", ".", "-03"},            {0.5, "#0.00", ".", "0.50"},
        {12345, "#0.00", ".", "12345.00"}, {1E20, "0", ".", "100000000000000000000"}, {3, "00:", ".", "03:"},
        {-0.001, "0.00", ".", "0.00"},    {-1234.5678, "0.0", ".", "-1234.6"}, {0.5, "#.00", ".", ".50"},
        {1.5, "0.00", ",", "1,50"},       {-0.25, "#0.000", ",", "-0,250"},  {9, "00.", ",", "09,"}};
    // clang-format on
    for (auto [value, pattern, separator, expected] : cases) {
        SeparatorScope sep(separator);
        EXPECT_EQ(FormatNumber(value, pattern), expected) << value << " with " << pattern;
    }
}

TEST(SingleText, shortDefaultTexts) {
    // clang-format off
    const std::tuple<float, QString, QString> cases[] = {{0.0f, ".", "0"}, {-0.0f, ".", "0"}, {100.0f, ".", "100"},
        {1234567.0f, ".", "1234567"}, {3.402823E+38f, ".", "3.402823E+38"}, {1.5E-05f, ",", "1,5E-05"}};
    // clang-format on
    for (auto [value, separator, expected] : cases) {
        SeparatorScope sep(separator);
        EXPECT_EQ(SingleText(value), expected) << value;
    }
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
