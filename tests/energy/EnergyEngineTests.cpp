#include "EnergyHarness.h"

#include "data/Overrange.h"

#include <algorithm>
#include <numeric>

namespace {

int BinTotal(const HistogramSpec& h) {
    return std::accumulate(h.Bins.begin(), h.Bins.end(), 0,
                           [](int n, const HistogramBin& b) { return n + b.Count; });
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
        QStringList sent = Sent();  // repeats (waiting for ready or a pulse) folded
        sent.erase(std::unique(sent.begin(), sent.end()), sent.end());
        EXPECT_EQ(sent.mid(0, 7).join(' '), cycle);
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

// Then Stop and Start continue the run and Reset discards it.
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

    engine.Reset(false);
    logFileEnabled.clear();
    App().Config.Energy.EnergyTimeStamp = true;
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
