#include "PowerHarness.h"

#include "data/Overrange.h"
#include "link/Dispatch.h"

using PowerEngineTest = PowerTest;

TEST_F(PowerEngineTest, startSendsSpAndFirstReplyOnlyClearsTheDisplay) {
    engine.StartStop();
    EXPECT_EQ(port.Commands(), QStringList{"SP"});
    EXPECT_TRUE(App().ModeCheckPending);
    EXPECT_EQ(engine.StartStopCaption, "&Stop");
    EXPECT_EQ(engine.Caption, "Real-Time Power Logging - " + App().HeadTypeNames[1] + ": 3A; s/n 123456");
    EXPECT_EQ(logFileEnabled, std::vector<bool>{false});
    engine.ReadingText = "stale";
    Reply("*1.0E-3");
    EXPECT_EQ(engine.ReadingText, "");
    EXPECT_EQ(engine.Store().PointCount, 0);
    EXPECT_EQ(port.Commands(), (QStringList{"SP", "SP"}));
    ReadingAfter(0.5, "*1.0E-3");
    EXPECT_EQ(engine.Store().PointCount, 1);
    EXPECT_EQ(engine.ReadingText, "1.000mW");
}

TEST_F(PowerEngineTest, refusedFirstRequestResendsTheModeCommandAndKeepsTheWindowWaiting) {
    App().Shell.ModeEntry[ModePower] = [this](int op, QString& text) { engine.PowerLog(op, text); };
    engine.StartStop();
    QString refusal = "?\r";
    DispatchLine(refusal);
    EXPECT_EQ(port.Commands(), (QStringList{"SP", "FP"}));
    EXPECT_DOUBLE_EQ(Link().LastTimeout, 7.0);
    EXPECT_TRUE(App().ModeCheckPending);
    EXPECT_EQ(engine.PollState, 0);
    QString ack = "*1.234E-3\r";
    DispatchLine(ack);
    EXPECT_FALSE(App().ModeCheckPending);
    EXPECT_EQ(engine.PollState, 3);
    EXPECT_EQ(engine.Store().PointCount, 0);  // that reply only cleared the display
}

TEST_F(PowerEngineTest, pyroelectricHeadsWaitForThePulseFlagWithEf) {
    App().Channels[0].HeadType = 2;
    App().DeviceType = 3;
    StartLogging();
    EXPECT_EQ(engine.PollState, 2);
    EXPECT_EQ(port.Commands().last(), "EF");
    EXPECT_DOUBLE_EQ(Link().LastTimeout, kQueryTimeout);
    Reply("*0");
    EXPECT_EQ(port.Commands().last(), "EF");
    EXPECT_EQ(engine.PollState, 2);
    Reply("*1");
    EXPECT_EQ(engine.PollState, 3);
    EXPECT_EQ(port.Commands().last(), "SP");
    ReadingAfter(0.1, "*2.5E-3");
    EXPECT_EQ(engine.Store().PointCount, 1);
    EXPECT_EQ(port.Commands().last(), "EF");
    EXPECT_EQ(engine.PollState, 2);
}

TEST_F(PowerEngineTest, pyroelectricHeadOnTheTalonIsAskedForPowerDirectly) {
    App().Channels[0].HeadType = 4;
    StartLogging();
    EXPECT_EQ(engine.PollState, 3);
    EXPECT_EQ(port.Commands().last(), "SP");
    EXPECT_DOUBLE_EQ(Link().LastTimeout, 1.0);
}

TEST_F(PowerEngineTest, repliesWithoutAValueStoreNothingButKeepPolling) {
    StartLogging();
    for (const char* r : {"no marker", "*", "garbage*1E999"}) {
        const int sent = port.Commands().size();
        ReadingAfter(0.1, r);
        EXPECT_EQ(engine.Store().PointCount, 0) << r;
        EXPECT_EQ(port.Commands().size(), sent + 1) << r;
    }
    EXPECT_EQ(engine.SkippedReplies, 1);
    EXPECT_EQ(engine.SkippedChars, 7);
}

