#include "PowerHarness.h"

#include "data/Overrange.h"
#include "power/PowerTexts.h"

using PowerEngineTest = PowerTest;

TEST_F(PowerEngineTest, firstReplyOfARunOnlyClearsTheDisplay) {
    engine.StartStop();
    EXPECT_EQ(engine.Caption, "Real-Time Power Logging - " + App().HeadTypeNames[1] + ": 3A; s/n 123456");
    EXPECT_EQ(logFileEnabled, std::vector<bool>{false});
    engine.ReadingText = "stale";
    Reply("*1.0E-3");
    EXPECT_EQ(engine.ReadingText, "");
    EXPECT_EQ(engine.Store().PointCount, 0);
    ReadingAfter(0.5, "*1.0E-3");
    EXPECT_EQ(engine.Store().PointCount, 1);
    EXPECT_EQ(port.Commands(), (QStringList{"SP", "SP", "SP"}));
}

TEST(PowerPolling, nextCommandFollowsTheHeadAndTheModel) {
    // head type, device type -> command, poll state, time-out; empty: nothing is sent
    const std::tuple<int16_t, int16_t, QString> cases[] = {
        {1, 4, "SP 3 5"}, {3, 0, "SP 3 5"},   {5, 2, "SP 3 5"},   {6, 8, "SP 3 5"},   {2, 0, "SP 3 1"},
        {4, 0, "SP 3 1"}, {2, 1, "EF 2 0.3"}, {4, 2, "EF 2 0.3"}, {2, 3, "EF 2 0.3"}, {2, 8, "EF 2 0.3"},
        {2, 4, ""},       {4, 7, ""},         {0, 0, ""},         {7, 1, ""}};
    for (const auto& [head, device, step] : cases) {
        const PollStep p = NextPoll(head, device);
        EXPECT_EQ(p.Send ? QString("%1 %2 %3").arg(p.Command).arg(p.State).arg(p.Timeout) : QString(), step)
            << head << "/" << device;
    }
}

