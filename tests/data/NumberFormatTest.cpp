#include "SeparatorScope.h"
#include "data/NumberFormat.h"
#include "data/Parsing.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace {

TEST(FormatNumber, patternsRoundHalfAwayAndPlaceDigits) {
    const struct {
        double value;
        const char *pattern, *separator, *expected;
    } cases[] = {{1.005, "0.00", ".", "1.01"},
                 {0.125, "0.00", ".", "0.13"},
                 {2.5, "0", ".", "3"},
                 {-2.5, "0", ".", "-3"},
                 {-2.345, "0.00", ".", "-2.35"},
                 {9.9996, "0.000", ".", "10.000"},
                 {999.9999999996, "###0.000000000", ".", "1000.000000000"},
                 {4E-10, "###0.000000000", ".", "0.000000000"},
                 {1E-9, "###0.000000000", ".", "0.000000001"},
                 {5, "00", ".", "05"},
                 {123, "00", ".", "123"},
                 {0.5, "#.00", ".", ".50"},
                 {0.5, "#0.00", ".", "0.50"},
                 {1.5, "0.0#", ".", "1.5"},
                 {1.25, "0.0#", ".", "1.25"},
                 {1.0, "0.##", ".", "1."},
                 {12345, "#0.00", ".", "12345.00"},
                 {1E20, "0", ".", "100000000000000000000"},
                 {3, "00:", ".", "03:"},
                 {12.345, "0.00 s", ".", "12.35 s"},
                 {-4, "$0", ".", "-$4"},
                 {5.25, "$.0", ".", "$5.3"},
                 {-3, "00", ".", "-03"},
                 {-0.001, "0.00", ".", "0.00"},
                 {-1234.5678, "0.0", ".", "-1234.6"},
                 {1.5, "0.00", ",", "1,50"},
                 {-0.25, "#0.000", ",", "-0,250"},
                 {9, "00.", ",", "09,"}};
    for (const auto& c : cases) {
        SeparatorScope sep(c.separator);
        EXPECT_EQ(FormatNumber(c.value, c.pattern), c.expected) << c.value << " with " << c.pattern;
    }
}

TEST(SingleText, shortDefaultTexts) {
    const struct {
        float value;
        const char *separator, *expected;
    } cases[] = {{0.3f, ".", "0.3"},
                 {0.0f, ".", "0"},
                 {-0.0f, ".", "0"},
                 {100.0f, ".", "100"},
                 {-2.5f, ".", "-2.5"},
                 {1234567.0f, ".", "1234567"},
                 {0.0012f, ".", "0.0012"},
                 {0.0001f, ".", "0.0001"},
                 {0.00001f, ".", "1E-05"},
                 {1.234568E-05f, ".", "1.234568E-05"},
                 {3.402823E+38f, ".", "3.402823E+38"},
                 {1E+15f, ".", "1E+15"},
                 {-4.5E-20f, ".", "-4.5E-20"},
                 {1.5f, ",", "1,5"},
                 {1.5E-05f, ",", "1,5E-05"}};
    for (const auto& c : cases) {
        SeparatorScope sep(c.separator);
        EXPECT_EQ(SingleText(c.value), c.expected) << c.value;
    }
}

// Any finite single: its text reads back to the same single and fits the 16
// characters the power file reader can take.
TEST(SingleText, everySingleReadsBackUnchanged) {
    for (const char* separator : {".", ","}) {
        SeparatorScope sep(separator);
        std::mt19937 random(12345);
        for (int i = 0; i < 100000; ++i) {
            const uint32_t bits = random();
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
}  // namespace
