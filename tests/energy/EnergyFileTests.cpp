#include "EnergyHarness.h"

#include <QPlainTextEdit>

namespace {

QByteArray Line(const QByteArray& value, const QByteArray& time) {
    return value + QByteArray(18 - value.size(), ' ') + '\t' + time + "\r\n";
}

}  // namespace

class EnergyFileTest : public EnergyTest {
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

TEST_F(EnergyFileTest, savedFileReadsAsSpecifiedWithAndWithoutTimeStampsThroughBothPaths) {
    const QByteArray withTime = "Energy, in Joules \tTime, in Seconds\t Head: PE25; s/n4711\r\n";
    const QByteArray plain = "Energy, in Joules \t Head: PE25; s/n4711\r\n";
    for (int bits = 0; bits < 4; ++bits) {
        const bool timeStamp = bits & 1, logToFile = bits & 2;
        SCOPED_TRACE(bits);
        App().Config.Energy.EnergyTimeStamp = timeStamp;
        App().Config.LogToFile = logToFile;
        engine.Reset(false);
        LogThreePulses();
        ASSERT_TRUE(SaveAs(dir.Path("run.nrg")));
        const QByteArray data =
            timeStamp ? Line("0.00125", "0.50") + Line("Overrange", "1.50") + Line("0.002", "2.50")
                      : Line("0.00125", "") + Line("Overrange", "") + Line("0.002", "");
        const QByteArray header = timeStamp ? withTime : plain;
        EXPECT_EQ(dir.Read("run.nrg"), logToFile ? header + data + notes : header + notes + data);
        if (logToFile) {
            EXPECT_EQ(dir.Read("kelvaro.nrg"), header + data);
        }
    }
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(EnergyFileTest, fullStoreIsSavedOldestFirstWhileStatisticsAndHistogramGoOn) {
    for (int16_t mode : {int16_t(0), int16_t(1)}) {  // First Readings, Last Readings
        App().Config.Energy.EnergyStorageMode = mode;
        App().Config.Energy.EnergyHighLimit = 1e6;
        engine.Reset(false);
        StartReadings();
        for (int i = 1; i <= kMaxStoredReadings + 5; ++i) Reply(QStringLiteral("*%1").arg(i), 0.001);
        EXPECT_EQ(engine.Stats().Count, kMaxStoredReadings + 5);
        EXPECT_EQ(engine.Hist.Bins[1].Count, kMaxStoredReadings + 5);
        ASSERT_TRUE(SaveAs(dir.Path("full.nrg")));
        const QList<QByteArray> lines = dir.Read("full.nrg").split('\n');
        ASSERT_EQ(lines.size(), kMaxStoredReadings + 3);  // header, notes, data, and the end
        EXPECT_EQ(lines[2], Line(mode == 0 ? "1" : "6", "").chopped(1));
        EXPECT_EQ(lines[lines.size() - 2], Line(mode == 0 ? "60000" : "60005", "").chopped(1));
    }
}

TEST_F(EnergyFileTest, reminderAsksAgainAfterAFailedSave) {
    LogThreePulses();
    prompts.yesNoAnswers = {true, true};
    prompts.fileAnswers = {dir.Path("no/such/folder/run.nrg"), dir.Path("kept.nrg")};
    engine.Unload(true);
    EXPECT_EQ(prompts.questions.size(), 2u);
    EXPECT_EQ(prompts.questions[0].title, "Reminder.");
    EXPECT_TRUE(dir.Read("kept.nrg").endsWith(Line("0.002", "")));
    EXPECT_FALSE(engine.Unsaved);
}

TEST_F(EnergyFileTest, unopenableWorkingFileIsReportedOnceAndTheSaveComesFromTheStore) {
    App().Config.LogToFile = true;
    App().EnergyWorkFile = dir.Path("no/such/folder/kelvaro.nrg");
    LogThreePulses();
    Reply("*3E-3");
    EXPECT_EQ(prompts.messages.size(), 1u);
    ASSERT_TRUE(SaveAs(dir.Path("run.nrg")));
    EXPECT_TRUE(dir.Read("run.nrg").endsWith(notes + Line("0.00125", "") + Line("Overrange", "") +
                                             Line("0.002", "") + Line("0.003", "")));
}