TEST_F(PowerEngineTest, overrangeReadingBetweenValidOnesStaysOutOfTheStatistics) {
    App().Config.Power.LogTime = 600;
    StartLogging();
    ReadingAfter(0.01, "*1.0E-3");
    ReadingAfter(0.01, "*OVER");
    ReadingAfter(0.01, "*3.0E-3");
    EXPECT_EQ(engine.Stats().Count, 2);
    EXPECT_DOUBLE_EQ(engine.Stats().Max, 3e-3);
    EXPECT_EQ(engine.Store().PointCount, 1);
    EXPECT_TRUE(IsOverrange(engine.Store().PowerData[1].MaxValue));
    EXPECT_EQ(prompts.beeps, 1);
}

TEST_F(PowerEngineTest, readoutShowsLimitsOverrangeAndZero) {
    App().Config.Power.GraphLow = 1;
    App().Config.Power.GraphHigh = 2;
    struct Case {
        bool limitsOn;
        const char* reply;
        const char* text;
    };
    const Case cases[] = {{true, "*0.5", "UNDER"}, {true, "*OVER", "OVER"}, {false, "*OVER", "Overrange"},
                          {false, "*0", "0W"},     {true, "*2.5", "OVER"},  {false, "*1.5", "1.500W"}};
    StartLogging();
    for (const Case& c : cases) {
        engine.SetLimitsOn(c.limitsOn);
        ReadingAfter(0.5, c.reply);
        EXPECT_EQ(engine.ReadingText, QString(c.text)) << c.reply << " " << c.limitsOn;
    }
}

TEST_F(PowerEngineTest, readoutIsRefreshedAtMostEveryFortySixHundredthsOfASecond) {
    StartLogging();
    ReadingAfter(0.1, "*1.0");
    EXPECT_EQ(engine.ReadingText, "1.000W");
    ReadingAfter(0.2, "*2.0");
    ReadingAfter(0.2, "*3.0");
    EXPECT_EQ(engine.ReadingText, "1.000W");
    ReadingAfter(0.1, "*4.0");
    EXPECT_EQ(engine.ReadingText, "4.000W");
    EXPECT_EQ(pointsDrawn, 4);  // the chart grows with every reading
}

TEST_F(PowerEngineTest, statisticsLabelsFollowTheStatMode) {
    struct Case {
        int16_t mode;
        std::array<bool, 4> visible;
    };
    for (Case c : {Case{1, {true, true, false, false}}, Case{2, {false, false, true, true}},
                   Case{3, {true, true, true, true}}}) {
        App().Config.Power.StatMode = c.mode;
        engine.Reset(false);
        StartLogging();
        EXPECT_EQ(engine.StatVisible, (std::array<bool, 4>{}));
        ReadingAfter(1, "*1.0E-3");
        ReadingAfter(1, "*3.0E-3");
        EXPECT_EQ(engine.StatVisible, c.visible) << c.mode;
        engine.StartStop();
    }
    EXPECT_EQ(engine.StatLabels[0], "Min:  1.00mW");
    EXPECT_EQ(engine.StatLabels[1], "Max:  3.00mW");
    EXPECT_EQ(engine.StatLabels[2], "Average:  2.00mW");
    EXPECT_EQ(engine.StatLabels[3], "St.Dev.:  1.41mW");
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
    EXPECT_EQ(engine.Store().PointCount, 0);
    EXPECT_EQ(engine.FinishedPoints, 11);
    EXPECT_EQ(engine.Stats().Count, 10);  // the closing reading is charted, not counted
    EXPECT_EQ(port.Commands().size(), sent);
    EXPECT_TRUE(engine.NotSaved);
    ReadingAfter(1.0, "*2.0E-3");  // a late reply is ignored
    EXPECT_EQ(engine.FinishedPoints, 11);
}

