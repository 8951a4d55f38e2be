// The read-out texts of two-channel power data: the cases the logging
// windows do not reach (DualPowerEngineTests has the others).

#include "data/NumberFormat.h"
#include "data/Overrange.h"
#include "data/Units.h"
#include "dual/DualTexts.h"
#include "state/AppState.h"

#include <gtest/gtest.h>

namespace {

class DualTextsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetAppState();
        SetDecimalSeparator(QStringLiteral("."));
        App().BaseUnit = QStringLiteral("W");
        BuildPowerUnits();
    }
    void TearDown() override {
        SetDecimalSeparator(QString());
        ResetAppState();
    }
};

// Two decimals with the decade, no sign on a positive one, the mantissa rounding up into the next
// decade; LOW for zero, negative or tiny.
TEST_F(DualTextsTest, ratioReadoutShowsTwoDecimalsWithTheDecadeAndLowForZeroOrNegative) {
    const std::tuple<double, double, const char*> cases[] = {
        {0.0025, 1, "2.50E-3"}, {5, 1, "5.00"},      {0.5, 2, "1.00"},         {12.5, 1, "1.25E1"},
        {0.0000004, 1, "LOW"},  {-2, 1, "LOW"},      {-0.5, 1, "LOW"},         {0.0000006, 1, "6.00E-7"},
        {0.5, 1, "5.00E-1"},    {1500, 1, "1.50E3"}, {0.0099999, 1, "1.00E-2"}};
    for (auto [ratio, factor, text] : cases)
        EXPECT_EQ(RatioDisplayText(ratio, factor).toStdString(), text) << ratio << " x " << factor;
    EXPECT_EQ(RatioDisplayText(OverrangeValue, 1), "Overrange");
}

TEST_F(DualTextsTest, differenceReadoutAndLabels) {
    EXPECT_EQ(DifferenceDisplayText(-0.0125, 0), "-12.5mW");
    EXPECT_EQ(DifferenceDisplayText(OverrangeValue, 0), "Overrange");
    EXPECT_EQ(NormFactorText(true, 0.99999999), "1.00") << "not 10.00 E-01";
    EXPECT_EQ(RatioStatisticsText("Average:  ", 4, 0.25), "Average:  1.00");
}

}  // namespace
