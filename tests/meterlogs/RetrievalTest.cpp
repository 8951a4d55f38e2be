#include "MeterLogHarness.h"

namespace {

QVector<int> Ramp(int count, int first = 100) {
    QVector<int> m;
    for (int i = 0; i < count; ++i) m << first + i;
    return m;
}

QStringList PowerLines(const QVector<int>& m, const QString& exponent, double interval) {
    QStringList out;
    for (int i = 0; i < m.size(); ++i) out << QString("%1E%2  %3").arg(m[i]).arg(exponent).arg(i * interval);
    return out;
}

}  // namespace

TEST_F(MeterLogTest, listingAsksEveryFileAndDescribesThoseWithData) {
    pick = -1;
    Download(sim::Model::MeridelOne, {StoredLogOf({1}, 0), StoredLogOf({1, 2}, 3)});
    QStringList expected{"LF  0", "LI", "LF  1", "LF  2", "LF  3", "LI"};
    for (int n = 4; n <= 11; ++n) expected << "LF  " + QString::number(n);
    EXPECT_EQ(LogCommands(), expected);
    ASSERT_EQ(choices.size(), 2);
    EXPECT_TRUE(choices[0].startsWith("Temp      1  "));
    EXPECT_TRUE(choices[1].startsWith("3         2  "));
    EXPECT_EQ(prompts.busyLog, (std::vector<bool>{true, false}));
}

TEST_F(MeterLogTest, downloadsReachTheirViewerWithTitleTimesAndLoadingWindow) {
    sim::StoredLog talon = StoredLogOf(Ramp(25), 0);
    talon.exponent = 2;
    talon.interval = 15;
    sim::StoredLog talonEnergy = StoredLogOf({7, -3}, 0, "J");
    sim::StoredLog meridel = StoredLogOf({1099, 1100, -9876}, 3);
    sim::StoredLog talon2 = StoredLogOf({1, 2}, 0, "mJ");
    talon2.exponent = 6;
    sim::StoredLog sirka = StoredLogOf({+5}, 4, "lx");
    sirka.interval = 1;
    const struct {
        sim::Model model;
        sim::StoredLog log;
        int16_t kind;
        QString title;
        QStringList lines;
        QString loadWindow;
    } cases[] = {
        {sim::Model::Talon, talon, ViewPower, "TALON", PowerLines(Ramp(25), "-1", 0.5),
         "2|25 data points|Collecting Logged Data from the TALON"},
        {sim::Model::Talon,
         talonEnergy,
         ViewEnergy,
         "TALON",
         {"7E-3", "-3E-3"},
         "2|2 data points|Collecting Logged Data from the TALON"},
        {sim::Model::MeridelOne,
         meridel,
         ViewPower,
         "File 3; Head: 3A; s/n: 123456",
         {"1099E-3  0", "Overrange  1", "-9876  2"},
         "4|Channel 'A'. Head type: 3A: s/n: 123456|Collecting Logged Data from the Meridel"},
        {sim::Model::Talon2,
         talon2,
         ViewEnergy,
         "Temp; Head: 3A; s/n: 123456",
         {"1E3", "2E3"},
         "1|Channel 'A'. Head type: 3A: s/n: 123456|Collecting Logged Data from the Talon2"},
        {sim::Model::Sirka,
         sirka,
         ViewPower,
         "File 4; Head: 3A; s/n: 123456",
         {"5E-3  0"},
         "5|Channel 'A'. Head type: 3A: s/n: 123456|Collecting Logged Data from the Sirka"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title.toStdString() + " " + std::to_string(c.kind));
        Fresh();
        Download(c.model, {c.log});
        const RecordingViewer& v = View(c.kind);
        EXPECT_EQ(v.title, c.title);
        EXPECT_EQ(v.lines, c.lines);
        EXPECT_EQ(v.shows, 1);
        EXPECT_EQ(loadWindow, QStringList{c.loadWindow});
        EXPECT_EQ(hides, 1);
        EXPECT_EQ(connectEnabled, 1);
        EXPECT_EQ(LogCommands().filter(QRegularExpression("^L[IRS]")).join(' '),
                  QString(c.model == sim::Model::Talon ? "" : "LI ") + "LI LR " +
                      QStringList(int(c.lines.size() + 9) / 10, "LS").join(' '));
        EXPECT_TRUE(prompts.Texts().isEmpty());
    }
    EXPECT_EQ(App().BaseUnit, "Lx");  // the Sirka log's unit
}

