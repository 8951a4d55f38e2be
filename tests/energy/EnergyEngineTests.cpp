#include "EnergyHarness.h"

#include "data/Overrange.h"
#include "link/Dispatch.h"

namespace {

// Commands with repeats of the same one (waiting for ready or a pulse) folded.
QStringList Folded(const QStringList& commands) {
    QStringList out;
    for (const QString& c : commands)
        if (out.isEmpty() || out.last() != c) out << c;
    return out;
}

int BinTotal(const HistogramSpec& h) {
    int n = 0;
    for (const HistogramBin& b : h.Bins) n += b.Count;
    return n;
}

}  // namespace

TEST_F(EnergyTest, queryCycleFollowsModeHeadAndModel) {
    using M = sim::Model;
    const char *ready = "SE ER EF SE ER EF SE", *plain = "SE EF SE EF SE EF SE";  // folded, from Start on
    // clang-format off
    const std::tuple<M, int, int16_t, const char*, const char*, const char*> cases[] = {
        {M::Talon2, 1, ModeEnergy, "FE", ready, ""},
        {M::MeridelOne, 5, ModeEnergy, "FE S", ready, ""},
        {M::Talon2, 2, ModeEnergy, "FE", plain, ""},
        {M::MeridelOne, 4, ModeEnergy, "FE", plain, ""},
        {M::MeridelOne, 5, ModeRapidPulse, "FE A", plain, ""},
        {M::Talon, 2, ModeEnergy, "FE", "SE", ""},
        {M::Talon, 3, ModeEnergy, "FE", "", "This head does not support Energy!"},
        {M::MeridelOne, 1, ModeRapidPulse, "FE R", "SE", "You are using the Thermopile head, which does not support Rapid Pulse!"},
    };
    // clang-format on
    for (auto [model, head, mode, command, cycle, message] : cases) {
        SCOPED_TRACE(std::string(command) + " head " + std::to_string(head));
        prompts.messages.clear();
        UseMeter(model, head);
        App().RapidPulseAbsolute = QString(command) != "FE R";
        Enter(mode, command);
        engine.StartStop();
        for (int i = 0; i < 300; ++i) Tick();
        EXPECT_EQ(Folded(Sent()).mid(0, 7).join(' '), cycle);
        if (*message) {
            ASSERT_EQ(prompts.messages.size(), 1u);
            EXPECT_EQ(prompts.messages[0].text, message);
        } else {
            EXPECT_TRUE(prompts.messages.empty());
            EXPECT_GE(engine.Stats().Count, 10);  // ten pulses a second
        }
        if (head == 2 && model == M::Talon) {
            EXPECT_DOUBLE_EQ(Link().LastTimeout, 1.0);
        }
        engine.Reset(false);
    }
}

TEST_F(EnergyTest, refusedFirstRequestResendsTheEnergyCommandInBothModes) {
    UseMeter(sim::Model::MeridelOne, 5);
    for (int16_t mode : {int16_t(ModeEnergy), int16_t(ModeRapidPulse)}) {
        Enter(mode, "FE A");
        engine.StartStop();
        QString line = "?\r";
        DispatchLine(line);
        EXPECT_EQ(Sent().last(), "FE");
        EXPECT_DOUBLE_EQ(Link().LastTimeout, 7.0);
        EXPECT_EQ(engine.PollState, 0);
        DispatchLine(line = "*0\r");
        EXPECT_FALSE(App().ModeCheckPending);
        EXPECT_EQ(Sent().last(), mode == ModeEnergy ? "ER" : "EF");
        engine.Reset(false);
    }
}

