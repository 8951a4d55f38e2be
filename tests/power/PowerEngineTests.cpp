#include "PowerHarness.h"

#include "power/PowerTexts.h"
#include "support/RecordingSurface.h"

TEST(PowerPolling, nextCommandFollowsTheHeadAndTheModel) {
    // head type, device type -> command, poll state, time-out; empty: nothing is sent
    const std::tuple<int16_t, int16_t, QString> cases[] = {
        {1, 4, "SP 3 5"}, {3, 0, "SP 3 5"},   {5, 2, "SP 3 5"},   {6, 8, "SP 3 5"},   {2, 0, "SP 3 1"},
        {4, 0, "SP 3 1"}, {2, 1, "EF 2 0.3"}, {4, 2, "EF 2 0.3"}, {2, 3, "EF 2 0.3"}, {2, 8, "EF 2 0.3"},
        {2, 4, ""},       {4, 7, ""},         {0, 0, ""},         {7, 1, ""}};
    for (const auto& [head, device, step] : cases) {
        const PollStep p = NextPoll(HeadKind(head), MeterModel(device));
        EXPECT_EQ(p.Send ? QString("%1 %2 %3").arg(p.Command).arg(p.State).arg(p.Timeout) : QString(), step)
            << head << "/" << device;
    }
}

TEST_F(PowerTest, pyroelectricHeadWaitsForThePulseFlagBeforeEachReading) {
    TestMeter().Channels[0].HeadType = HeadKind::Pyroelectric;
    TestMeter().DeviceType = MeterModel::Talon2;
    StartLogging();
    // reply -> expected poll state and last command
    const std::tuple<const char*, int, const char*> steps[] = {
        {"*0", 2, "EF"}, {"*1", 3, "SP"}, {"*2.5E-3", 2, "EF"}};
    for (auto [reply, state, command] : steps) {
        ReadingAfter(0.1, reply);
        EXPECT_EQ(engine.PollState, state) << reply;
        EXPECT_EQ(port.Commands().last(), command) << reply;
    }
    EXPECT_EQ(engine.Store().PointCount, 1);
}

TEST_F(PowerTest, readoutShowsLimitsOverrangeAndZero) {
    std::tie(CurrentSettings().Power.GraphLow, CurrentSettings().Power.GraphHigh) = std::pair(1.0, 2.0);
    const std::tuple<bool, const char*, const char*> cases[] = {
        {true, "*0.5", "UNDER"},         {true, "*OVER", "OVER"},
        {false, "*OVER", "Overrange"},   {false, "*0", "0W"},
        {false, "*4E-7", "0W"},          {true, "*2.5", "OVER"},
        {false, "*1.234E-2", "12.34mW"}, {true, "*1.5", "1.500W"}};
    StartLogging();
    for (auto [limitsOn, reply, text] : cases) {
        engine.SetLimitsOn(limitsOn);
        ReadingAfter(0.5, reply);
        EXPECT_EQ(engine.Display.ReadingText, QString(text)) << reply << " " << limitsOn;
    }
}

TEST_F(PowerTest, readoutWaitsAtLeastTheSingle0_46666SecondsBetweenRefreshes) {
    StartLogging();
    // clock readings exact in binary: t3 is the single 0.46666 s after the first refresh
    const double t3 = 1000 + double(0.46666f);
    const std::pair<double, const char*> steps[] = {
        {1000, "1.000W"}, {1000.46665, "1.000W"}, {t3, "3.000W"}, {t3 + 0.1, "3.000W"}, {t3 + 0.5, "5.000W"}};
    for (int i = 0; i < 5; ++i) {
        clock.Set(steps[i].first);
        Reply("*" + QString::number(i + 1));
        EXPECT_EQ(engine.Display.ReadingText, steps[i].second) << i;
    }
    EXPECT_EQ(pointsDrawn, 5);  // the chart grows with every reading
}

// An over-range reading between the two valid ones stays out of the statistics.
TEST_F(PowerTest, statisticsLabelsFollowTheStatModeAndSkipOverrange) {
    const std::pair<int16_t, std::array<bool, 4>> cases[] = {
        {1, {true, true, false, false}}, {2, {false, false, true, true}}, {3, {true, true, true, true}}};
    for (auto [mode, visible] : cases) {
        CurrentSettings().Power.StatMode = mode;
        engine.Reset(false);
        StartLogging();
        EXPECT_EQ(engine.Display.StatVisible, (std::array<bool, 4>{}));
        for (const char* r : {"*1.0E-3", "*OVER", "*3.0E-3"}) ReadingAfter(1, r);
        EXPECT_EQ(engine.Display.StatVisible, visible) << mode;
        EXPECT_EQ(engine.Stats().Count, 2);
    }
    EXPECT_EQ(engine.Display.StatLabels, (std::array<QString, 4>{"Min:  1.00mW", "Max:  3.00mW",
                                                                 "Average:  2.00mW", "St.Dev.:  1.41mW"}));
    EXPECT_EQ(prompts.beeps, 3);  // one per over-range reading
}

TEST_F(PowerTest, runEndsAtTheLogTimeWithOneBeepAndAsksForNothingMoreEvenIfAllOverrange) {
    CurrentSettings().Power.LogTime = 10;
    StartLogging();
    for (int i = 0; i < 10; ++i) ReadingAfter(i == 0 ? 0.3 : 1.0, "*1.0E-3");
    EXPECT_FALSE(engine.Stopped);
    const int sent = port.Commands().size();
    ReadingAfter(1.0, "*2.0E-3");
    // The closing reading is charted, not counted.
    EXPECT_EQ(std::tuple(prompts.beeps, engine.Stopped, engine.RunActive, engine.Display.StartStopCaption,
                         engine.FinishedPoints, engine.Stats().Count, port.Commands().size()),
              std::tuple(1, true, false, QString("&Start"), 11, 10, sent));
    // A run of only over-range readings ends at its log time too.
    CurrentSettings().Power.LogTime = 5;
    engine.Reset(false);
    StartLogging();
    for (int i = 0; i < 12 && !engine.Stopped; ++i) ReadingAfter(0.5, "*OVER");
    EXPECT_FALSE(engine.RunActive);
}

// At 600 s of log time points are 0.1 s wide (the first from 0 to 0.2 s): a
// spike to 10 W in the first and a dropout to 0 in the second among
// readings of 1 W draw as bands from 1 W to them, behind the averages.
TEST_F(PowerTest, mergedPointsDrawTheirSpreadBehindTheAverage) {
    PowerSettings& s = CurrentSettings().Power;
    std::tie(s.LogTime, s.GraphLow, s.GraphHigh) = std::tuple(600, 0.0, 10.0);
    StartLogging();
    for (int i = 0; i < 40; ++i) ReadingAfter(0.01, i == 12 ? "*10" : i == 25 ? "*0" : "*1");
    RecordingSurface chart;
    std::tie(engine.Chart.Width, engine.Chart.Height) = std::pair(200, 120);
    engine.DrawWholeChart(chart);
    const ChartGeometry& g = engine.Chart.Screen;
    const auto y = [&g](double watts) { return g.PlotBottom - watts * g.YPerUnit; };
    std::vector<std::pair<double, double>> bands;  // top and bottom of each band column
    for (const auto& c : chart.Calls("FillBox"))
        if (c.color == g.BandColor) bands.push_back({std::min(c.y1, c.y2), std::max(c.y1, c.y2)});
    EXPECT_EQ(bands, (std::vector<std::pair<double, double>>{{y(10), y(1)}, {y(1), y(0)}}));
    EXPECT_EQ(chart.Calls().back().op, "Line") << "the average is drawn over its band";
}
