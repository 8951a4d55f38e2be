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

TEST_F(DualTextsTest, ratioReadout) {
    const struct {
        double ratio;
        const char* text;
    } cases[] = {
        {-0.5, "LOW"},           // negative
        {0.5, "5.00E-1"},        // below 1: a negative decade
        {1500, "1.50E3"},        // a positive decade, no sign
        {0.0099999, "1.00E-2"},  // the mantissa rounds up to the next decade
        {OverrangeValue, "Overrange"},
    };
    for (const auto& c : cases) EXPECT_EQ(RatioDisplayText(c.ratio, 1).toStdString(), c.text) << c.ratio;
}

TEST_F(DualTextsTest, differenceReadoutAndLabels) {
    EXPECT_EQ(DifferenceDisplayText(-0.0125, 0), "-12.5mW");
    EXPECT_EQ(DifferenceDisplayText(OverrangeValue, 0), "Overrange");
    EXPECT_EQ(NormFactorText(true, 0.99999999), "1.00") << "not 10.00 E-01";
    EXPECT_EQ(RatioStatisticsText("Average:  ", 4, 0.25), "Average:  1.00");
}

}  // namespace
