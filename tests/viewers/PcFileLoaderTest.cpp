#include "auxiliary/frmNotes.h"
#include "data/DataFileSave.h"
#include "link/LinkState.h"
#include "state/AppState.h"
#include "state/Files.h"
#include "support/FakeClock.h"
#include "support/Screenshot.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"
#include "viewers/PcFileLoader.h"
#include "viewers/PcFileView.h"
#include "viewers/StoredDataViewer.h"
#include "viewers/Viewers.h"
#include "viewers/frmDataLoad.h"
#include "viewers/frmViewModeDialog.h"

#include <gtest/gtest.h>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace {

using Call = std::pair<int, QString>;  // load step, text

// Records what it is fed; `onLine` runs after each data line.
struct RecordingViewer : StoredDataViewer {
    int16_t kind = 0;
    std::vector<Call> calls;
    int shows = 0;
    std::function<void(int lines)> onLine;
    int lines = 0;
    void Load(int step, const QString& text) override {
        calls.push_back({step, text});
        if (step == -1) App().ViewerKind = kind;
        if (step == 1) App().ViewerKind = -1;
        if (step == 0 && onLine) onLine(++lines);
    }
    void ShowData() override { ++shows; }
    void DataSave(const QString&) override {}
    void Print() override {}
};

const QByteArray kDualPower =
    "Power, W Channel A\t Channel B \t Time, in Seconds \t Head A: PS19; s/n 1234\t Head B: PE25; s/n "
    "5678\r\n";

class PcFileView : public ::testing::Test {
protected:
    void SetUp() override {
        ResetAppState();
        ResetLinkState();
        ForgetViewers();
        modes.clear();
        dialogTitles.clear();
        prompts.messages.clear();
        prompts.beeps = 0;
        for (int16_t k = 0; k < kViewerKinds; ++k) {
            viewers[size_t(k)] = RecordingViewer{};
            viewers[size_t(k)].kind = k;
            SetViewerFactory(k, [this, k] { return &viewers[size_t(k)]; });
        }
        InstallPcFileView(nullptr);
        // The mode switch's part in PC-file view: leave, then enter.
        App().Shell.SwitchMode = [this](int16_t m) {
            modes.push_back(m);
            QString none;
            if (App().ActiveMode == ModePcFile) App().Shell.ModeEntry[ModePcFile](1, none);
            App().ActiveMode = m;
            if (m == ModePcFile) App().Shell.ModeEntry[ModePcFile](-1, none);
        };
        SetViewModeAnswer([this](int16_t, const QString& title) {
            dialogTitles << title;
            return answer;
        });
        Notes().ClearNotesBox();
    }
    void TearDown() override {
        SetViewModeAnswer({});
        ForgetViewers();
    }
    // Opens a file through Mode > Show P&C-File.
    void Open(const QString& name, const QByteArray& bytes) {
        dir.Write(name, bytes);
        prompts.fileAnswers.push_back(dir.Path(name));
        App().Shell.SwitchMode(ModePcFile);
    }
    std::vector<Call> Fed(int16_t kind) const { return viewers[size_t(kind)].calls; }

    ScriptedPrompts prompts;
    TempDir dir;
    FakeClock clock;
    std::array<RecordingViewer, kViewerKinds> viewers;
    std::vector<int16_t> modes;
    int16_t answer = 0;
    QStringList dialogTitles;
};

