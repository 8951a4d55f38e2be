#include "app/AppState.h"
#include "data/NumberFormat.h"
#include "data/Units.h"
#include "link/LinkState.h"
#include "power/PowerTexts.h"

#include <gtest/gtest.h>

class PowerTexts : public ::testing::Test {
protected:
    void SetUp() override {
        ResetAppState();
        SetDecimalSeparator(QStringLiteral("."));
        App().BaseUnit = QStringLiteral("W");
        BuildPowerUnits();
    }
    void TearDown() override { SetDecimalSeparator(QString()); }
};

TEST_F(PowerTexts, readoutTextByReadingAndLimits) {
    struct Case {
        double reading;
        bool limitsOn;
        const char* text;
    };
    // Graph limits 1 W .. 2 W.
    const Case cases[] = {
        {0.01234, false, "12.34mW"}, {0.5, true, "UNDER"},   {0.5, false, "500.0mW"},
        {2.5, true, "OVER"},         {2.5, false, "2.500W"}, {0, false, "0W"},
        {4e-7, false, "0W"},         {1.5, true, "1.500W"},  {1234.5, false, "1.235kW"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReadingText(c.reading, c.limitsOn, 1, 2), QString(c.text)) << c.reading << " " << c.limitsOn;
    EXPECT_EQ(OverrangeText(true), "OVER");
    EXPECT_EQ(OverrangeText(false), "Overrange");
}

TEST_F(PowerTexts, readoutFollowsTheBaseUnit) {
    App().BaseUnit = QStringLiteral("Lx");
    BuildPowerUnits();
    EXPECT_EQ(ReadingText(0, false, 0, 1), "0Lx");
    EXPECT_EQ(ReadingText(0.02, false, 0, 1), "20.00mLx");
}

TEST_F(PowerTexts, statisticsLineHasItsOwnPrefixAndTwoDecimals) {
    EXPECT_EQ(StatisticsText(kMinPrefix, 0.01234), "Min:  12.34mW");
    EXPECT_EQ(StatisticsText(kStDevPrefix, 0), "St.Dev.:  0.00pW");  // zero takes the lowest prefix
    EXPECT_EQ(StatisticsText(kAveragePrefix, 2.5e-6), "Average:  2.50uW");
}

TEST(PowerPolling, nextRequestByHeadAndModel) {
    struct Case {
        int16_t head, device;
        bool send;
        int16_t state;
        const char* command;
        double timeout;
    };
    const Case cases[] = {
        {1, 4, true, 3, "SP", 5.0},  {3, 0, true, 3, "SP", 5.0},  {5, 2, true, 3, "SP", 5.0},
        {6, 8, true, 3, "SP", 5.0},  {2, 0, true, 3, "SP", 1.0},  {4, 0, true, 3, "SP", 1.0},
        {2, 1, true, 2, "EF", kQueryTimeout}, {4, 2, true, 2, "EF", kQueryTimeout},
        {2, 3, true, 2, "EF", kQueryTimeout}, {2, 8, true, 2, "EF", kQueryTimeout},
        {2, 5, false, 0, "", 0},     {0, 0, false, 0, "", 0},     {7, 0, false, 0, "", 0},
    };
    for (const Case& c : cases) {
        PollStep s = NextPoll(c.head, c.device);
        EXPECT_EQ(s.Send, c.send) << c.head << "/" << c.device;
        if (!c.send) continue;
        EXPECT_EQ(s.State, c.state) << c.head << "/" << c.device;
        EXPECT_STREQ(s.Command, c.command) << c.head << "/" << c.device;
        EXPECT_DOUBLE_EQ(s.Timeout, c.timeout) << c.head << "/" << c.device;
    }
}
