#include "data/DataFileSave.h"
#include "data/FileCommand.h"
#include "state/AppState.h"
#include "support/ProgramState.h"
#include "support/RecordingMode.h"
#include "support/ScriptedPrompts.h"

#include <gtest/gtest.h>
#include <QStringList>

const QString kTrap = "Program internal trap. Notify supplier.";

// Every mode window's file operations, recorded in one log.
class FileCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int16_t mode : {2, 3, 6, 7, 11, 12, 13}) {
            const QString m = QString::number(mode);
            RecordingMode& r = modes[size_t(mode)];
            r.RegisterAs(mode);
            r.OnPause = [this, m](bool on) { log << m + (on ? " pause" : " resume"); };
            r.OnSave = [this, m](const QString& name) { log << m + " save " + name; };
            r.OnPrint = [this, m] { log << m + " print"; };
        }
    }
    void Run(int16_t mode, int16_t op) {
        App().ActiveMode = mode;
        FileCommand(op);
    }
    ProgramStateScope fresh;
    ScriptedPrompts prompts;
    QStringList log;
    std::array<RecordingMode, ModeRegistry::kCodes> modes;
};

// Cancelling resumes the power-type charts and saves nothing.
TEST_F(FileCommandTest, saveDialogOffersTheModesFileKindAndViewersKeepTheLast) {
    const std::pair<int16_t, int> cases[] = {{5, 1}, {2, 3},  {6, 3},  {3, 2},  {7, 2},
                                             {5, 2}, {11, 5}, {12, 5}, {13, 4}, {6, 4}};
    for (const auto& [mode, filterIndex] : cases) {
        Run(mode, 0);
        EXPECT_EQ(prompts.fileRequests.back().filterIndex, filterIndex) << "mode " << mode;
    }
    const platform::FileDialogRequest& req = prompts.fileRequests.back();
    EXPECT_TRUE(req.title == "Save data in file" && req.overwritePrompt);
    // The shown patterns spell the extension with a capital first letter.
    EXPECT_EQ(req.filter,
              "All files(*.*)|*.*|Energy data files(*.Nrg)|*.nrg|Power data files(*.Pwr)|*.pwr|"
              "Energy dual-channel files(*.Dnr)|*.dnr|Power dual-channel  files(*.Dpw)|*.dpw");
    EXPECT_EQ(log, QStringList({"2 pause", "2 resume", "11 pause", "11 resume", "12 pause", "12 resume"}));
}

// A name without an extension gets the one of the kind the mode saves.
TEST_F(FileCommandTest, saveAddsTheModesExtensionAndRunsBetweenPauseAndResumeUnderTheBusyCursor) {
    // clang-format off
    const struct { int16_t mode, viewer; const char *chosen, *saved; } cases[] = {
        {2, -1, "/d/run", "/d/run.pwr"}, {3, -1, "/d/run", "/d/run.nrg"}, {7, -1, "/d/run.", "/d/run.nrg"},
        {11, -1, "/d.x/run", "/d.x/run.dpw"}, {12, -1, "/d/run", "/d/run.dpw"}, {13, -1, "/d/run", "/d/run.dnr"},
        {6, 2, "/d/run", "/d/run.dpw"}, {6, 3, "/d/run", "/d/run.nrg"}, {2, -1, "/d/run.txt", "/d/run.txt"},
        {6, -1, "/d/run", "/d/run"}};
    // clang-format on
    for (const auto& c : cases) {
        App().ViewerKind = c.viewer;
        prompts.fileAnswers = {c.chosen};
        Run(c.mode, 0);
        EXPECT_EQ(log.filter(" save ").join(','), QString::number(c.mode) + " save " + c.saved) << c.chosen;
        log.clear();
    }
    EXPECT_EQ(prompts.fileRequests[5].defaultSuffix, "dnr");
    // The save runs between pause and resume under the busy cursor; the chosen name is offered next
    // time, and a cancelled dialog forgets it.
    prompts.busyLog.clear();
    prompts.fileAnswers = {"/data/run1.pwr", "/data/run1.nrg"};
    Run(2, 0);
    EXPECT_EQ(log, QStringList({"2 pause", "2 save /data/run1.pwr", "2 resume"}));
    EXPECT_EQ(prompts.busyLog, std::vector<bool>({true, false}));
    Run(3, 0);
    EXPECT_EQ(log.last(), "3 save /data/run1.nrg");
    EXPECT_EQ(prompts.fileRequests.back().fileName, "/data/run1.pwr");
    Run(3, 0);
    Run(3, 0);
    EXPECT_EQ(prompts.fileRequests.back().fileName, "");
}