TEST_F(PowerEngineTest, pyroelectricHeadWaitsForThePulseFlagBeforeEachReading) {
    App().Channels[0].HeadType = 2;
    App().DeviceType = 3;
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

TEST_F(PowerEngineTest, repliesWithoutAValueStoreNothingButKeepPolling) {
    StartLogging();
    for (const char* r : {"no marker", "*", "garbage*1E999"}) {
        const int sent = port.Commands().size();
        ReadingAfter(0.1, r);
        EXPECT_EQ(engine.Store().PointCount, 0) << r;
        EXPECT_EQ(port.Commands().size(), sent + 1) << r;
    }
    EXPECT_EQ(engine.SkippedChars, 7);
}

TEST_F(PowerEngineTest, overrangeReadingBetweenValidOnesStaysOutOfTheStatistics) {
    App().Config.Power.LogTime = 600;
    StartLogging();
    for (const char* r : {"*1.0E-3", "*OVER", "*3.0E-3"}) ReadingAfter(0.01, r);
    EXPECT_EQ(engine.Stats().Count, 2);
    EXPECT_DOUBLE_EQ(engine.Stats().Max, 3e-3);
    EXPECT_TRUE(IsOverrange(engine.Store().PowerData[1].MaxValue));
    EXPECT_EQ(prompts.beeps, 1);
}

TEST_F(PowerEngineTest, readoutShowsLimitsOverrangeAndZero) {
    App().Config.Power.GraphLow = 1;
    App().Config.Power.GraphHigh = 2;
    const std::tuple<bool, const char*, const char*> cases[] = {
        {true, "*0.5", "UNDER"},         {true, "*OVER", "OVER"},
        {false, "*OVER", "Overrange"},   {false, "*0", "0W"},
        {false, "*4E-7", "0W"},          {true, "*2.5", "OVER"},
        {false, "*1.234E-2", "12.34mW"}, {true, "*1.5", "1.500W"}};
    StartLogging();
    for (auto [limitsOn, reply, text] : cases) {
        engine.SetLimitsOn(limitsOn);
        ReadingAfter(0.5, reply);
        EXPECT_EQ(engine.ReadingText, QString(text)) << reply << " " << limitsOn;
    }
}

TEST_F(PowerEngineTest, readoutWaitsAtLeastTheSingle0_46666SecondsBetweenRefreshes) {
    StartLogging();
    // seconds since the last refresh (clock readings exact in binary) -> text shown
    const std::pair<double, const char*> steps[] = {
        {0, "1.000W"}, {0.46665, "1.000W"}, {double(0.46666f), "3.000W"}, {0.1, "3.000W"}, {0.5, "5.000W"}};
    double last = 1000;
    int value = 1;
    for (auto [since, shown] : steps) {
        clock.Set(last + since);
        Reply("*" + QString::number(value++));
        EXPECT_EQ(engine.ReadingText, shown) << since;
        if (engine.ReadingText == QString::number(value - 1) + ".000W") last += since;
    }
    EXPECT_EQ(pointsDrawn, 5);  // the chart grows with every reading
}

TEST_F(PowerEngineTest, statisticsLabelsFollowTheStatMode) {
    const std::pair<int16_t, std::array<bool, 4>> cases[] = {
        {1, {true, true, false, false}}, {2, {false, false, true, true}}, {3, {true, true, true, true}}};
    for (auto [mode, visible] : cases) {
        App().Config.Power.StatMode = mode;
        engine.Reset(false);
        StartLogging();
        EXPECT_EQ(engine.StatVisible, (std::array<bool, 4>{}));
        ReadingAfter(1, "*1.0E-3");
        ReadingAfter(1, "*3.0E-3");
        EXPECT_EQ(engine.StatVisible, visible) << mode;
    }
    EXPECT_EQ(engine.StatLabels, (std::array<QString, 4>{"Min:  1.00mW", "Max:  3.00mW", "Average:  2.00mW",
                                                         "St.Dev.:  1.41mW"}));
}

TEST_F(PowerEngineTest, runEndsAtTheLogTimeWithOneBeepAndAsksForNothingMore) {
    App().Config.Power.LogTime = 10;
    StartLogging();
    for (int i = 0; i < 10; ++i) ReadingAfter(i == 0 ? 0.3 : 1.0, "*1.0E-3");
    EXPECT_FALSE(engine.Stopped);
    const int sent = port.Commands().size();
    ReadingAfter(1.0, "*2.0E-3");
    EXPECT_EQ(prompts.beeps, 1);
    EXPECT_TRUE(engine.Stopped);
    EXPECT_FALSE(engine.RunActive);
    EXPECT_EQ(engine.StartStopCaption, "&Start");
    EXPECT_EQ(engine.FinishedPoints, 11);
    EXPECT_EQ(engine.Stats().Count, 10);  // the closing reading is charted, not counted
    EXPECT_EQ(port.Commands().size(), sent);
}

TEST_F(PowerEngineTest, runOfOnlyOverrangeReadingsStillEndsAtTheLogTime) {
    App().Config.Power.LogTime = 5;
    StartLogging();
    for (int i = 0; i < 12 && !engine.Stopped; ++i) ReadingAfter(0.5, "*OVER");
    EXPECT_FALSE(engine.RunActive);
}

TEST_F(PowerEngineTest, runAcrossMidnightKeepsItsTimeAndReadout) {
    App().Config.Power.LogTime = 60;
    clock.Set(86400 - 5);
    StartLogging();
    ReadingAfter(0.5, "*1.0");
    for (int i = 0; i < 10; ++i) ReadingAfter(1.0, "*2.0");
    EXPECT_EQ(engine.ReadingText, "2.000W");
    EXPECT_DOUBLE_EQ(engine.LastTime, 10.0);
}

TEST_F(PowerEngineTest, resumeAfterStopContinuesTheTimeAxis) {
    StartLogging();
    ReadingAfter(0.2, "*1.0");
    ReadingAfter(2.0, "*1.0");
    engine.StartStop();
    clock.Advance(100);
    engine.StartStop();
    Reply("*0");
    ReadingAfter(0.5, "*1.0");
    EXPECT_DOUBLE_EQ(engine.Store().PowerData[3].PointTime, 2.5);
    EXPECT_EQ(engine.Stats().Count, 3);
}

TEST_F(PowerEngineTest, pauseGraphOnlyResumesWhatItPaused) {
    // logging at first; then (pause, stopped after, paused after) per call
    const std::pair<bool, std::vector<std::array<bool, 3>>> cases[] = {
        {true, {{true, true, true}, {false, false, false}, {false, false, false}}},
        {true, {{false, false, false}}},
        {false, {{true, true, false}, {false, true, false}}}};
    for (const auto& [logging, steps] : cases) {
        engine.Reset(false);
        if (logging) StartLogging();
        for (auto [pause, stopped, paused] : steps) {
            engine.PauseGraph(pause);
            EXPECT_EQ(engine.Stopped, stopped);
            EXPECT_EQ(engine.PausedByCaller, paused);
        }
    }
}

TEST_F(PowerEngineTest, resetDiscardsTheRunAndReopensAnOpenSetup) {
    int reopened = 0;
    engine.View.ReopenSetup = [&] { ++reopened; };
    StartLogging();
    ReadingAfter(0.5, "*1.0");
    engine.Reset(false);
    EXPECT_TRUE(engine.Stopped);
    EXPECT_FALSE(engine.NotSaved);
    EXPECT_EQ(engine.Stats().Count, 0);
    EXPECT_EQ(engine.StatLabels[0], "Min:  ");
    EXPECT_EQ(logFileEnabled.back(), true);
    EXPECT_EQ(reopened, 0);
    engine.Reset(true);
    EXPECT_EQ(reopened, 1);
}

TEST_F(PowerEngineTest, leavingWithUnsavedDataOffersToSave) {
    std::vector<int> fileCommands;
    std::vector<int16_t> switched;
    App().Shell.FileCommand = [&](int op) { fileCommands.push_back(op); };
    App().Shell.SwitchMode = [&](int16_t m) { switched.push_back(m); };
    StartLogging();
    ReadingAfter(0.5, "*1.0");
    prompts.yesNoAnswers = {true};
    engine.Unload(false);
    ASSERT_EQ(prompts.questions.size(), 1u);
    EXPECT_EQ(prompts.questions[0].text, "The logged data has not been saved. Save it now?");
    EXPECT_EQ(prompts.questions[0].title, "Reminder.");
    EXPECT_EQ(fileCommands, std::vector<int>{0});
    EXPECT_EQ(switched, std::vector<int16_t>{ModeNone});
    engine.PowerLog(1, QString());  // nothing unsaved: no question, no switch back
    EXPECT_EQ(prompts.questions.size(), 1u);
    EXPECT_EQ(switched.size(), 1u);
}

TEST_F(PowerEngineTest, onlyAFinishedRunIsRescaledToItsRange) {
    App().Config.Power.LogTime = 3;
    App().Config.Power.GraphHigh = 10;
    StartLogging();
    engine.SetAutoRescale(true);
    for (const char* r : {"*2.0", "*4.0", "*3.0"}) {
        ReadingAfter(1, r);
        engine.ApplyChartRange();
        EXPECT_EQ(engine.Chart.YMax, 10.0f) << r;
    }
    ReadingAfter(1, "*3.0");
    engine.ApplyChartRange();
    EXPECT_EQ(engine.Chart.YMin, 2.0f);
    EXPECT_EQ(engine.Chart.YMax, 4.0f);
}
