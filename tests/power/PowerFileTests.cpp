#include "PowerHarness.h"

#include "auxiliary/frmNotes.h"
#include "platform/Printer.h"

#include <QDir>
#include <QFile>
#include <QPlainTextEdit>

namespace {

QByteArray Line(const QByteArray& value, const QByteArray& time) {
    return value + QByteArray(18 - value.size(), ' ') + '\t' + time + "\r\n";
}

const QByteArray kHeader = "Power, in Watts \t Time, in Seconds \t Head: 3A; s/n 123456\r\n";

}  // namespace

class PowerFileTest : public PowerTest {
protected:
    void SetUp() override {
        PowerTest::SetUp();
        Notes().txtboxNotes->setPlainText("Beam at 45 degrees");
    }
    void TearDown() override {
        Notes().ClearNotesBox();
        PowerTest::TearDown();
    }
    // Readings of 1 mW at 0 s, 1.2 mW at 1.5 s and over range at 2 s.
    void LogThreeReadings() {
        StartLogging();
        ReadingAfter(0.3, "*1.0E-3");
        ReadingAfter(1.5, "*1.2E-3");
        ReadingAfter(0.5, "*OVER");
    }
    const QByteArray data = Line("0.001", "0.00") + Line("0.0012", "1.50") + Line("Overrange", "2.00");
    const QByteArray notes = "'Beam at 45 degrees\r\n";
};

TEST_F(PowerFileTest, savedFileHoldsHeaderNotesAndOneLinePerPoint) {
    LogThreeReadings();
    engine.PowerSave(dir.Path("run.pwr"));
    EXPECT_EQ(dir.Read("run.pwr"), kHeader + notes + data);
    EXPECT_EQ(Line("0.0012", "1.50"), QByteArray("0.0012            \t1.50\r\n"));
    EXPECT_FALSE(engine.NotSaved);
}

TEST_F(PowerFileTest, mergedRunSkipsEmptyPointsAndWritesAverages) {
    App().Config.Power.LogTime = 600;
    StartLogging();
    ReadingAfter(0.3, "*1.0");
    ReadingAfter(0.05, "*2.0");
    ReadingAfter(0.5, "*4.0");
    engine.PowerSave(dir.Path("merged.pwr"));
    EXPECT_EQ(dir.Read("merged.pwr"), kHeader + notes + Line("1.5", "0.00") + Line("4", "0.55"));
}

TEST_F(PowerFileTest, nothingLoggedSavesTheHeaderAlone) {
    engine.PowerLog(-1, QString());
    engine.PowerSave(dir.Path("empty.pwr"));
    EXPECT_EQ(dir.Read("empty.pwr"), kHeader + notes);
}

TEST_F(PowerFileTest, finishedRunIsSavedWhole) {
    App().Config.Power.LogTime = 2;
    LogThreeReadings();
    ASSERT_FALSE(engine.RunActive);
    engine.PowerSave(dir.Path("done.pwr"));
    EXPECT_EQ(dir.Read("done.pwr"), kHeader + notes + data);
}

TEST_F(PowerFileTest, workingFileGetsEveryReadingAsItArrives) {
    App().Config.LogToFile = true;
    StartLogging();
    EXPECT_EQ(dir.Read("kelvaro.pwr"), kHeader);
    ReadingAfter(0.3, "*1.0E-3");
    // Closed after every line: what is on disk now survives a killed program.
    EXPECT_EQ(WorkFileNumber(), 0);
    EXPECT_EQ(dir.Read("kelvaro.pwr"), kHeader + Line("0.001", "0.00"));
    ReadingAfter(1.5, "*1.2E-3");
    ReadingAfter(0.5, "*OVER");
    ReadingAfter(0.1, "*");  // no value: no line
    EXPECT_EQ(dir.Read("kelvaro.pwr"), kHeader + data);

    engine.PowerSave(dir.Path("copy.pwr"));
    EXPECT_EQ(dir.Read("copy.pwr"), kHeader + data + notes);
    EXPECT_EQ(dir.Read("kelvaro.pwr"), kHeader + data);
    EXPECT_FALSE(engine.NotSaved);
}

TEST_F(PowerFileTest, missingWorkingFileFailsTheSaveAndKeepsTheDataUnsaved) {
    App().Config.LogToFile = true;
    LogThreeReadings();
    QFile::remove(dir.Path("kelvaro.pwr"));
    EXPECT_ANY_THROW(engine.PowerSave(dir.Path("copy.pwr")));
    EXPECT_TRUE(engine.NotSaved);
}

TEST_F(PowerFileTest, printoutIsOnePdfPage) {
    LogThreeReadings();
    const QString folder = qEnvironmentVariable("KELVARO_SCREENSHOTS", "screenshots");
    QDir().mkpath(folder);
    const QString pdf = QDir(folder).absoluteFilePath("power_print.pdf");
    QFile::remove(pdf);
    platform::printer().ForcePdf(pdf);
    engine.PowerPrint();
    platform::printer().ForcePdf(QString());
    QFile f(pdf);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") + bytes.count("/Type /Page "), 1);
}