TEST_F(PowerEngineTest, runOfOnlyOverrangeReadingsStillEndsAtTheLogTime) {
    App().Config.Power.LogTime = 5;
    StartLogging();
    for (int i = 0; i < 12 && !engine.Stopped; ++i) ReadingAfter(0.5, "*OVER");
    EXPECT_TRUE(engine.Stopped);
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
    EXPECT_FALSE(engine.Stopped);
}

TEST_F(PowerEngineTest, resumeAfterStopContinuesTheTimeAxis) {
    StartLogging();
    ReadingAfter(0.2, "*1.0");
    ReadingAfter(2.0, "*1.0");
    engine.StartStop();
    EXPECT_TRUE(engine.Stopped);
    EXPECT_EQ(engine.PollState, 0);
    clock.Advance(100);
    engine.StartStop();
    EXPECT_TRUE(engine.RunActive);
    Reply("*0");
    ReadingAfter(0.5, "*1.0");
    EXPECT_EQ(engine.Store().PointCount, 3);
    EXPECT_DOUBLE_EQ(engine.Store().PowerData[3].PointTime, 2.5);
    EXPECT_EQ(engine.Stats().Count, 3);
}

TEST_F(PowerEngineTest, pauseGraphOnlyResumesWhatItPaused) {
    struct Step {
        bool pause;
        bool stoppedAfter;
        bool pausedAfter;
    };
    struct Case {
        const char* name;
        bool logging;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {"pause and resume", true, {{true, true, true}, {false, false, false}}},
        {"resume alone", true, {{false, false, false}}},
        {"pause while stopped", false, {{true, true, false}, {false, true, false}}},
        {"resume twice", true, {{true, true, true}, {false, false, false}, {false, false, false}}},
    };
    for (const Case& c : cases) {
        engine.Reset(false);
        if (c.logging) StartLogging();
        for (const Step& s : c.steps) {
            engine.PauseGraph(s.pause);
            EXPECT_EQ(engine.Stopped, s.stoppedAfter) << c.name;
            EXPECT_EQ(engine.PausedByCaller, s.pausedAfter) << c.name;
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
    EXPECT_FALSE(engine.RunActive);
    EXPECT_FALSE(engine.NotSaved);
    EXPECT_EQ(engine.Store().PointCount, 0);
    EXPECT_EQ(engine.Stats().Count, 0);
    EXPECT_EQ(engine.StatLabels[0], "Min:  ");
    EXPECT_FALSE(engine.ReadingVisible);
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
    EXPECT_TRUE(engine.Stopped);
    EXPECT_FALSE(engine.NotSaved);
    EXPECT_EQ(engine.Caption, "Real-Time Power Logging");

    engine.PowerLog(1, QString());  // nothing unsaved: no question, no switch back
    EXPECT_EQ(prompts.questions.size(), 1u);
    EXPECT_EQ(switched.size(), 1u);
}

TEST_F(PowerEngineTest, finishedRunRescalesToItsRangeWhenAsked) {
    App().Config.Power.LogTime = 3;
    App().Config.Power.GraphLow = 0;
    App().Config.Power.GraphHigh = 10;
    StartLogging();
    ReadingAfter(0.5, "*2.0");
    engine.SetAutoRescale(true);
    engine.ApplyChartRange();
    EXPECT_EQ(engine.Chart.YMax, 10.0f);  // never during a run
    ReadingAfter(1, "*4.0");
    ReadingAfter(1, "*3.0");
    const int before = redraws;
    ReadingAfter(1, "*3.0");
    ASSERT_FALSE(engine.RunActive);
    EXPECT_GT(redraws, before);
    engine.ApplyChartRange();
    EXPECT_EQ(engine.Chart.YMin, 2.0f);
    EXPECT_EQ(engine.Chart.YMax, 4.0f);
    engine.SetAutoRescale(false);
    engine.ApplyChartRange();
    EXPECT_EQ(engine.Chart.YMax, 10.0f);
}
