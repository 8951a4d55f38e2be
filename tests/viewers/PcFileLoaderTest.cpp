#include "ViewerHarness.h"
#include "support/ProgramState.h"
#include "viewers/DataSet.h"

#include "data/DataFileSave.h"
#include "state/Files.h"
#include "support/FakeClock.h"
#include "support/RecordingViewer.h"
#include "support/Screenshot.h"
#include "viewers/LoadingWindow.h"
#include "viewers/PcFileView.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace {

using Call = std::pair<int, QString>;  // load step, text

const QByteArray kDualPower =
    "Power, W Channel A\t Channel B \t Time, in Seconds \t Head A: PS19; s/n 1234\t Head B: PE25; s/n "
    "5678\r\n";

class PcFileView : public ViewerTest {
protected:
    void SetUp() override {
        ViewerTest::SetUp();
        modes.clear();
        dialogTitles.clear();
        prompts.messages.clear();
        prompts.beeps = 0;
        for (int16_t k = 0; k < kViewerKinds; ++k) {
            viewers[size_t(k)] = RecordingViewer(k);
            SetViewerFactory(k, [this, k] { return &viewers[size_t(k)]; });
        }
        Mode& view = InstallPcFileView(nullptr);
        // The mode switch's part in PC-file view: leave, then enter.
        App().Shell.SwitchMode = [this, &view](int16_t m) {
            modes.push_back(m);
            if (App().ActiveMode == ModePcFile) view.End();
            App().ActiveMode = m;
            if (m == ModePcFile) view.Begin();
        };
        SetViewModeAnswer([this](int16_t, const QString& title) {
            dialogTitles << title;
            return answer;
        });
    }
    // Opens a file through Mode > Show P&C-File.
    void Open(const QString& name, const QByteArray& bytes) {
        dir.Write(name, bytes);
        prompts.fileAnswers.push_back(dir.Path(name));
        App().Shell.SwitchMode(ModePcFile);
    }
    std::vector<Call> Fed(int16_t kind) const { return viewers[size_t(kind)].calls; }

    FakeClock clock;
    std::array<RecordingViewer, kViewerKinds> viewers;
    std::vector<int16_t> modes;
    int16_t answer = 0;
    QStringList dialogTitles;
};

TEST_F(PcFileView, eachKindGoesToItsViewerWhichShowsItAndClosesOnLeaving) {
    const QByteArray notes = "'Beam A\r\n' aligned\r\n", dual = "1.5E-3 \t2.5E-3 \t0.50\r\n";
    const QString a = "; Head A: PS19; s/n 1234", b = "; Head B: PE25; s/n 5678";
    // file, view-mode answer, viewer: the title after the path, the line fed, the data set's unit and head B
    const std::tuple<QByteArray, int16_t, int16_t, QString, QString, QString, QString> cases[] = {
        {"Power, in Lux \t Time, in Seconds \t Head: PH1\r\n" + notes + "12E-3 \t1.50\r\n", 0, ViewPower,
         "; Head: PH1", "12E-3 \t1.50", "Lx", "DefaultB"},
        {kDualPower + dual + notes, 1, ViewPower, b, "2.5E-3 \t0.50", "W", "DefaultB"},
        {kDualPower + dual, 2, ViewPowerRatio, a + b, "1.5E-3 \t2.5E-3 \t0.50", "W", "PE25"},
    };
    for (const auto& [file, mode, viewer, titleTail, line, unit, headB] : cases) {
        SetUp();
        answer = mode;
        Open("data.pwr", file);
        const QString name = dir.Path("data.pwr");
        EXPECT_EQ(Fed(viewer), (std::vector<Call>{{-1, name + titleTail}, {0, line}})) << file.data();
        EXPECT_EQ(Notes().NotesText(), file.contains("'Beam") ? "Beam A\r\n aligned" : "");
        EXPECT_EQ(dialogTitles, file.contains("Channel") ? QStringList{name} : QStringList{});
        EXPECT_EQ(std::tuple(viewers[size_t(viewer)].shows, DataLoadShowing(),
                             DescribedDataSet().Units.BaseUnit, DescribedDataSet().Heads.bName),
                  std::tuple(1, false, unit, headB));
        App().Shell.SwitchMode(ModeNone);
        EXPECT_EQ(Fed(viewer).back(), Call(1, "")) << "leaving the view closes the viewer";
        EXPECT_TRUE(prompts.messages.empty());
        TearDown();
    }
}