// Eleven readings alternate A, B, ... A: the second block holds a lone A reading.
TEST_F(MeterLogTest, twoChannelLogsFollowTheViewMode) {
    sim::StoredLog dual = StoredLogOf({100, 200, 101, 201, 102, 202, 103, 203, 104, 204, 105}, 2);
    dual.dual = true;
    dual.exponentB = 4;
    dual.headA = "PE25";
    dual.serialA = "9";
    dual.headB = "3A";
    dual.serialB = "7";
    const QString heads = "File 2; Head A: PE25; s/n: 9; Head B: 3A; s/n: 7";
    const struct {
        int16_t mode;
        QString unit;
        int16_t kind;
        QString title;
        QStringList lines;
        QString caption;
    } cases[] = {
        {0,
         "W",
         ViewPower,
         "File 2; Head: PE25; s/n: 9",
         {"100E-3  0", "101E-3  1", "102E-3  2", "103E-3  3", "104E-3  4", "105E-3  5"},
         "Channel 'A'. Head type: PE25: s/n: 9"},
        {1,
         "W",
         ViewPower,
         "File 2; Head: 3A; s/n: 7",
         {"200E1  0", "201E1  1", "202E1  2", "203E1  3", "204E1  4"},
         "Channel 'B'. Head type: 3A: s/n: 7"},
        {2,
         "W",
         ViewPowerRatio,
         heads,
         {"100E-3\t200E1\t0", "101E-3\t201E1\t1", "102E-3\t202E1\t2", "103E-3\t203E1\t3", "104E-3\t204E1\t4"},
         "Head 'A': PE25: s/n: 9; Head 'B': 3A: s/n: 7"},
        {3,
         "W",
         ViewPowerDiff,
         heads,
         {"100E-3\t200E1\t0", "101E-3\t201E1\t1", "102E-3\t202E1\t2", "103E-3\t203E1\t3", "104E-3\t204E1\t4"},
         "Head 'A': PE25: s/n: 9; Head 'B': 3A: s/n: 7"},
        {2,
         "J",
         ViewEnergyRatio,
         heads,
         {"100E-3\t200E1", "101E-3\t201E1", "102E-3\t202E1", "103E-3\t203E1", "104E-3\t204E1"},
         "Head 'A': PE25: s/n: 9; Head 'B': 3A: s/n: 7"},
        {1,
         "J",
         ViewEnergy,
         "File 2; Head: 3A; s/n: 7",
         {"200E1", "201E1", "202E1", "203E1", "204E1"},
         "Channel 'B'. Head type: 3A: s/n: 7"},
        {-1, "W", -1, "", {}, ""},  // the view-mode dialog cancelled
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.mode) + c.unit.toStdString());
        Fresh();
        viewMode = c.mode;
        dual.unit = c.unit;
        Download(sim::Model::MeridelTwo, {dual}, 1);  // the first block comes twice
        EXPECT_EQ(viewModeAsked, QStringList{(c.unit == "J" ? "1" : "0") + QString("|Meridel File")});
        if (c.kind < 0) {
            EXPECT_FALSE(LogCommands().contains("LR"));
            EXPECT_EQ(App().ViewerKind, -1);
            continue;
        }
        EXPECT_EQ(View(c.kind).title, c.title);
        EXPECT_EQ(View(c.kind).lines, c.lines);
        EXPECT_EQ(View(c.kind).shows, 1);
        EXPECT_EQ(loadWindow.value(0).section('|', 1, 1), c.caption);
        if (c.kind == ViewPowerRatio)
            EXPECT_EQ(App().FileHeadAName + App().FileHeadASerial + "|" + App().FileHeadBName +
                          App().FileHeadBSerial,
                      "PE25; s/n 9|3A; s/n 7");
    }
}