// A failed print stops the copies after one report.
TEST_F(FileCommandTest, printPausesPowerTypeChartsOnlyAndSetupPrintsOncePerCopy) {
    for (int16_t mode : {2, 3, 6, 12}) Run(mode, 2);
    EXPECT_EQ(log, QStringList({"2 pause", "2 print", "2 resume", "3 print", "6 print", "12 pause",
                                "12 print", "12 resume"}));
    EXPECT_EQ(prompts.busyLog.size(), 8u);
    log.clear();
    prompts.copiesAnswers = {3, -1, 3};
    Run(13, 3);
    Run(13, 3);  // cancelled
    EXPECT_EQ(log, QStringList({"13 print", "13 print", "13 print"}));
    modes[13].OnPrint = [this] { throw DataFileError(log.last()); };
    Run(13, 3);
    EXPECT_EQ(prompts.Texts(), QStringList{kTrap});
}

// Only a save that failed (told or not) brings the question back; No or a
// save that worked end it. Cancel, or Yes and then Cancel in the save dialog,
// keeps the data unsaved and tells the caller to keep everything.
TEST_F(FileCommandTest, reminderAsksAgainOnlyAfterAFailedSaveAndCancelKeepsTheData) {
    App().Shell.SaveFile = [] { FileCommand(FileSave); };
    modes[2].OnSave = [this](const QString& name) {
        if (name != "/ok.pwr") throw DataFileError(name, name == "/b.pwr");
        log << "saved";
    };
    App().ActiveMode = 2;
    using A = platform::Answer;
    // clang-format off
    const struct { std::deque<A> answers; std::deque<QString> files; bool proceed, notSaved; const char* saved; } cases[] = {
        {{A::Yes, A::Yes, A::No}, {"/a", "/b"}, true, false, ""}, {{A::Yes, A::Yes}, {"/a", "/ok"}, true, false, "saved"},
        {{A::Yes}, {""}, false, true, ""}, {{A::Yes, A::Cancel}, {"/a"}, false, true, ""}, {{A::Cancel}, {}, false, true, ""}};
    // clang-format on
    for (const auto& c : cases) {
        prompts.questions.clear();
        log.clear();
        prompts.answers = c.answers;
        prompts.fileAnswers = c.files;
        bool notSaved = true;
        EXPECT_EQ(RemindToSave(notSaved), c.proceed) << c.answers.size();
        EXPECT_EQ(notSaved, c.notSaved) << c.answers.size();
        EXPECT_EQ(prompts.questions.size(), c.answers.size());
        EXPECT_EQ(log.filter("saved").join(""), c.saved);
    }
    EXPECT_EQ(prompts.questions[0].text + "|" + prompts.questions[0].title,
              "The logged data has not been saved. Save it now?|Reminder.");
}

// A failed open was told already: no trap message for it.
TEST_F(FileCommandTest, errorsInsideEndWithTheTrapMessageAndTheChartResumed) {
    const std::pair<std::function<void(const QString&)>, bool> cases[] = {
        {[](const QString&) { throw 42; }, true},
        {[](const QString&) { throw DataFileError("copy"); }, true},
        {[](const QString&) { throw DataFileError("open", true); }, false}};
    prompts.fileAnswers = {"/a", "/b", "/c"};
    int traps = 0;
    for (const auto& [save, trap] : cases) {
        modes[2].OnSave = save;
        Run(2, 0);
        traps += trap;
        EXPECT_EQ(std::pair(prompts.beeps, prompts.Texts()), std::pair(traps, QStringList(traps, kTrap)));
    }
    EXPECT_EQ(log.join(','), "2 pause,2 resume,2 pause,2 resume,2 pause,2 resume");
    EXPECT_EQ(prompts.busyLog, std::vector<bool>({true, false, true, false, true, false}));
}