TEST_F(PcFileView, filesThatCannotBeLoadedLoadNothingWithTheirMessage) {
    const QString inUse = "File %1 is being used by other process. Operation canceld.";
    // file ("-": missing, "busy": open for writing elsewhere), view-mode answer, messages
    const std::tuple<QByteArray, int16_t, QStringList> cases[] = {
        {"-", 0, {}},
        {"", 0, {}},
        {"Wavelength, nm\r\n1\r\n", 0, {"Unknown file format."}},
        {kDualPower + "1\t2\t0.00\r\n", -1, {}},  // the view-mode dialog cancelled
        {"busy", 0, {inUse, "Data file %1 failed. Operation canceled."}},
    };
    for (const auto& [file, mode, messages] : cases) {
        SetUp();
        answer = mode;
        const QString name = dir.Path("x.pwr");
        QFile::remove(name);
        if (file != "-") dir.Write("x.pwr", file);
        const int16_t writer = file == "busy" ? OpenFile(name, FileAppend) : 0;
        EXPECT_EQ(LoadPcFile(name), 3) << file.data();
        QStringList expected;
        for (const QString& m : messages) expected << m.arg(name);
        EXPECT_EQ(std::tuple(prompts.Texts(), prompts.beeps, DataLoadShowing()),
                  std::tuple(expected, messages.isEmpty() ? 0 : 1, false))
            << file.data();
        for (const RecordingViewer& v : viewers) EXPECT_TRUE(v.calls.empty()) << file.data();
        CloseFile(writer);
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
            shownDuringLoad = DataLoadShowing() && SharedLoadingWindow().windowTitle() == dir.Path("big.pwr");
            QTimer::singleShot(0, [] { SharedLoadingWindow().butCancel->click(); });
        }
        if (lines == 500) SaveScreenshot(&SharedLoadingWindow(), "loading-window");
        if (lines == 600) clock.Advance(0.025);
    };
    Open("big.pwr", file);
    EXPECT_TRUE(shownDuringLoad);
    EXPECT_GE(v.lines.size(), 600) << "events run every 20 ms, not after every line";
    EXPECT_LT(v.lines.size(), 700);
    ASSERT_FALSE(v.calls.empty());
    EXPECT_EQ(std::tuple(v.calls.back(), v.shows, modes, DataLoadShowing()),
              std::tuple(Call(1, ""), 0, std::vector<int16_t>{ModePcFile, ModeNone}, false));
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
    EXPECT_LT(viewers[ViewPower].lines.size(), 100);
    EXPECT_EQ(Fed(ViewEnergy), (std::vector<Call>{{-1, dir.Path("second.nrg")}, {0, "7"}, {0, "8"}}))
        << "no line of the first file reaches the second file's viewer";
    EXPECT_EQ(std::pair(viewers[ViewPower].shows, viewers[ViewEnergy].shows), std::pair(0, 1));
}

TEST_F(PcFileView, aLineTheViewerCannotReadEndsTheLoadNamingLineAndFile) {
    viewers[ViewPower].onLine = [](int lines) {
        if (lines == 3) throw DataFileError("not a number: 1.2.3");
    };
    Open("bad.pwr", "Power, in Watts \t\r\n'note\r\n1\t0\r\n2\t1\r\n1.2.3\t2\r\n4\t3\r\n");
    EXPECT_EQ(viewers[ViewPower].lines.size(), 3) << "the load stops at the bad line";
    EXPECT_EQ(Fed(ViewPower).back(), Call(0, "1.2.3\t2")) << "what was read stays";
    EXPECT_EQ(prompts.Texts(), QStringList{"Program internal trap. Notify supplier. Line 5 of " +
                                           dir.Path("bad.pwr") + " cannot be read: not a number: 1.2.3."});
    EXPECT_EQ(std::tuple(viewers[ViewPower].shows, prompts.beeps, Notes().NotesText(), DataLoadShowing()),
              std::tuple(0, 1, QString("note"), false));
    EXPECT_NE(OpenFile(dir.Path("bad.pwr"), FileAppend), 0) << "the file was closed";
    CloseAllFiles();
}

// Cancel arrives while a line far longer than any of ours is skipped, not
// only after it; notes of any size come back bounded, the rest left out.
TEST_F(PcFileView, cancelWorksWhileAnOverlongLineIsSkippedAndNotesAreBounded) {
    viewers[ViewPower].onLine = [this](int lines) {
        if (lines != 1) return;
        clock.Advance(0.05);
        QTimer::singleShot(0, [] { LoadPcFile("cancel retrieve"); });
    };
    QByteArray file = "Power, in Watts \t\r\n1  0\r\n" + QByteArray(8 << 20, 'x') + "\r\n";
    for (int i = 2; i < 50; ++i) file += QByteArray::number(i) + "  " + QByteArray::number(i) + "\r\n";
    Open("long.pwr", file);
    EXPECT_EQ(viewers[ViewPower].lines.size(), 2) << "the first line and the long one's start, nothing after";
    EXPECT_EQ(viewers[ViewPower].shows, 0);

    viewers[ViewPower].onLine = {};
    QByteArray notes;
    for (int i = 0; i < (1 << 20) / 80; ++i) notes += "'" + QByteArray(80, 'n') + "\r\n";
    Open("notes.pwr", "Power, in Watts \t\r\n" + notes + "'end\r\n1  0\r\n");
    const QString text = Notes().NotesText();
    EXPECT_TRUE(text.startsWith(QString(80, 'n')) && !text.contains("end"));
    EXPECT_TRUE(text.endsWith("\n[The rest of the notes in this file was left out: too long.]"));
    EXPECT_LE(text.size(), 64 * 1024 + 100);  // 64 Ki characters kept
}

