#include "EnergyHarness.h"

#include "data/Overrange.h"

#include <QPlainTextEdit>
#include <algorithm>

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
        prompts.questions.clear();  // the reminder at the Reset below
        UseMeter(model, head);
        App().RapidPulseAbsolute = QString(command) != "FE R";
        Enter(mode, command);
        engine.StartStop();
        for (int i = 0; i < 300; ++i) Tick();
        QStringList sent = Sent();  // repeats (waiting for ready or a pulse) folded
        sent.erase(std::unique(sent.begin(), sent.end()), sent.end());
        EXPECT_EQ(sent.mid(0, 7).join(' '), cycle);
        EXPECT_EQ(prompts.Texts().join('|'), message);
        EXPECT_TRUE(*message || engine.Stats().Count >= 10) << "ten pulses a second";
        EXPECT_TRUE(head != 2 || model != M::Talon || Link().LastTimeout == 1.0) << "a 1 s reply timeout";
        engine.Reset(false);
    }
}

// A pyroelectric head on a one-channel meter in energy mode, notes in the box for the saves.
class PyroEnergyTest : public EnergyTest {
protected:
    void SetUp() override {
        EnergyTest::SetUp();
        Notes().txtboxNotes->setPlainText("Beam at 45 degrees");
        UseMeter(sim::Model::Talon, 2);
        Enter(ModeEnergy, "FE");
    }
    // 1.25 mJ at 0.5 s, over range at 1.5 s, 2 mJ at 2.5 s.
    void LogThreePulses() {
        StartReadings();
        Reply("*1.25E-3", 0.4);
        Reply("*OVER", 1.0);
        Reply("*2E-3", 1.0);
    }
    bool SaveAs(const QString& name) {
        prompts.fileAnswers.push_back(name);
        FileCommand(0);
        return !engine.Unsaved;
    }
    const QByteArray notes = "'Beam at 45 degrees\r\n";
};

// Then Stop and Start continue the run and Reset discards it.
TEST_F(PyroEnergyTest, readingsAfterTheStarAreJoulesAndOverrangeStaysOutOfBinsAndStatistics) {
    StartReadings();
    for (const char* r : {"xx*1.25E-3", "no marker", "*", "*OVER", "*abc1", "*3.0E-3"}) {
        const int sent = int(Sent().size());
        Reply(r, 0.5);
        EXPECT_EQ(int(Sent().size()), sent + 1) << r;  // every reply leads to the next query
    }
    ASSERT_EQ(engine.Store().Count(), 4);
    const auto& stored = engine.Store().Records;  // a leading-number conversion: no digits give 0
    EXPECT_EQ(std::tuple(stored[0].Value, IsOverrange(stored[1].Value), stored[2].Value),
              std::tuple(0.00125f, true, 0.0f));
    // Bin 1 is 0..0.1 J; one beep for the over-range reading.
    EXPECT_EQ(std::tuple(engine.Stats().Max, engine.Stats().Count, engine.Hist.Bins[1].Count,
                         engine.Hist.Bins[11].Count, prompts.beeps),
              std::tuple(3e-3, 3, 3, 0, 1));
    Reply("*OVER");
    EXPECT_EQ(engine.Display.EnergyText, "Overrange");

    engine.Reset(false);
    logFileEnabled.clear();
    CurrentSettings().Energy.EnergyTimeStamp = true;
    StartReadings();
    Reply("*1E-3", 1);
    engine.StartStop();
    Reply("*9E-3");  // the reply still on its way after Stop is ignored
    engine.StartStop();
    Reply("*");
    Reply("*2E-3", 2);
    ASSERT_EQ(engine.Store().Count(), 2);
    EXPECT_NEAR(engine.Store().Records[1].Time, 3.3, 1e-9);  // the run's clock was not restarted
    engine.Reset(false);
    EXPECT_EQ(std::tuple(engine.Unsaved, engine.Stats().Count, engine.Hist.Bins[1].Count, logFileEnabled),
              std::tuple(false, 0, 0, std::vector<bool>{false, true}));
}

// The energy read-out: number and statistics at most every 0.3 s of the time of day.
TEST_F(PyroEnergyTest, numberAndStatisticsRefreshAtMostEveryThreeTenthsOfASecond) {
    StartReadings();
    // Reply, seconds since the one before, the read-out and the Max line after it.
    const std::tuple<const char*, double, const char*, const char*> steps[] = {
        {"*1E-3", 0.5, "1.000mJ", "Max:  1.00mJ"},
        {"*2E-3", 0.28, "1.000mJ", "Max:  1.00mJ"},
        {"*3E-3", 0.04, "3.000mJ", "Max:  3.00mJ"},
        {"*4E-3", 0.28, "3.000mJ", "Max:  3.00mJ"},
        {"*5E-3", 0.32, "5.000mJ", "Max:  5.00mJ"}};
    for (auto [reply, dt, number, max] : steps) {
        Reply(reply, dt);
        EXPECT_EQ(engine.Display.EnergyText, number) << reply;
        EXPECT_EQ(engine.Display.StatLabels[1], max) << reply;
    }
    EXPECT_EQ(engine.Stats().Count, 5);  // every pulse counts, shown or not
}

