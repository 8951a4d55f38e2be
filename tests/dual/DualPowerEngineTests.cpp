// Power ratio and power difference logging: pairing of half replies, the
// read-outs, normalising and offset, and directions.

#include "tests/power/PowerHarness.h"

#include "data/Overrange.h"
#include "dual/DualPowerProfiles.h"
#include "dual/DualTexts.h"
#include "link/Dispatch.h"

namespace {

// Two thermopile heads on a two-channel meter, the engine of `profile`.
class DualPowerTest : public PowerTest {
protected:
    explicit DualPowerTest(const PowerProfile& profile) : PowerTest(profile) {}
    void SetUp() override {
        PowerTest::SetUp();
        TestMeter().DeviceType = MeterModel::MeridelTwo;
        CurrentSettings().PowerRatio.RatioLogTime = CurrentSettings().PowerDifference.DifferenceLogTime = 100;
        TestMeter().Channels[1] = TestMeter().Channels[0];  // a second thermopile head
        WorkFiles().PowerRatioWorkFile = WorkFiles().PowerDifferenceWorkFile = dir.Path("kelvaro.dpw");
        clock.Set(1000);
    }
    // Start and answer the first request: replies are readings from then on.
    void StartDual() {
        engine.StartStop();
        Answer("*0 0");
    }
    // A reply one second after the previous one (the read-out is due).
    void Answer(const QString& text) { ReadingAfter(1, text); }
    // The adjustment button's caption and the label of the factor or offset.
    using Shown = std::pair<QString, QString>;
    Shown Adjustment() const { return {engine.Display.AdjustCaption, engine.Display.AdjustLabel}; }
};

struct RatioTest : DualPowerTest {
    RatioTest() : DualPowerTest(kPowerRatioProfile) {}
};
struct DifferenceTest : DualPowerTest {
    DifferenceTest() : DualPowerTest(kPowerDifferenceProfile) {}
};

TEST_F(RatioTest, halfRepliesPairAcrossRepliesAndEveryReplyIsAnsweredWithSB) {
    StartDual();
    const std::pair<const char*, int32_t> steps[] = {
        // reply, points after it
        {"*1.0E-3 N", 0},      // A waits (the pairing rules: ChannelPairing test)
        {"*N 2.0E-3", 1},      // ... for the next B: A/B 0.5
        {"*x N", 1},           // A of no number: 0, waits
        {"garbage", 1},        // no marker
        {"*2.0E-3 1.0E-3", 2}  // both: A/B 2
    };
    for (const auto& [reply, points] : steps) {
        const qsizetype sent = port.Commands().size();
        Answer(reply);
        EXPECT_EQ(engine.PointsOnShow(), points) << reply;
        EXPECT_TRUE(port.Commands().size() == sent + 1 && port.Commands().last() == "SB") << reply;
    }
    for (auto [direction, point, ratio] : {std::tuple{0, 1, 0.5}, {1, 1, 2.0}, {0, 2, 2.0}, {1, 2, 0.5}})
        EXPECT_FLOAT_EQ(engine.Store(direction).PowerData[size_t(point)].AvgValue, ratio)
            << direction << " " << point;
    EXPECT_EQ(engine.Stats(0).Count, 2);
}

// A refused request is asked again; ten refusals in a row stop the run with
// one message, and what it logged stays for saving.
TEST_F(RatioTest, refusedRequestsAreAskedAgainUntilTenInARowStopTheRun) {
    StartDual();
    Answer("*2 1");
    const qsizetype sent = port.Commands().size();
    auto refuse = [&](int times) {
        for (int i = 0; i < times; ++i) engine.PowerLog(kRefusedReplyOp, "?\r");
    };
    refuse(9);
    Answer("*4 1");  // an answer starts the count afresh
    refuse(9);
    EXPECT_EQ(
        std::tuple(engine.Stopped, port.Commands().size(), port.Commands().last(), prompts.messages.size()),
        std::tuple(false, sent + 19, QString("SB"), size_t(0)));
    refuse(1);  // the tenth in a row: nothing more is sent
    EXPECT_EQ(std::tuple(engine.Stopped, engine.Display.StartStopCaption, port.Commands().size(),
                         engine.NotSaved, engine.PointsOnShow()),
              std::tuple(true, QString("&Start"), sent + 19, true, 2));
    EXPECT_TRUE(prompts.Texts().size() == 1 && prompts.Texts()[0].contains("refused 10 requests"));
}

// No average, or one whose inverse no double holds: a beep and no factor.
TEST_F(RatioTest, normalisingWithoutAUsableAverageBeeps) {
    StartDual();
    for (const char* reply : {"*N N", "*1E-300 1E10"}) {
        Answer(reply);
        engine.ToggleAdjustment();
    }
    EXPECT_EQ(std::tuple(prompts.beeps, engine.Adjusted, engine.Display.AdjustLabel),
              std::tuple(2, false, QString("None")));
}

// Another direction undoes it: the ratio window's test.
TEST_F(RatioTest, normalisingByTheAverageScalesTheReadoutNotTheStore) {
    StartDual();
    for (const char* r : {"*3 1", "*5 1"}) Answer(r);  // average A/B 4
    engine.ToggleAdjustment();
    EXPECT_EQ(std::pair(Adjustment(), engine.Scale), std::pair(Shown("DeNormalize", "2.50 E-01"), 0.25));
    Answer("*4 1");
    EXPECT_EQ(engine.Display.ReadingText, "1.00");
    EXPECT_DOUBLE_EQ(engine.Stats(0).Average(), 4) << "stored ratios are never normalised";
}

// The read-out, Min, Max and Average are shown less the offset, the spread as it is; the
// offset belongs to its run: Reset and a fresh start after a finished run clear it.
TEST_F(DifferenceTest, readoutAndStatisticsAreLessTheOffsetAndTheOffsetEndsWithItsRun) {
    StartDual();
    Answer("*5.0E-3 3.0E-3");
    EXPECT_EQ(engine.Display.ReadingText, "2.0mW");
    Answer("*5.0E-3 OVER");
    EXPECT_EQ(std::pair(engine.Display.ReadingText, prompts.beeps), std::pair(QString("Underrange"), 1));
    Answer("*7.0E-3 3.0E-3");   // 4 mW
    engine.ToggleAdjustment();  // the average A-B, over range left out: 3 mW
    EXPECT_EQ(Adjustment(), Shown("Undo Offset", "3.00mW"));
    Answer("*6.0E-3 3.0E-3");
    EXPECT_EQ(engine.Display.ReadingText, "0W");
    Answer("*1.0E-2 3.0E-3");  // 7 mW: less the offset -1, 1, 0 and 4 mW, the spread root(14/3)
    EXPECT_EQ(engine.StatisticsLines(), (std::array<QString, 4>{"Min:  -1.00mW", "Max:  4.00mW",
                                                                "Average:  1.00mW", "St.Dev.:  2.16mW"}));
    for (bool byReset : {true, false}) {
        if (!byReset) {
            StartDual();
            Answer("*5.0E-3 3.0E-3");
            engine.ToggleAdjustment();
            clock.Advance(100);
            Answer("*5.0E-3 3.0E-3");  // ends the run
            ASSERT_FALSE(engine.RunActive);
        }
        ASSERT_TRUE(engine.Adjusted);
        byReset ? engine.Reset(false) : engine.StartStop();
        EXPECT_EQ(std::pair(engine.Shift, Adjustment()), std::pair(0.0, Shown("Offset", "Zero"))) << byReset;
    }
}

// A merged point keeps minus over range out of its average (0.1 s points).
TEST_F(DifferenceTest, minusOverrangeStaysOutOfAMergedPoint) {
    CurrentSettings().PowerDifference.DifferenceLogTime = 600;
    StartDual();
    for (const char* r : {"*5.0E-3 3.0E-3", "*5.0E-3 OVER", "*5.0E-3 1.0E-3"}) {
        clock.Advance(-0.98);  // 20 ms apart
        Answer(r);
    }
    ASSERT_EQ(engine.PointsOnShow(), 1);
    EXPECT_FLOAT_EQ(engine.Store(0).PowerData[1].AvgValue, 0.003f);
    EXPECT_EQ(PowerStore::PointValue(engine.Store(0).PowerData[1]), -OverrangeValue);
    EXPECT_EQ(PowerStore::PointValue(engine.Store(1).PowerData[1]), OverrangeValue);
}

// The read-out texts of two-channel data, beyond the cases a run reaches above.
// Two decimals with the decade, no sign on a positive one, the mantissa rounding up into the next
// decade; LOW for zero, negative or tiny. A ratio's statistics are shown times the factor.
TEST(DualTexts, ratioReadoutShowsTwoDecimalsWithTheDecadeAndLowForZeroOrNegative) {
    const std::tuple<double, double, const char*> cases[] = {
        {0.0025, 1, "2.50E-3"}, {5, 1, "5.00"},      {0.5, 2, "1.00"},         {12.5, 1, "1.25E1"},
        {0.0000004, 1, "LOW"},  {-2, 1, "LOW"},      {-0.5, 1, "LOW"},         {0.0000006, 1, "6.00E-7"},
        {0.5, 1, "5.00E-1"},    {1500, 1, "1.50E3"}, {0.0099999, 1, "1.00E-2"}};
    for (auto [ratio, factor, text] : cases)
        EXPECT_EQ(RatioDisplayText(ratio, factor).toStdString(), text) << ratio << " x " << factor;
    EXPECT_EQ(RatioDisplayText(OverrangeValue, 1), "Overrange");
    EXPECT_EQ(DifferenceDisplayText(OverrangeValue, 0, UnitScale()), "Overrange");
    EXPECT_EQ(RatioStatisticsText("Average:  ", 4, 0.25), "Average:  1.00");
}

}  // namespace
