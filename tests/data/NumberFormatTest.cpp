#include "SeparatorScope.h"
#include "data/NumberFormat.h"
#include "data/Parsing.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>

namespace {

struct FormatCase {
    double value;
    const char* pattern;
    const char* separator;
    const char* expected;
};

TEST(FormatNumber, patternsRoundHalfAwayAndPlaceDigits) {
    const FormatCase cases[] = {
        // rounding half away from zero, as the decimal text reads
        {1.005, "0.00", ".", "1.01"},
        {0.125, "0.00", ".", "0.13"},
        {2.5, "0", ".", "3"},
        {-2.5, "0", ".", "-3"},
        {-2.345, "0.00", ".", "-2.35"},
        {9.9996, "0.000", ".", "10.000"},
        {999.9999999996, "###0.000000000", ".", "1000.000000000"},
        {4E-10, "###0.000000000", ".", "0.000000000"},
        {1E-9, "###0.000000000", ".", "0.000000001"},
        // "0" always shown, "#" only when significant
        {5, "00", ".", "05"},
        {123, "00", ".", "123"},
        {0.5, "#.00", ".", ".50"},
        {0.5, "#0.00", ".", "0.50"},
        {1.5, "0.0#", ".", "1.5"},
        {1.25, "0.0#", ".", "1.25"},
        {1.0, "0.##", ".", "1."},
        {0, "#000.000000", ".", "000.000000"},
        {12345, "#0.00", ".", "12345.00"},
        {1E20, "0", ".", "100000000000000000000"},
        // literal characters stay where they stand
        {3, "00:", ".", "03:"},
        {9, "00.", ".", "09."},
        {12.345, "0.00 s", ".", "12.35 s"},
        {-4, "$0", ".", "-$4"},
        // sign
        {-3, "00", ".", "-03"},
        {-0.001, "0.00", ".", "0.00"},
        {-1234.5678, "0.0", ".", "-1234.6"},
        // the separator is the locale's, never the pattern's point
        {1.5, "0.00", ",", "1,50"},
        {-0.25, "#0.000", ",", "-0,250"},
        {9, "00.", ",", "09,"},
    };
    for (const auto& c : cases) {
        SeparatorScope sep(QString::fromLatin1(c.separator));
        EXPECT_EQ(FormatNumber(c.value, QString::fromLatin1(c.pattern)), QString::fromLatin1(c.expected))
            << c.value << " with " << c.pattern;
    }
}

TEST(FormatNumber, nonNumbersGiveWordsNotGarbage) {
    EXPECT_EQ(FormatNumber(std::nan(""), "0.00"), "NaN");
    EXPECT_EQ(FormatNumber(-std::numeric_limits<double>::infinity(), "0.00"), "-Inf");
}

TEST(RoundDecimals, matchesTheFormattedDigits) {
    EXPECT_EQ(RoundDecimals(999.9999999996, 9), 1000.0);
    EXPECT_EQ(RoundDecimals(4E-10, 9), 0.0);
    EXPECT_EQ(RoundDecimals(1E-9, 9), 1E-9);
    EXPECT_EQ(RoundDecimals(-2.345, 2), -2.35);
    EXPECT_EQ(RoundDecimals(3.402823E+38, 9), 3.402823E+38);
}

TEST(SingleText, shortDefaultTexts) {
    const struct {
        float value;
        const char* separator;
        const char* expected;
    } cases[] = {
        {0.3f, ".", "0.3"},
        {0.0f, ".", "0"},
        {-0.0f, ".", "0"},
        {100.0f, ".", "100"},
        {-2.5f, ".", "-2.5"},
        {1234567.0f, ".", "1234567"},
        {0.0012f, ".", "0.0012"},
        {0.0001f, ".", "0.0001"},
        {0.00001f, ".", "1E-05"},
        {1.234568E-05f, ".", "1.234568E-05"},
        {static_cast<float>(3.402823E+38), ".", "3.402823E+38"},
        {1E+15f, ".", "1E+15"},
        {-4.5E-20f, ".", "-4.5E-20"},
        {1.5f, ",", "1,5"},
        {1.5E-05f, ",", "1,5E-05"},
    };
    for (const auto& c : cases) {
        SeparatorScope sep(QString::fromLatin1(c.separator));
        EXPECT_EQ(SingleText(c.value), QString::fromLatin1(c.expected)) << c.value;
    }
}

// Every finite single: the text reads back to the same single and fits the
// 16 characters the power file reader can take.
TEST(SingleText, everySingleReadsBackUnchanged) {
    for (const char* separator : {".", ","}) {
        SeparatorScope sep(QString::fromLatin1(separator));
        std::mt19937 random(12345);
        for (int i = 0; i < 100000; ++i) {
            uint32_t bits = random();
            float f;
            std::memcpy(&f, &bits, sizeof f);
            if (!std::isfinite(f)) continue;
            const QString text = SingleText(f);
            double back = 12345;
            ASSERT_TRUE(TryParseNumber(text, back)) << text.toStdString();
            ASSERT_EQ(static_cast<float>(back), f) << text.toStdString();
            ASSERT_LE(text.size(), 16) << text.toStdString();
        }
    }
}

// A reading the meter sent with 7 digits keeps at most 7 in our files.
TEST(SingleText, sevenDigitReadingsKeepAtMostSevenDigits) {
    SeparatorScope sep(".");
    std::mt19937 random(777);
    for (int i = 0; i < 20000; ++i) {
        char sent[32];
        std::snprintf(sent, sizeof sent, "%d.%06dE%d", 1 + static_cast<int>(random() % 9),
                      static_cast<int>(random() % 1000000), static_cast<int>(random() % 40) - 20);
        float f = 0;
        std::from_chars(sent, sent + std::strlen(sent), f);
        const QString text = SingleText(f);
        QString digits = text.section(QLatin1Char('E'), 0, 0);
        digits.remove(QLatin1Char('-')).remove(QLatin1Char('.'));
        while (digits.startsWith(QLatin1Char('0'))) digits.remove(0, 1);
        while (digits.endsWith(QLatin1Char('0'))) digits.chop(1);
        ASSERT_LE(digits.size(), 7) << sent << " -> " << text.toStdString();
    }
}

}  // namespace
