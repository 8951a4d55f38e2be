#include "link/LinkHarness.h"
#include "meterlogs/LogRetrieval.h"
#include "meterlogs/LogText.h"
#include "meterlogs/MeterLogList.h"
#include "support/ProgramState.h"
#include "support/RecordingViewer.h"
#include "support/Screenshot.h"
#include "viewers/DataSet.h"
#include "viewers/Viewers.h"

#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <array>

// Device-file view on the in-memory meter: recording viewers, a mode switch
// that leaves and enters the view, and loading-window and dialog fakes that
// note what they were asked in `shown`.
class MeterLogTest : public LinkTest {
protected:
    void SetUp() override {
        LinkTest::SetUp();
        for (int16_t k = 0; k < kViewerKinds; ++k) {
            viewers[size_t(k)] = std::make_unique<RecordingViewer>(k);
            SetViewerFactory(k, [v = viewers[size_t(k)].get()] { return v; });
        }
        App().Shell.SwitchMode = [this](int16_t m) {
            switchedTo.push_back(m);
            if (App().ActiveMode == ModeDeviceFile) LeaveDeviceFileView();
            if ((App().ActiveMode = m) == ModeDeviceFile) RetrieveLogs(-1, {});
        };
        modes[ModeDeviceFile].Entry = [](int, QString& text) { RetrieveLogs(0, text); };
        App().Shell.ConnectEnable = [this](bool on) { shown << "connect " + QString::number(on); };
        RetrievalHooks& h = MeterLogHooks();
        h.ShowLoadWindow = [this](int16_t source, const QString& caption, const QString& label) {
            shown << QString::number(source) + "|" + caption + "|" + label;
        };
        h.HideLoadWindow = [this] { shown << "hide"; };
        h.DrawProgress = [this](int phase, float f) {
            if (phase == 0) return void(fraction = f);
            shown << "bar " + QString::number(phase);
        };
        h.AskViewMode = [this](int16_t kind, const QString& title) {
            shown << QString::number(kind) + "|" + title;
            return viewMode;
        };
        h.ChooseFile = [this](const QStringList& c) {
            if ((choices = c).size() > pick && pick >= 0) RetrieveLogs(0, c[pick]);
        };
        h.LetEventsRun = [this] { betweenBlocks(); };
    }
    void TearDown() override {
        ForgetViewers();
        LinkTest::TearDown();
    }
    void Fresh() {  // the next case of a table starts from nothing recorded
        TearDown();
        switchedTo.clear();
        prompts.messages.clear();
        prompts.questions.clear();
        shown.clear();
        SetUp();
    }

    // Enters device-file view on a meter holding `logs` and lets it talk
    // until it has nothing more to say.
    void Download(sim::Model model, const QVector<sim::StoredLog>& logs, int badBlocks = 0,
                  QString refuse = {}) {
        sim::MeterConfig cfg{.model = model, .logs = logs, .lineTiming = false};
        cfg.faults.badBlocks = badBlocks;
        if (!refuse.isEmpty()) cfg.refused << refuse;
        ASSERT_TRUE(ConnectTo(cfg));
        TestMeter().DeviceType = MeterModel(model);
        App().Shell.SwitchMode(ModeDeviceFile);
        for (int i = 0; i < 100000 && port->DeliverNext(); ++i) {
        }
    }
    QString LogCommands() const { return Commands().filter(QRegularExpression("^L")).join(' '); }
    RecordingViewer& View(int16_t kind) { return *viewers[size_t(kind)]; }

    std::array<std::unique_ptr<RecordingViewer>, kViewerKinds> viewers;
    QStringList shown, choices;
    int pick = 0;
    float fraction = 0;  // of the progress bar
    int16_t viewMode = 0;
    std::function<void()> betweenBlocks = [] {};
};

static QVector<int> Ramp(int count) {
    QVector<int> m;
    for (int i = 0; i < count; ++i) m << 100 + i;
    return m;
}

static QStringList Lines(int count, const std::function<QString(int)>& line) {
    QStringList out;
    for (int i = 0; i < count; ++i) out << line(i);
    return out;
}