TEST_F(MeterLogTest, badBlocksAreRepeatedTwiceThenTheUserIsAskedToRetry) {
    const struct {
        sim::Model model;
        int badBlocks;
        bool retry;
        QString blocks;  // the data commands of the first download
        int shows;
    } cases[] = {
        {sim::Model::MeridelOne, 2, false, "LS LL LS LL LS", 1},
        {sim::Model::MeridelOne, 3, false, "LS LL LS LL LS", 0},
        {sim::Model::Talon, 1, false, "LS", 0},  // a short block fails at once
        {sim::Model::Talon, 1, true, "LS", 1},   // Yes starts again; the meter now sends it whole
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(int(c.model)) + " " + std::to_string(c.badBlocks) +
                     (c.retry ? " retry" : ""));
        Fresh();
        prompts.yesNoAnswers = {c.retry};
        Download(c.model, {StoredLogOf(Ramp(25), 0)}, c.badBlocks);
        const QStringList sent = LogCommands();
        const qsizetype firstLs = sent.indexOf("LS");
        const qsizetype restart = sent.indexOf(QRegularExpression("^L[FI]"), firstLs);
        EXPECT_EQ(sent.mid(firstLs, restart < 0 ? -1 : restart - firstLs).join(' '), c.blocks);
        EXPECT_EQ(View(ViewPower).shows, c.shows);
        if (c.shows) EXPECT_EQ(View(ViewPower).lines.size(), 25);  // repeated blocks are taken once
        const bool failed = c.badBlocks > 2 || c.model == sim::Model::Talon;
        ASSERT_EQ(prompts.questions.size(), failed ? 1u : 0u);
        if (!failed) continue;
        EXPECT_EQ(prompts.questions[0].text + "|" + prompts.questions[0].title,
                  "Data Reading Fail. Retry?|Data Error.");
        EXPECT_EQ(switchedTo, (std::vector<int16_t>{ModeDeviceFile, c.retry ? ModeDeviceFile : ModeNone}));
    }
}

TEST_F(MeterLogTest, cancelHalfWayClosesTheViewerAndLeavesTheView) {
    for (const sim::Model model : {sim::Model::MeridelOne, sim::Model::Talon}) {
        Fresh();
        int blocks = 0;
        betweenBlocks = [&] {
            if (++blocks != 2) return;
            (model == sim::Model::Talon ? RetrieveTalonLog : RetrieveLogFile)("cancel retrieve");
            App().Shell.SwitchMode(ModeNone);
        };
        Download(model, {StoredLogOf(Ramp(35), 0)});
        EXPECT_EQ(View(ViewPower).shows, 0);
        EXPECT_GE(View(ViewPower).closes, 1);
        EXPECT_EQ(View(ViewPower).lines.size(), 10);
        EXPECT_EQ(App().ViewerKind, -1);
        EXPECT_EQ(App().ActiveMode, ModeNone);
        EXPECT_EQ(LogCommands().count("LS"), 2);  // nothing asked after the Cancel
    }
}

TEST_F(MeterLogTest, noStoredDataIsReportedWithTheMetersName) {
    const std::pair<sim::Model, QString> cases[] = {
        {sim::Model::Talon, "TALON"}, {sim::Model::MeridelTwo, "Meridel"}, {sim::Model::Sirka, "Sirka"}};
    for (const auto& [model, name] : cases) {
        Fresh();
        Download(model, {});
        ASSERT_EQ(prompts.messages.size(), 1u);
        EXPECT_EQ(prompts.messages[0].text, "Sorry, no logged data is available on your " + name + ".");
        EXPECT_EQ(prompts.messages[0].title, "Information");
        EXPECT_EQ(switchedTo.back(), ModeNone);
    }
}

TEST_F(MeterLogTest, aMeterRefusingTheListIsAskedAgainThreeTimes) {
    sim::MeterConfig cfg;
    cfg.model = sim::Model::Talon2;
    cfg.refused.insert("LF");
    cfg.lineTiming = false;
    ASSERT_TRUE(ConnectTo(cfg));
    App().DeviceType = 3;
    App().Shell.SwitchMode(ModeDeviceFile);
    while (port->DeliverNext()) {
    }
    EXPECT_EQ(LogCommands(), QStringList(4, "LF  0"));
    EXPECT_EQ(prompts.Texts(), QStringList{"Data Reading Fail. Retry?"});
}

TEST_F(MeterLogTest, leavingTheViewClosesTheViewerAndRestoresTheUnit) {
    App().BaseUnit = "W";
    Download(sim::Model::Talon2, {StoredLogOf({5}, 0, "lx")});
    EXPECT_EQ(App().BaseUnit, "Lx");
    App().Shell.SwitchMode(ModeNone);
    EXPECT_EQ(View(ViewPower).closes, 1);
    EXPECT_EQ(App().ViewerKind, -1);
    EXPECT_EQ(App().BaseUnit, "W");
}
