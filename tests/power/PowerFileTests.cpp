#include "PowerHarness.h"

#include "auxiliary/NotesWindow.h"
#include "data/FileCommand.h"
#include "platform/Printer.h"
#include "support/DiskFull.h"
#include "support/RecordingSurface.h"
#include "support/Screenshot.h"
#include "tests/energy/MeterHarness.h"  // the data lines

#include <QtWidgets>
#include <optional>

const QByteArray kHeader = "Power, in Watts \t Time, in Seconds \t Head: 3A; s/n 123456\r\n";

class PowerFileTest : public PowerTest {
protected:
    void SetUp() override {
        PowerTest::SetUp();
        Notes().txtboxNotes->setPlainText("Beam at 45 degrees");
        App().Shell.SaveFile = [] { FileCommand(FileSave); };  // the File menu reaches this engine
        Modes().Register(ModePower, engine);
    }
    // Readings of 1 mW at 0 s, 1.2 mW at 1.5 s and over range at 2 s.
    void LogThreeReadings() {
        StartLogging();
        ReadingAfter(0.3, "*1.0E-3");
        ReadingAfter(1.5, "*1.2E-3");
        ReadingAfter(0.5, "*OVER");
    }
    const QByteArray data = Line({"0.001"}, "0.00") + Line({"0.0012"}, "1.50") + Line({"Overrange"}, "2.00");
    const QByteArray notes = "'Beam at 45 degrees\r\n";
};

// A merged run (600 s, 0.1 s per point) skips empty points and writes averages.
TEST_F(PowerFileTest, savedFileHoldsHeaderNotesAndOneLinePerPointOfTheRunOnShow) {
    CurrentSettings().Power.LogTime = 2;  // the last reading ends the run
    LogThreeReadings();
    engine.PowerSave(dir.Path("run.pwr"));
    EXPECT_EQ(dir.Read("run.pwr"), kHeader + notes + data);
    CurrentSettings().Power.LogTime = 600;
    engine.Reset(false);
    StartLogging();
    for (auto [dt, r] : {std::pair{0.3, "*1.0"}, {0.05, "*2.0"}, {0.5, "*4.0"}}) ReadingAfter(dt, r);
    engine.PowerSave(dir.Path("merged.pwr"));
    EXPECT_EQ(dir.Read("merged.pwr"), kHeader + notes + Line({"1.5"}, "0.00") + Line({"4"}, "0.55"));
}

TEST_F(PowerFileTest, workingFileGetsEveryReadingAsItArrives) {
    CurrentSettings().LogToFile = true;
    StartLogging();
    EXPECT_EQ(dir.Read("kelvaro.pwr"), kHeader);
    ReadingAfter(0.3, "*1.0E-3");
    // Closed after every line: what is on disk now survives a killed program.
    EXPECT_EQ(WorkFileNumber(), 0);
    EXPECT_EQ(dir.Read("kelvaro.pwr"), kHeader + Line({"0.001"}, "0.00"));
    ReadingAfter(1.5, "*1.2E-3");
    ReadingAfter(0.5, "*OVER");
    ReadingAfter(0.1, "*");  // no value: no line
    EXPECT_EQ(dir.Read("kelvaro.pwr"), kHeader + data);

    engine.PowerSave(dir.Path("copy.pwr"));
    EXPECT_EQ(dir.Read("copy.pwr"), kHeader + data + notes);
    EXPECT_FALSE(engine.NotSaved);
}

// One PDF page; a PDF that cannot be opened or is cut short is reported.
TEST_F(PowerFileTest, printoutIsHeadStatisticsAndTitleOnOnePdfPageAndItsFailuresAreReported) {
    LogThreeReadings();
    RecordingSurface page;
    engine.PrintTexts(page);
    const std::tuple<QString, double, double> expected[] = {
        {"Head: 3A; s/n 123456", 0, 5}, {"Min:  1.00mW", 0, 10},       {"Max:  1.20mW", 0, 15},
        {"Average:  1.10mW", 0, 20},    {"St.Dev.:  141.42uW", 0, 25}, {"Real-Time Power Logging", 95, 50}};
    EXPECT_EQ(page.Texts().size(), 6);
    for (const auto& [text, x, y] : expected) {
        const RecordingSurface::Call* call = page.Printed(text);
        ASSERT_NE(call, nullptr) << text.toStdString() << " in " << page.Texts().join('|').toStdString();
        EXPECT_EQ(QPointF(call->x1, call->y1), QPointF(x, y)) << text.toStdString();
    }
    EXPECT_EQ(PrintToScreenshots("power_print", [] { FileCommand(2); }), 1);
    EXPECT_TRUE(prompts.Texts().isEmpty());
    for (const QString& out : {dir.Path("no/such/folder/out.pdf"), QStringLiteral("/dev/full")}) {
        platform::printer().ForcePdf(out);
        FileCommand(2);
        EXPECT_EQ(prompts.Texts(), QStringList{"Program internal trap. Notify supplier."})
            << out.toStdString();
        prompts.messages.clear();
    }
    platform::printer().ForcePdf(QString());
}

