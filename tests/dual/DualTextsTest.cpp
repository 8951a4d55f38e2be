// The read-out texts of two-channel power data.

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
        double ratio, factor;
        const char* text;
    } cases[] = {
        {0.0000004, 1, "LOW"},                                             // vanishes at six decimals
        {-0.5, 1, "LOW"},      {0.0025, 1, "2.50E-3"}, {4, 0.25, "1.00"},  // normalised by an average of 4
        {0.5, 1, "5.00E-1"},   {1500, 1, "1.50E3"},    {OverrangeValue, 1, "Overrange"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RatioDisplayText(c.ratio, c.factor).toStdString(), c.text) << c.ratio << " x " << c.factor;
}

TEST_F(DualTextsTest, differenceReadout) {
    const struct {
        double difference, offset;
        const char* text;
    } cases[] = {
        {0.005 - 0.003, 0, "2.0mW"},      {0.002, 0.002, "0W"},  // offset taken from an average of 2 mW
        {-0.0125, 0, "-12.5mW"},          {-OverrangeValue, 0, "Underrange"},
        {OverrangeValue, 0, "Overrange"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DifferenceDisplayText(c.difference, c.offset).toStdString(), c.text) << c.difference;
}

TEST_F(DualTextsTest, factorAndOffsetLabels) {
    EXPECT_EQ(NormFactorText(true, 0.25), "2.50 E-01");
    EXPECT_EQ(NormFactorText(true, 0.99999999), "1.00") << "not 10.00 E-01";
    EXPECT_EQ(NormFactorText(false, 1), "None");
    EXPECT_EQ(OffsetText(true, 0.002), "2.00mW");
    EXPECT_EQ(OffsetText(false, 0), "Zero");
    EXPECT_EQ(RatioStatisticsText("Average:  ", 4, 0.25), "Average:  1.00");
}

}  // namespace