TEST_F(MeterLogTest, listingDescribesTheFilesWithDataAndTheSelectionWindowOpensTheChosenOne) {
    pick = -1;
    const sim::StoredLog dual{
        .file = 3, .unit = "RP_", .dual = true, .headB = "3A", .mantissas = {1, 2, 3, 4, 5}};
    Download(sim::Model::MeridelTwo, {{.mantissas = {1, 2}}, dual});
    EXPECT_EQ(LogCommands(),
              "LF  0 LI LF  1 LF  2 LF  3 LI LF  4 LF  5 LF  6 LF  7 LF  8 LF  9 LF  10 LF  11");
    const auto columns = [](QStringList c) {  // of 10, 15, 20, 30 and 20 characters
        return c[0].leftJustified(10) + c[1].leftJustified(15) + c[2].leftJustified(20) +
               c[3].leftJustified(30) + c[4].leftJustified(20);
    };
    EXPECT_EQ(choices, (QStringList{columns({"Temp", "2", "Power", "3A", "123456"}),
                                    columns({"3", "2.5", "RP-Units", "Dual-Channel", "---"})}));
    EXPECT_EQ(prompts.busyLog, (std::vector<bool>{true, false}));
    // The selection window opens the chosen file or leaves the view.
    UseChunks();
    const QStringList lines{"Temp      25", "3         12.5"};
    using W = MeterLogList&;
    // clang-format off
    const struct { int16_t device; QString caption; std::function<void(W)> act; bool opens; } cases[] = {
        {2, "Meridel", [](W w) { w.butOpen->click(); }, true},
        {3, "Talon2", [](W w) { QTest::keyClick(w.LogFilesList, Qt::Key_Return); }, true},
        {8, "Sirka", [](W w) { emit w.LogFilesList->itemDoubleClicked(w.LogFilesList->currentItem()); }, true},
        {1, "Meridel", [](W w) { w.butCancel->click(); }, false}};
    // clang-format on
    for (const auto& c : cases) {
        chunks.written.clear();
        switchedTo.clear();
        TestMeter().DeviceType = MeterModel(c.device);
        Transfer().LogList[0] = lines[0];
        Transfer().LogList[3] = lines[1];
        Transfer().RetrieveStep = 4;
        MeterLogList w;
        QString seen;
        QTimer::singleShot(0, &w, [&] {
            seen = w.windowTitle() + "|" + w.List1->item(0)->text();
            w.LogFilesList->setCurrentRow(1);
            SaveScreenshot(&w, "meterlogs-selection");
            c.act(w);
        });
        w.GetFileInx(lines);
        EXPECT_EQ(seen, c.caption +
                            " Log File Selection|Name      Size           Type                Head       "
                            "                   S/N                 ");
        EXPECT_EQ(chunks.written, c.opens ? "$LF  3\r" : "");
        EXPECT_EQ(switchedTo, c.opens ? std::vector<int16_t>{} : std::vector<int16_t>{ModeNone});
    }
}

TEST_F(MeterLogTest, downloadsReachTheirViewerWithTitleTimesAndLoadingWindow) {
    const QString a = "Channel 'A'. Head type: 3A: s/n: 123456|Collecting Logged Data from the ";
    const QString t = "|Collecting Logged Data from the TALON";
    // clang-format off
    const struct { sim::Model model; sim::StoredLog log; int16_t kind; QString title; QStringList lines; QString window; int blocks; } cases[] = {
        {sim::Model::Talon, {.exponent = 2, .interval = 15, .mantissas = Ramp(25)}, ViewPower, "TALON", Lines(25, [](int i) { return QString("%1E-1  %2").arg(100 + i).arg(i * 0.5); }), "2|25 data points" + t, 3},
        {sim::Model::Talon, {.unit = "J", .mantissas = {7, -3}}, ViewEnergy, "TALON", {"7E-3", "-3E-3"}, "2|2 data points" + t, 1},
        {sim::Model::MeridelOne, {.file = 3, .mantissas = {1099, 1100, -9876}}, ViewPower, "File 3; Head: 3A; s/n: 123456", {"1099E-3  0", "Overrange  1", "-9876  2"}, "4|" + a + "Meridel", 1},
        {sim::Model::Talon2, {.unit = "mJ", .exponent = 6, .mantissas = {1, 2}}, ViewEnergy, "Temp; Head: 3A; s/n: 123456", {"1E3", "2E3"}, "1|" + a + "Talon2", 1},
        {sim::Model::Talon2, {.mantissas = Ramp(20)}, ViewPower, "Temp; Head: 3A; s/n: 123456", Lines(20, [](int i) { return QString("%1E-3  %2").arg(100 + i).arg(i); }), "1|" + a + "Talon2", 2},
        {sim::Model::Sirka, {.file = 4, .unit = "lx", .mantissas = {5}}, ViewPower, "File 4; Head: 3A; s/n: 123456", {"5E-3  0"}, "5|" + a + "Sirka", 1},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.window.toStdString());
        Fresh();
        DescribeDataSet({UnitScale{"W", true}, true, {}});  // as a file in relative units left it
        Download(c.model, {c.log});
        EXPECT_FALSE(DescribedDataSet().Units.RelativeEnergy || DescribedDataSet().MissingPulseDetection);
        const RecordingViewer& v = View(c.kind);
        EXPECT_EQ(v.title + "|" + QString::number(v.shows), c.title + "|1");
        EXPECT_EQ(v.lines, c.lines);
        EXPECT_EQ(shown, (QStringList{"bar -1", c.window, "connect 1", "bar 1", "hide"}));
        EXPECT_EQ(std::pair(fraction, prompts.Texts()), std::pair(1.0f, QStringList()));
        EXPECT_TRUE(LogCommands().endsWith("LI LR" + QString(" LS").repeated(c.blocks)));
    }
    // The Sirka log is in lux, which its viewer takes with the record.
    EXPECT_EQ(DescribedDataSet().Units.BaseUnit, "Lx");
    App().Shell.SwitchMode(ModeNone);
    EXPECT_EQ(QString::number(View(ViewPower).closes) + QString::number(App().ViewerKind), "1-1");
}