// Reset, Start after the finished run and closing the window ask before the
// run goes: Cancel keeps it (and the window); No discards it; Yes saves it first.
TEST_F(PowerFileTest, aFinishedUnsavedRunIsDiscardedOnlyAfterTheReminder) {
    CurrentSettings().Power.LogTime = 2;  // the last reading ends the run
    int leaves = 0;
    App().Shell.SwitchMode = [&](int16_t) { ++leaves; };
    using A = platform::Answer;
    enum Action { Reset, Start, Close };
    // action, answer -> the run kept
    const std::tuple<Action, A, bool> cases[] = {
        {Reset, A::Cancel, true}, {Reset, A::No, false},    {Reset, A::Yes, false}, {Start, A::Cancel, true},
        {Start, A::Yes, false},   {Close, A::Cancel, true}, {Close, A::No, false}};
    for (const auto& [action, answer, kept] : cases) {
        SCOPED_TRACE(int(action) * 10 + int(answer));
        engine.NotSaved = false;
        engine.Reset(false);
        LogThreeReadings();
        ASSERT_FALSE(engine.RunActive);
        EXPECT_NEAR(engine.Progress()->Elapsed, 2.0, 1e-9) << "the last reading's time";
        prompts.questions.clear();
        prompts.answers = {answer};
        if (answer == A::Yes) prompts.fileAnswers = {dir.Path("kept.pwr")};
        QFile::remove(dir.Path("kept.pwr"));
        const int leftBefore = leaves;
        bool closed = true;
        if (action == Reset) engine.Reset(false);
        if (action == Start) engine.StartStop();
        if (action == Close) closed = engine.Unload(false);
        EXPECT_EQ(std::pair(prompts.questions.size(), engine.NotSaved), std::pair(size_t(1), kept));
        EXPECT_EQ(closed && leaves > leftBefore, action == Close && !kept);
        if (action != Close) {
            EXPECT_EQ(engine.PointsOnShow(), kept ? 3 : 0);
            EXPECT_EQ(engine.Stopped, action == Reset || kept);
        }
        EXPECT_EQ(QFile::exists(dir.Path("kept.pwr")), answer == A::Yes);
    }
}

// The first failure is told once; the run goes on in memory with the Data
// Log File switched off, and the save writes memory, not the short file.
TEST_F(PowerFileTest, workingFileFailingMidRunIsToldOnceAndTheSaveWritesMemory) {
    std::vector<bool> switched;
    App().Shell.SetDataLogFile = [&](bool on) {
        switched.push_back(on);
        CurrentSettings().LogToFile = on;
    };
    for (const bool openFails : {true, false}) {
        const QString work = dir.Path(openFails ? "open.pwr" : "write.pwr");
        WorkFiles().WorkFileName = work;
        CurrentSettings().LogToFile = true;
        prompts.messages.clear();
        switched.clear();
        engine.Reset(false);
        StartLogging();
        ReadingAfter(0.3, "*1.0E-3");
        std::optional<DiskFullAfter> full;
        if (openFails) {
            QFile::remove(work);
            ASSERT_TRUE(QDir().mkdir(work));
        } else {
            full.emplace(QFileInfo(work).size());
        }
        ReadingAfter(1.5, "*1.2E-3");
        ReadingAfter(0.5, "*OVER");
        full.reset();
        EXPECT_EQ(prompts.Texts(), QStringList{openFails ? "Access denied to file " + work
                                                         : "Writing the data log file " + work +
                                                               " failed. Data Log File is switched off."});
        EXPECT_EQ(switched, std::vector<bool>{false});
        engine.PowerSave(dir.Path("run.pwr"));
        EXPECT_EQ(dir.Read("run.pwr"), kHeader + notes + data) << work.toStdString();
    }
}