// Saved after another channel was selected, the run names the head that measured it.
TEST_F(PyroEnergyTest, savedFileReadsAsSpecifiedWithAndWithoutTimeStampsThroughBothPaths) {
    TestMeter().Channels[1].HeadName = "PE10";
    TestMeter().Channels[1].HeadSerial = "; s/n815";
    for (int bits = 0; bits < 4; ++bits) {
        const bool timeStamp = bits & 1, logToFile = bits & 2;
        SCOPED_TRACE(bits);
        CurrentSettings().Energy.EnergyTimeStamp = timeStamp;
        CurrentSettings().LogToFile = logToFile;
        TestMeter().CurrentChannel = 0;
        engine.Reset(false);
        LogThreePulses();
        TestMeter().CurrentChannel = 1;
        ASSERT_TRUE(SaveAs(dir.Path("run.nrg")));
        const QByteArray data =
            timeStamp ? Line({"0.00125"}, "0.50") + Line({"Overrange"}, "1.50") + Line({"0.002"}, "2.50")
                      : Line({"0.00125"}, "") + Line({"Overrange"}, "") + Line({"0.002"}, "");
        const QByteArray header = timeStamp ? "Energy, in Joules \tTime, in Seconds\t Head: PE25; s/n4711\r\n"
                                            : "Energy, in Joules \t Head: PE25; s/n4711\r\n";
        EXPECT_EQ(dir.Read("run.nrg"), logToFile ? header + data + notes : header + notes + data);
        EXPECT_EQ(dir.Read("kelvaro.nrg"), logToFile ? header + data : "") << "the working file only when on";
    }
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(PyroEnergyTest, fullStoreIsSavedOldestFirstWhileStatisticsAndHistogramGoOn) {
    for (int16_t mode : {int16_t(0), int16_t(1)}) {  // First Readings, Last Readings
        CurrentSettings().Energy.EnergyStorageMode = mode;
        CurrentSettings().Energy.EnergyHighLimit = 1e6;
        engine.Reset(false);
        StartReadings();
        for (int i = 1; i <= kMaxStoredReadings + 5; ++i) Reply(QStringLiteral("*%1").arg(i), 0.001);
        EXPECT_EQ(std::pair(engine.Stats().Count, engine.Hist.Bins[1].Count),
                  std::pair(int64_t(60005), 60005));
        ASSERT_TRUE(SaveAs(dir.Path("full.nrg")));
        const QList<QByteArray> lines = dir.Read("full.nrg").split('\n');
        ASSERT_EQ(lines.size(), kMaxStoredReadings + 3);  // header, notes, data, and the end
        EXPECT_EQ(lines[2], Line({mode == 0 ? "1" : "6"}, "").chopped(1));
        EXPECT_EQ(lines[lines.size() - 2], Line({mode == 0 ? "60000" : "60005"}, "").chopped(1));
    }
}

// Reset discards the run: a later save writes none of its readings (from the
// store or the working file), and its over-range count is gone.
TEST_F(PyroEnergyTest, resetDiscardsTheStoredRunAndItsOverrangeCount) {
    for (bool logToFile : {false, true}) {
        CurrentSettings().LogToFile = logToFile;
        LogThreePulses();
        ASSERT_EQ(engine.OverCount, 1);
        engine.Reset(false);
        EXPECT_EQ(engine.OverCount, 0);
        SaveAs(dir.Path("after.nrg"));
        EXPECT_EQ(dir.Read("after.nrg"), "Energy, in Joules \t Head: PE25; s/n4711\r\n" + notes) << logToFile;
    }
}

// Closed, the run is saved at the reminder (its rules: the energy-ratio reminder test).
TEST_F(PyroEnergyTest, unopenableWorkingFileIsReportedOnceAndTheSaveAtClosingComesFromTheStore) {
    CurrentSettings().LogToFile = true;
    WorkFiles().EnergyWorkFile = dir.Path("no/such/folder/kelvaro.nrg");
    LogThreePulses();
    Reply("*3E-3");
    EXPECT_EQ(prompts.messages.size(), 1u);
    prompts.yesNoAnswers = {true};
    prompts.fileAnswers = {dir.Path("run.nrg")};
    engine.Unload(true);
    EXPECT_EQ(std::pair(prompts.questions.size(), engine.Unsaved), std::pair(size_t(1), false));
    EXPECT_TRUE(dir.Read("run.nrg").endsWith(notes + Line({"0.00125"}, "") + Line({"Overrange"}, "") +
                                             Line({"0.002"}, "") + Line({"0.003"}, "")));
}