// Eleven readings alternate A, B, ... A: the second block holds a lone A reading.
TEST_F(MeterLogTest, twoChannelLogsFollowTheViewMode) {
    sim::StoredLog dual{
        .file = 2, .exponentB = 4, .dual = true, .serialA = "9", .headB = "3A", .serialB = "7"};
    dual.headA = "PE 25 B";  // blanks inside the fixed-width field
    dual.mantissas = {100, 200, 101, 201, 102, 202, 103, 203, 104, 204, 105};
    const QString heads = "File 2; Head A: PE 25 B; s/n: 9; Head B: 3A; s/n: 7";
    const QString both = "Head 'A': PE 25 B: s/n: 9; Head 'B': 3A: s/n: 7";
    const auto pairs = [](QString tail) {
        return Lines(
            5, [tail](int i) { return QString("%1E-3\t%2E1%3").arg(100 + i).arg(200 + i).arg(tail.arg(i)); });
    };
    // clang-format off
    const struct { int16_t mode; QString unit; int16_t kind; QString title; QStringList lines; QString caption; } cases[] = {
        {0, "W", ViewPower, "File 2; Head: PE 25 B; s/n: 9", Lines(6, [](int i) { return QString("%1E-3  %2").arg(100 + i).arg(i); }), "Channel 'A'. Head type: PE 25 B: s/n: 9"},
        {1, "J", ViewEnergy, "File 2; Head: 3A; s/n: 7", Lines(5, [](int i) { return QString("%1E1").arg(200 + i); }), "Channel 'B'. Head type: 3A: s/n: 7"},
        {2, "W", ViewPowerRatio, heads, pairs("\t%1"), both},
        {3, "W", ViewPowerDifference, heads, pairs("\t%1"), both},
        {2, "J", ViewEnergyRatio, heads, pairs(""), both},
        {-1, "W", -1, "", {}, ""},  // the view-mode dialog cancelled: nothing is downloaded
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.mode) + c.unit.toStdString());
        Fresh();
        viewMode = c.mode;
        dual.unit = c.unit;
        Download(sim::Model::MeridelTwo, {dual}, 1);  // the first block comes twice
        EXPECT_EQ(shown.value(0), (c.unit == "J" ? "1" : "0") + QString("|Meridel File"));
        EXPECT_EQ(LogCommands().contains("LR"), c.kind >= 0);
        if (c.kind < 0) continue;
        EXPECT_EQ(View(c.kind).title + "|" + shown.value(2).section('|', 1, 1), c.title + "|" + c.caption);
        EXPECT_EQ(View(c.kind).lines, c.lines);
        if (c.kind == ViewPowerDifference) {  // the heads its files name
            const DualHeads& h = DescribedDataSet().Heads;
            EXPECT_EQ(h.aName + h.aSerial + h.bName + h.bSerial, "PE 25 B; s/n 93A; s/n 7");
        }
    }
}

