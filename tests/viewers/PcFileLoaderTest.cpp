#include "ViewerHarness.h"
#include "support/ProgramState.h"
#include "viewers/DataSet.h"

#include "auxiliary/NotesText.h"
#include "data/DataFileSave.h"
#include "link/LinkState.h"
#include "state/Files.h"
#include "support/FakeClock.h"
#include "support/Screenshot.h"
#include "viewers/LoadingWindow.h"
#include "viewers/PcFileView.h"

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

class PcFileView : public ViewerTest {
protected:
    void SetUp() override {
        ViewerTest::SetUp();
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
    const QString headA = "; Head A: PS19; s/n 1234", headB = "; Head B: PE25; s/n 5678";
    struct Case {
        QByteArray file;
        int16_t answer, viewer;
        QString titleTail, line;
    } cases[] = {
        {"Power, in Lux \t Time, in Seconds \t Head: PH1\r\n" + notes + "12E-3 \t1.50\r\n", 0, ViewPower,
         "; Head: PH1", "12E-3 \t1.50"},
        {kDualPower + dual + notes, 1, ViewPower, headB, "2.5E-3 \t0.50"},
        {kDualPower + dual, 2, ViewPowerRatio, headA + headB, "1.5E-3 \t2.5E-3 \t0.50"},
        {"Energy, in Joules \tTime, in Seconds\t Head: PE10\r\n0.25 \t0.50\r\n", 0, ViewEnergy,
         "; Head: PE10", "0.25 \t"},
        {"Energy, J Channel A\t Channel B \t Head A: X\t Head B: Y\r\n1E-3\t2E-3\r\n", 2, ViewEnergyRatio,
         "; Head A: X; Head B: Y", "1E-3\t2E-3"},
    };
    for (const Case& c : cases) {
        SetUp();
        answer = c.answer;
        Open("data.pwr", c.file);
        const QString name = dir.Path("data.pwr");
        EXPECT_EQ(Fed(c.viewer), (std::vector<Call>{{-1, name + c.titleTail}, {0, c.line}})) << c.file.data();
        EXPECT_EQ(viewers[size_t(c.viewer)].shows, 1);
        EXPECT_EQ(Notes().NotesText(), c.file.contains("'Beam") ? "Beam A\r\n aligned" : "");
        EXPECT_EQ(dialogTitles, c.file.contains("Channel") ? QStringList{name} : QStringList{});
        EXPECT_EQ(DescribedDataSet().Units.BaseUnit, c.file.contains("Lux") ? "Lx" : "W");
        EXPECT_EQ(DescribedDataSet().Heads.bName, c.viewer == ViewPowerRatio ? "PE25" : "DefaultB");
        EXPECT_FALSE(DataLoadShowing());
        App().Shell.SwitchMode(ModeNone);
        EXPECT_EQ(Fed(c.viewer).back(), Call(1, "")) << "leaving the view closes the viewer";
        EXPECT_TRUE(prompts.messages.empty());
        TearDown();
    }
}

TEST_F(PcFileView, filesThatCannotBeLoadedLoadNothingWithTheirMessage) {
    const QString inUse = "File %1 is being used by other process. Operation canceld.";
    struct Case {
        QByteArray file;  // "-": missing, "busy": open for writing elsewhere
        int16_t answer;
        QStringList messages;
    } cases[] = {
        {"-", 0, {}},
        {"", 0, {}},
        {"Wavelength, nm\r\n1\r\n", 0, {"Unknown file format."}},
        {kDualPower + "1\t2\t0.00\r\n", -1, {}},  // the view-mode dialog cancelled
        {"busy", 0, {inUse, "Data file %1 failed. Operation canceled."}},
    };
    for (const Case& c : cases) {
        SetUp();
        answer = c.answer;
        const QString name = dir.Path("x.pwr");
        QFile::remove(name);
        if (c.file != "-") dir.Write("x.pwr", c.file);
        const int16_t writer = c.file == "busy" ? OpenFile(name, FileAppend) : 0;
        EXPECT_EQ(LoadPcFile(name), 3) << c.file.data();
        QStringList expected;
        for (const QString& m : c.messages) expected << m.arg(name);
        EXPECT_EQ(prompts.Texts(), expected) << c.file.data();
        EXPECT_EQ(prompts.beeps, c.messages.isEmpty() ? 0 : 1) << c.file.data();
        for (const RecordingViewer& v : viewers) EXPECT_TRUE(v.calls.empty()) << c.file.data();
        EXPECT_FALSE(DataLoadShowing());
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
    EXPECT_GE(v.lines, 600) << "events run every 20 ms, not after every line";
    EXPECT_LT(v.lines, 700);
    ASSERT_FALSE(v.calls.empty());
    EXPECT_EQ(v.calls.back(), Call(1, ""));
    EXPECT_EQ(v.shows, 0);
    EXPECT_EQ(ReceivingViewerOfLoad(), -1);
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
    EXPECT_NE(OpenFile(dir.Path("bad.pwr"), FileAppend), 0) << "the file was closed";
    CloseAllFiles();
}

// Cancel arrives while a line far longer than any of ours is skipped, not
// only after it; notes of any size come back bounded.
TEST_F(PcFileView, cancelWorksWhileAnOverlongLineIsSkippedAndNotesAreBounded) {
    viewers[ViewPower].onLine = [this](int lines) {
        if (lines != 1) return;
        clock.Advance(0.05);
        QTimer::singleShot(0, [] { LoadPcFile("cancel retrieve"); });
    };
    QByteArray file = "Power, in Watts \t\r\n1  0\r\n" + QByteArray(8 << 20, 'x') + "\r\n";
    for (int i = 2; i < 50; ++i) file += QByteArray::number(i) + "  " + QByteArray::number(i) + "\r\n";
    Open("long.pwr", file);
    EXPECT_EQ(viewers[ViewPower].lines, 2) << "the first line and the long one's start, nothing after";
    EXPECT_EQ(viewers[ViewPower].shows, 0);

    viewers[ViewPower].onLine = {};
    QByteArray notes;
    for (int i = 0; i < (1 << 20) / 80; ++i) notes += "'" + QByteArray(80, 'n') + "\r\n";
    Open("notes.pwr", "Power, in Watts \t\r\n" + notes + "1  0\r\n");
    const QString text = Notes().NotesText();
    EXPECT_TRUE(text.startsWith(QString(80, 'n')));
    EXPECT_TRUE(text.endsWith(kNotesCutText));
    EXPECT_LE(text.size(), kMaxNotesLength + 100);
}

}  // namespace