TEST_F(EnergyTest, readingsAfterTheStarAreJoulesAndOverrangeStaysOutOfBinsAndStatistics) {
    UseMeter(sim::Model::Talon, 2);
    Enter(ModeEnergy, "FE");
    StartReadings();
    for (const char* r : {"xx*1.25E-3", "no marker", "*", "*OVER", "*abc1", "*3.0E-3"}) {
        const int sent = int(Sent().size());
        Reply(r, 0.5);
        EXPECT_EQ(int(Sent().size()), sent + 1) << r;  // every reply leads to the next query
    }
    ASSERT_EQ(engine.Store().Count(), 4);
    EXPECT_EQ(engine.Store().Records[0].Value, 0.00125f);
    EXPECT_TRUE(IsOverrange(engine.Store().Records[1].Value));
    EXPECT_EQ(engine.Store().Records[2].Value, 0.0f);  // a leading-number conversion: no digits give 0
    EXPECT_EQ(engine.Stats().Count, 3);
    EXPECT_DOUBLE_EQ(engine.Stats().Max, 3e-3);
    EXPECT_EQ(BinTotal(engine.Hist), 3);
    EXPECT_EQ(prompts.beeps, 1);
    Reply("*OVER");
    EXPECT_EQ(engine.EnergyText, "Overrange");
}

TEST_F(EnergyTest, readoutRefreshesAtMostEveryThreeTenthsAndStopStartContinuesTheRun) {
    UseMeter(sim::Model::Talon, 2);
    Enter(ModeEnergy, "FE");
    App().Config.Energy.EnergyTimeStamp = true;
    StartReadings();
    // Readings 0.1 s apart: the first shows, then every third or fourth.
    std::vector<int> refreshed;
    for (int i = 1; i <= 12; ++i) {
        Reply(QStringLiteral("*%1E-3").arg(i), 0.1);
        if (engine.EnergyText == QStringLiteral("%1.000mJ").arg(i)) refreshed.push_back(i);
    }
    ASSERT_GE(refreshed.size(), 3u);
    EXPECT_EQ(refreshed[0], 1);
    for (size_t k = 1; k < refreshed.size(); ++k) EXPECT_NEAR(refreshed[k] - refreshed[k - 1], 3.5, 0.5);
    EXPECT_EQ(engine.StatLabels[1], QStringLiteral("Max:  %1.00mJ").arg(refreshed.back()));
    engine.Reset(false);
    logFileEnabled.clear();
    StartReadings();
    Reply("*1E-3", 1);
    engine.StartStop();
    EXPECT_TRUE(engine.Stopped);
    Reply("*9E-3");  // the reply still on its way is ignored
    engine.StartStop();
    Reply("*");
    Reply("*2E-3", 2);
    ASSERT_EQ(engine.Store().Count(), 2);
    EXPECT_NEAR(engine.Store().Records[1].Time, 3.3, 1e-9);  // the run's clock was not restarted
    EXPECT_EQ(logFileEnabled, std::vector<bool>{false});
    EXPECT_TRUE(engine.Unsaved);
    engine.Reset(false);
    EXPECT_FALSE(engine.Unsaved);
    EXPECT_EQ(engine.Stats().Count, 0);
    EXPECT_EQ(BinTotal(engine.Hist), 0);
    EXPECT_EQ(logFileEnabled, (std::vector<bool>{false, true}));
}

TEST_F(EnergyTest, relativeRapidPulseUnitsAreUsedAndRestoredOnLeaving) {
    UseMeter(sim::Model::MeridelOne, 5);
    App().Config.Energy.EnergyStatistics = 1;
    App().RapidPulseAbsolute = false;
    Enter(ModeRapidPulse, "FE R");
    EXPECT_EQ(engine.Caption, "Real-Time Rapid Pulse Relative Logging");
    EXPECT_TRUE(engine.RelativeUnits);
    EXPECT_TRUE(engine.HeaderLine().startsWith("Energy, in RP-Units \t Head: "));
    engine.StartStop();
    engine.PollState = 3;
    Reply("*1.234E-2");
    EXPECT_EQ(engine.EnergyText, "12.34m");
    EXPECT_EQ(engine.StatLabels[0], "Min:  12.34m");
    EXPECT_EQ(engine.StatVisible, (std::array<bool, 6>{true, true, false, false, false, false}));
    QString none;
    engine.EnergyLog(1, none);
    EXPECT_EQ(App().EnergyUnits, (std::array<QString, 6>{"pJ", "nJ", "uJ", "mJ", "J", "kJ"}));
    EXPECT_FALSE(engine.RelativeUnits);
    App().RapidPulseAbsolute = true;
    Enter(ModeRapidPulse, "FE A");
    EXPECT_EQ(engine.Caption, "Real-Time Rapid Pulse Absolute Logging");
}