TEST(DataLoadWindow, placedAThirdAcrossAndHalfWayDownTheMainWindow) {
    EXPECT_EQ(DataLoadPlacement({900, 640}, {420, 130}), QPoint(160, 255));
    EXPECT_EQ(DataLoadPlacement({300, 100}, {420, 130}), QPoint(0, 0));
}

TEST(DataLoadWindow, cancelAndCloseAbortTheSourcesTransferAndLeaveTheMode) {
    FreshProgramState();
    std::vector<int16_t> modes;
    App().Shell.SwitchMode = [&](int16_t m) { modes.push_back(m); };
    for (const bool byClose : {false, true}) {
        for (const int16_t source : {1, 2, 3, 4, 5}) {
            std::vector<int16_t> cancelled;
            for (int16_t s = 1; s <= 5; ++s)
                SetDataLoadCancel(s, [&cancelled, s] { cancelled.push_back(s); });
            modes.clear();
            DataLoadFormShow(source, "40 data points", "Collecting Logged Data from the TALON");
            LoadingWindow& f = SharedLoadingWindow();
            EXPECT_EQ(f.windowTitle() + "|" + f.lblDataLogTitle->text(),
                      "40 data points|Collecting Logged Data from the TALON");
            ASSERT_TRUE(f.isVisible());
            byClose ? void(f.close()) : f.butCancel->click();
            EXPECT_EQ(
                std::tuple(cancelled, modes, f.isVisible(), f.windowTitle() + f.lblDataLogTitle->text()),
                std::tuple(std::vector<int16_t>{source}, std::vector<int16_t>{ModeNone}, false, QString()))
                << "source " << source << (byClose ? ", closed" : ", cancelled");
            DataLoadCancel();  // nothing is running now
            EXPECT_EQ(cancelled.size(), 1u);
        }
    }
    for (int16_t s = 1; s <= 5; ++s) SetDataLoadCancel(s, {});
}

TEST(DataLoadWindow, progressBarRepaintsOnlyWhenItsWidthChangesAndStopsAtFullWidth) {
    DataLoadFormShow(kSourcePcFile, "a.pwr", "Loading Data Stored in PC File");
    ProgressBox& box = *SharedLoadingWindow().Picture1;
    ProgressRecord r;  // nothing done yet
    DrawProgress(-1, r);
    EXPECT_TRUE(box.isVisible());
    const int width = box.width();
    ASSERT_GT(width, 100);
    const int before = box.Repaints();
    for (int n = 1; n <= 100000; ++n) {
        r.Fraction = float(n) / 100000;
        DrawProgress(0, r);
        if (n == 50000) {
            EXPECT_EQ(box.DrawnWidth(), width / 2);
        }
    }
    EXPECT_EQ(box.Repaints() - before, width) << "one repaint per pixel column, not per line";
    r.Fraction = 1.7f;
    DrawProgress(0, r);
    EXPECT_EQ(box.DrawnWidth(), width);
    DrawProgress(1, r);
    EXPECT_FALSE(box.isVisible());
    DataLoadFormHide();
}

TEST(ViewModeDialog, offersTheDualChoicesPreselectsTheLastAndAnswersWhatIsChosen) {
    // answer before, kind, option clicked before OK (-1 none; -2 Cancel): option preselected, answer
    const std::tuple<int16_t, int16_t, int, int16_t, int16_t> cases[] = {
        {-1, 0, -1, 0, 0},  // after a cancel the first option
        {3, 2, -1, 0, 0},   // the difference is not offered for energy: channel A instead
        {3, 0, 1, 3, 1},   {1, 1, 2, 1, 2}, {2, 0, -2, 2, -1},
    };
    for (const auto& [before, kind, pressed, preselect, chosen] : cases) {
        FreshProgramState();
        SetViewModeAnswer([before = before](int16_t, const QString&) { return before; });
        GetDualViewMode(0, "before");  // the answer the dialog remembers
        SetViewModeAnswer({});
        int16_t preselected = -9;
        bool modal = false;
        // Shown modal under the file's name; its captions and options: the window-layout inventory.
        QTimer::singleShot(0, [&] {
            ViewModeDialog& d = SharedViewModeDialog();
            modal = d.isModal() && d.isVisible() && d.windowTitle() == "run7.dpw";
            preselected = d.SelectedMode();
            if (kind == 0) SaveScreenshot(&d, "view-mode-dialog-power");
            if (pressed >= 0) d.optViewMode[size_t(pressed)]->click();
            (pressed == -2 ? d.butCancel : d.butOK)->click();
        });
        const int16_t answer = GetDualViewMode(kind, "run7.dpw");
        EXPECT_EQ(std::tuple(modal, preselected, answer, SharedViewModeDialog().isVisible()),
                  std::tuple(true, preselect, chosen, false))
            << before << " kind " << kind;
    }
}

}  // namespace