// Bad blocks are asked for twice more, a short TALON block not at all; a
// meter without data is named, one refusing the list is asked three times more.
TEST_F(MeterLogTest, failuresAskToRetryOrReportNoDataAndACancelLeavesTheView) {
    const QString retry = "Data Reading Fail. Retry?|Data Error.";
    const QString none = "Sorry, no logged data is available on your %1.|Information";
    // clang-format off
    const struct { sim::Model model; int readings, badBlocks; bool yes; QString tail; int shows; QString asked; std::vector<int16_t> modes; } cases[] = {
        {sim::Model::MeridelOne, 25, 2, false, "LR LS LL LS LL LS", 1, "", {5}},
        {sim::Model::MeridelOne, 25, 3, false, "LR LS LL LS LL LS", 0, retry, {5, 0}},
        {sim::Model::Talon, 25, 1, false, "LR LS", 0, retry, {5, 0}},
        {sim::Model::Talon, 25, 1, true, "LR LS LI LR LS LS LS", 1, retry, {5, 5}},  // now sent whole
        {sim::Model::Talon, 0, 0, false, "LI", 0, none.arg("TALON"), {5, 0}},
        {sim::Model::Sirka, 0, 0, false, "LF  11", 0, none.arg("Sirka"), {5, 0}},
        {sim::Model::Talon2, -1, 0, false, "LF  0 LF  0 LF  0 LF  0", 0, retry, {5, 0}},  // "LF" refused
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tail.toStdString() + " " + std::to_string(c.badBlocks));
        Fresh();
        prompts.yesNoAnswers = {c.yes};
        Download(c.model, {{.mantissas = Ramp(qMax(c.readings, 0))}}, c.badBlocks,
                 c.readings < 0 ? "LF" : "");
        EXPECT_TRUE(LogCommands().endsWith(c.tail)) << LogCommands().toStdString();
        EXPECT_EQ(View(ViewPower).shows, c.shows);
        if (c.shows) {
            EXPECT_EQ(View(ViewPower).lines.size(), 25);  // repeated blocks are taken once
        }
        const auto& p = prompts.messages.empty() ? prompts.questions : prompts.messages;
        EXPECT_EQ(p.empty() ? "" : p[0].text + "|" + p[0].title, c.asked);
        EXPECT_EQ(switchedTo, c.modes);
    }
    // A Cancel half way closes the viewer and leaves the view.
    for (const sim::Model model : {sim::Model::MeridelOne, sim::Model::Talon}) {
        Fresh();
        int blocks = 0;
        betweenBlocks = [&] {  // the loading window's Cancel
            if (++blocks != 2) return;
            (model == sim::Model::Talon ? RetrieveTalonLog : RetrieveLogFile)("cancel retrieve");
            App().Shell.SwitchMode(ModeNone);
        };
        Download(model, {{.mantissas = Ramp(35)}});
        EXPECT_EQ(View(ViewPower).shows * 10 + View(ViewPower).closes, 1);
        EXPECT_EQ(App().ViewerKind + App().ActiveMode, -1);
        EXPECT_TRUE(LogCommands().endsWith("LS LS"));  // nothing asked after the Cancel
    }
}

TEST(LogText, readingWordsBecomeTextsOrMakeTheBlockBadAndUnitsAndBlockCountsFollowTheLog) {
    // clang-format off
    const struct { const char* word; int32_t fullScale; const char* text; /* "" = bad */ } cases[] = {
        {"+01234", 2000, "1234E-3"}, {"+01100", 1000, "Overrange"}, {"+01000", 909, "Overrange"} /* 999.9 rounded */,
        {"+00999", 909, "999E-3"}, {"01234", 2000, ""}, {"+1234", 2000, ""}, {"+0123a", 2000, ""}, {"0+1234", 2000, ""}};
    // clang-format on
    for (const auto& c : cases) {
        QString text;
        const bool good = MeridelReadingText(c.word, 0, OverrangeCount(c.fullScale), text);
        EXPECT_EQ(good ? text : QString(), QString(c.text)) << c.word;
    }
    // The unit symbol decides the base unit, in order.
    const std::pair<const char*, const char*> units[] = {{"mW", "W"}, {"lx", "Lx"}, {"fc", "Fc"}, {"mA", "A"},
                                                         {"V", "V"},  {"Wlc", "W"}, {"LX", "W"}};
    for (const auto& [symbol, unit] : units) EXPECT_EQ(UnitFromSymbolText(symbol), unit) << symbol;
    // Ten readings a block, the last one partly filled; no count overflows.
    const std::pair<int32_t, int32_t> blocks[] = {
        {0, 0}, {1, 1}, {10, 1}, {11, 2}, {20, 2}, {25, 3}, {2147483640, 214748364}, {2147483647, 214748365}};
    for (const auto& [readings, count] : blocks) EXPECT_EQ(BlocksFor(readings), count) << readings;
    EXPECT_EQ(OverrangeCount(2147483647), 2147483647);
}