TEST_F(PcFileView, everyKindGoesToItsViewerWhichShowsItAndClosesOnLeaving) {
    struct Case {
        QByteArray file;
        int16_t answer, viewer;
        QString titleTail;
        std::vector<QString> lines;
        QString unit;
    } cases[] = {
        {"Power, in Lux \t Time, in Seconds \t Head: PH1; s/n 3\r\n'Beam A\r\n' aligned\r\n"
         "0.0012            \t1.50\r\n",
         0,
         ViewPower,
         "; Head: PH1; s/n 3",
         {"0.0012            \t1.50"},
         "Lx"},
        {kDualPower + "1.5E-3 \t2.5E-3 \t0.50\r\n'Beam A\r\n' aligned\r\n",
         1,
         ViewPower,
         "; Head B: PE25; s/n 5678",
         {"2.5E-3 \t0.50"},
         "W"},
        {kDualPower + "1.5E-3 \t2.5E-3 \t0.50\r\n",
         0,
         ViewPower,
         "; Head A: PS19; s/n 1234",
         {"1.5E-3 \t0.50"},
         "W"},
        {kDualPower + "1.5E-3 \t2.5E-3 \t0.50\r\n",
         2,
         ViewPowerRatio,
         "; Head A: PS19; s/n 1234; Head B: PE25; s/n 5678",
         {"1.5E-3 \t2.5E-3 \t0.50"},
         "W"},
        {"Power, V Channel A\t Channel B \t Time\r\n1\t2\t0.00\r\n",
         3,
         ViewPowerDiff,
         "; ",
         {"1\t2\t0.00"},
         "V"},
        {"Energy, in Joules \tTime, in Seconds\t Head: PE10; s/n 99\r\n0.25              \t0.50\r\n",
         0,
         ViewEnergy,
         "; Head: PE10; s/n 99",
         {"0.25              \t"},
         ""},
        {"Energy, J Channel A\t Channel B \t Head A: X; s/n 1\t Head B: Y; s/n 2\r\n1E-3\t2E-3\r\n",
         2,
         ViewEnergyRatio,
         "; Head A: X; s/n 1; Head B: Y; s/n 2",
         {"1E-3\t2E-3"},
         ""},
    };
    for (const Case& c : cases) {
        SetUp();
        answer = c.answer;
        Open("data.pwr", c.file);
        const QString name = dir.Path("data.pwr");
        std::vector<Call> expected{{-1, name + c.titleTail}};
        for (const QString& l : c.lines) expected.push_back({0, l});
        EXPECT_EQ(Fed(c.viewer), expected) << c.file.toStdString();
        EXPECT_EQ(viewers[size_t(c.viewer)].shows, 1);
        if (!c.unit.isEmpty()) EXPECT_EQ(App().BaseUnit, c.unit);
        if (c.file.contains("'Beam")) EXPECT_EQ(Notes().NotesText(), "Beam A aligned");
        if (c.file.contains("Channel")) EXPECT_EQ(dialogTitles, QStringList{name});
        if (c.viewer == ViewPowerRatio) EXPECT_EQ(App().FileHeadBName, "PE25");
        EXPECT_FALSE(DataLoadShowing());
        App().Shell.SwitchMode(ModeNone);
        EXPECT_EQ(Fed(c.viewer).back(), Call(1, "")) << "leaving the view closes the viewer";
        EXPECT_TRUE(prompts.messages.empty());
        TearDown();
    }
}

TEST_F(PcFileView, filesThatCannotBeLoadedLoadNothingWithTheirMessage) {
    struct Case {
        const char* what;
        QByteArray file;  // "-": missing
        int16_t answer;
        QStringList messages;
    } cases[] = {
        {"missing", "-", 0, {}},
        {"empty", "", 0, {}},
        {"unknown header", "Wavelength, nm\r\n1\r\n", 0, {"Unknown file format."}},
        {"view-mode dialog cancelled", kDualPower + "1\t2\t0.00\r\n", -1, {}},
        {"in use",
         "Power\r\n1\t0\r\n",
         0,
         {"File %1 is being used by other process. Operation canceld.",
          "Data file %1 failed. Operation canceled."}},
    };
    for (const Case& c : cases) {
        SetUp();
        answer = c.answer;
        const QString name = dir.Path("x.pwr");
        QFile::remove(name);
        if (c.file != "-") dir.Write("x.pwr", c.file);
        const int16_t writer = QByteArray(c.what) == "in use" ? OpenFile(name, FileAppend) : 0;
        EXPECT_EQ(LoadPcFile(name), 3) << c.what;
        QStringList shown;
        for (const auto& m : prompts.messages) shown << m.text;
        QStringList expected;
        for (const QString& m : c.messages) expected << m.arg(name);
        EXPECT_EQ(shown, expected) << c.what;
        EXPECT_EQ(prompts.beeps,
                  c.what == std::string("in use") || c.what == std::string("unknown header") ? 1 : 0)
            << c.what;
        for (const RecordingViewer& v : viewers) EXPECT_TRUE(v.calls.empty()) << c.what;
        EXPECT_FALSE(DataLoadShowing());
        if (writer) CloseFile(writer);
        TearDown();
    }
}

