#include "PowerHarness.h"

#include "auxiliary/frmNotes.h"
#include "platform/Printer.h"
#include "support/Screenshot.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRegularExpression>
#include <cstdio>

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
    EXPECT_TRUE(data.contains("\r\n0.0012            \t1.50\r\nOverrange         \t2.00\r\n"));
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

TEST_F(PowerFileTest, saveWritesExactlyThePointsOfTheRunOnShow) {
    engine.PowerLog(-1, QString());
    engine.PowerSave(dir.Path("empty.pwr"));
    EXPECT_EQ(dir.Read("empty.pwr"), kHeader + notes);
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

TEST_F(PowerFileTest, printoutIsOnePdfPage) {
    LogThreeReadings();
    EXPECT_EQ(PrintToScreenshots("power_print", [this] { engine.PowerPrint(); }), 1);
}

// The same test runs twice: as the parent, and as the child it starts and
// kills with SIGKILL in the middle of a run.
TEST_F(PowerFileTest, workingFileKeepsEveryLineOfAKilledRun) {
    const QString childFile = qEnvironmentVariable("KELVARO_POWER_CHILD");
    if (!childFile.isEmpty()) {
        App().WorkFileName = childFile;
        App().Config.LogToFile = true;
        App().Config.Power.LogTime = 86400;
        StartLogging();
        for (int i = 1; i <= 1000000; ++i) {
            ReadingAfter(0.01, "*1.0E-3");
            std::printf("written %d\n", i);
            std::fflush(stdout);
        }
        return;
    }
    const QString work = dir.Path("killed.pwr");
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("KELVARO_POWER_CHILD", work);
    QProcess child;
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(),
                {QString("--gtest_filter=%1.%2").arg(info->test_suite_name(), info->name())});
    ASSERT_TRUE(child.waitForStarted());
    int written = 0;
    QByteArray out;
    const QRegularExpression count("written (\\d+)\\n");
    while (written < 300 && child.waitForReadyRead(20000)) {
        out += child.readAllStandardOutput();
        for (auto m = count.globalMatch(QString::fromLatin1(out)); m.hasNext();)
            written = m.next().captured(1).toInt();
    }
    child.kill();
    child.waitForFinished();
    ASSERT_GE(written, 300);

    QFile f(work);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    ASSERT_TRUE(bytes.startsWith(kHeader));
    QList<QByteArray> lines = bytes.mid(kHeader.size()).split('\n');
    lines.removeLast();  // empty, or the line being written when the kill came
    // The child goes on logging until the kill lands, so there may be more
    // lines than it reported; none of those it reported may be missing.
    EXPECT_GE(lines.size(), written);
    for (const QByteArray& line : lines) {
        ASSERT_TRUE(line.startsWith("0.001             \t")) << line.constData();
        ASSERT_TRUE(line.endsWith('\r')) << line.constData();
    }
}