TEST_F(PcFileView, cancelHalfWayClosesTheViewerShowsNothingAndLeavesTheView) {
    QByteArray file = "Power, in Watts \t Time, in Seconds \t Head: X\r\n";
    for (int n = 0; n < 2000; ++n) file += "0.5               \t" + QByteArray::number(n) + ".00\r\n";
    RecordingViewer& v = viewers[ViewPower];
    bool shownDuringLoad = false;
    v.onLine = [&](int lines) {
        // The click waits in the event queue until 20 ms have passed.
        if (lines == 100) {
            shownDuringLoad = DataLoadShowing() && DataLoadForm().windowTitle() == dir.Path("big.pwr");
            QTimer::singleShot(0, [] { DataLoadForm().butCancel->click(); });
        }
        if (lines == 500) SaveScreenshot(&DataLoadForm(), "loading-window");
        if (lines == 600) clock.Advance(0.025);
    };
    Open("big.pwr", file);
    EXPECT_TRUE(shownDuringLoad);
    EXPECT_EQ(DataLoadForm().lblDataLogTitle->text(), "");
    const int fed = v.lines;
    EXPECT_GE(fed, 600) << "events run every 20 ms, not after every line";
    EXPECT_LT(fed, 700);
    ASSERT_FALSE(v.calls.empty());
    EXPECT_EQ(v.calls.back(), Call(1, ""));
    EXPECT_EQ(v.shows, 0);
    EXPECT_EQ(Link().LoadKind, 3);
    EXPECT_EQ(App().ActiveMode, ModeNone);
    EXPECT_EQ(modes, (std::vector<int16_t>{ModePcFile, ModeNone}));
    EXPECT_FALSE(DataLoadShowing());
}

TEST_F(PcFileView, openingAnotherFileDuringALoadEndsTheFirstLoad) {
    QByteArray first = "Power, in Watts \t Time, in Seconds \t\r\n";
    for (int n = 0; n < 500; ++n) first += "1\t0.00\r\n";
    viewers[ViewPower].onLine = [&](int lines) {
        if (lines != 50) return;
        clock.Advance(0.05);
        dir.Write("second.nrg", "Energy, in Joules \t\r\n7\r\n8\r\n");
        prompts.fileAnswers.push_back(dir.Path("second.nrg"));
        QTimer::singleShot(0, [] { App().Shell.SwitchMode(ModePcFile); });
    };
    Open("first.pwr", first);
    EXPECT_LT(viewers[ViewPower].lines, 100);
    EXPECT_EQ(viewers[ViewPower].shows, 0);
    EXPECT_EQ(Fed(ViewEnergy), (std::vector<Call>{{-1, dir.Path("second.nrg")}, {0, "7"}, {0, "8"}}))
        << "no line of the first file reaches the second file's viewer";
    EXPECT_EQ(viewers[ViewEnergy].shows, 1);
}

TEST_F(PcFileView, aLineTheViewerCannotReadEndsTheLoadNamingLineAndFile) {
    viewers[ViewPower].onLine = [](int lines) {
        if (lines == 3) throw DataFileError("not a number: 1.2.3");
    };
    Open("bad.pwr", "Power, in Watts \t\r\n'note\r\n1\t0\r\n2\t1\r\n1.2.3\t2\r\n4\t3\r\n");
    EXPECT_EQ(viewers[ViewPower].lines, 3) << "the load stops at the bad line";
    EXPECT_EQ(viewers[ViewPower].shows, 0);
    EXPECT_EQ(Fed(ViewPower).back(), Call(0, "1.2.3\t2")) << "what was read stays";
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, "Program internal trap. Notify supplier. Line 5 of " +
                                            dir.Path("bad.pwr") + " cannot be read: not a number: 1.2.3.");
    EXPECT_EQ(prompts.beeps, 1);
    EXPECT_EQ(Notes().NotesText(), "note");
    EXPECT_FALSE(DataLoadShowing());
    const int16_t again = OpenFile(dir.Path("bad.pwr"), FileAppend);
    EXPECT_NE(again, 0) << "the file was closed";
    CloseFile(again);
}

TEST_F(PcFileView, cancelInTheOpenDialogLeavesTheView) {
    App().Shell.SwitchMode(ModePcFile);
    ASSERT_EQ(prompts.fileRequests.size(), 1u);
    EXPECT_EQ(prompts.fileRequests[0].title, "Load data from file");
    EXPECT_TRUE(prompts.fileRequests[0].fileMustExist);
    EXPECT_EQ(modes, (std::vector<int16_t>{ModePcFile, ModeNone}));
    for (const RecordingViewer& v : viewers) EXPECT_TRUE(v.calls.empty());
}

}  // namespace
