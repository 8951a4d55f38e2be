#include "data/Overrange.h"
#include "dual/EnergyRatioHarness.h"
#include "link/Dispatch.h"
#include "support/RecordingSurface.h"

#include <QtWidgets>

TEST_F(EnergyRatioTest, repliesArePairedAcrossChannelsAndUnusablePairsAreDropped) {
    const double over = OverrangeValue;
    // Replies; pairs stored, the last one and its ratios A/B and B/A; the read-out, beeps.
    // clang-format off
    const struct { QStringList replies; int stored; float a, b; double r0, r1; const char* readout; int beeps; } cases[] = {
        {{"1.0E-3 N", "N 2.0E-3"}, 1, 1e-3f, 2e-3f, 0.5, 2, "5.00E-1", 0},
        {{"N N"}, 0, 0, 0, 0, 0, "", 0},
        {{"0 0"}, 0, 0, 0, 0, 0, "", 0},
        {{"2.0E-3 0"}, 1, 2e-3f, 0, over, 0, "Overrange", 1},
        // A pair 0.1 s after an over-range one, 0.2 s after the last read-out: "Overrange" stays.
        {{"1E-3 1E-3", "2.0E-3 0", "1E-3 1E-3"}, 3, 1e-3f, 1e-3f, 1, 1, "Overrange", 1},
        {{"OVER 1E-3", "1E999 1E-3"}, 1, float(over), 1e-3f, over, 0, "Overrange", 1},
        {{"2.5E-6 1E-3", "5E-3 1E-3"}, 2, 5e-3f, 1e-3f, 5, 0.2, "5.00", 0}};
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.replies.join(" | ").toStdString());
        engine = std::make_unique<EnergyRatioEngine>();
        prompts.beeps = 0;
        StartRun();
        for (const QString& reply : c.replies) Reply(reply, c.replies.size() == 3 && c.beeps ? 0.1 : 0.5);
        ASSERT_EQ(engine->Store().Count(), c.stored);
        EXPECT_EQ(engine->Display.RatioText, c.readout);
        EXPECT_EQ(prompts.beeps, c.beeps);
        if (c.stored == 0) continue;
        const PairRecord& r = engine->Store().OldestFirst(c.stored - 1);
        EXPECT_EQ(std::pair(r.A, r.B), std::pair(c.a, c.b));
        EXPECT_DOUBLE_EQ(engine->Ratio[0], c.r0);
        EXPECT_DOUBLE_EQ(engine->Ratio[1], c.r1);
    }
}

// A half reply from before a pause finds no partner after it. Normalising without an average,
// or by a factor no double holds (the inverse of 1E-300 / 1E10), only beeps.
TEST_F(EnergyRatioTest, resumeDropsAWaitingHalfPairAndNormalisingRefusesNoAverageAndAnInfiniteFactor) {
    StartRun();
    Reply("1.0E-3 N");
    engine->StartStop();
    StartRun();  // resumed
    Reply("N 2.0E-3");
    EXPECT_EQ(engine->Store().Count(), 0);
    engine->Normalize();
    Reply("1E-300 1E10");
    engine->Normalize();
    EXPECT_EQ(std::tuple(prompts.beeps, engine->Normalized, engine->Display.NormalizeCaption,
                         engine->Display.NormaText),
              std::tuple(2, false, QString("Normalize"), QString("None")));
}

// Refused requests are asked again; the tenth in a row stops the run with one
// message and keeps the pairs for saving.
TEST_F(EnergyRatioTest, refusedRequestsAreAskedAgainUntilTenInARowStopTheRun) {
    StartRun();
    Reply("1E-3 2E-3");
    QString shown;  // the window's Start/Stop caption
    engine->View.DisplayChanged = [&](const EnergyRatioDisplay& d) { shown = d.StartStopCaption; };
    for (int i = 1; i <= 10; ++i) {
        const qsizetype before = port->Written().size();
        QString refused = QStringLiteral("?\r");
        engine->EnergyRatioLog(kRefusedReplyOp, refused);
        EXPECT_EQ(port->Written().size() > before && port->Written().endsWith("$SB\r"), i < 10) << i;
        EXPECT_EQ(engine->Stopped, i == 10) << i;
    }
    EXPECT_EQ(std::tuple(prompts.messages.size(), engine->Unsaved, engine->Store().Count(), shown),
              std::tuple(1u, true, 1, QString("&Start")));
}

TEST_F(EnergyRatioTest, statisticsPerDirectionAndNormalisingByTheAverage) {
    StartRun();
    for (const char* pair : {"1E-3 2E-3", "2E-3 4E-3", "3E-3 6E-3 "}) Reply(pair);
    Reply("1E-3 4E-3");  // A/B 0.5, 0.5, 0.5, 0.25
    engine->StartStop();
    EXPECT_EQ(engine->Display.StatLabels,
              (std::array<QString, 4>{"Min:  2.50 E-01", "Max:  5.00 E-01", "Average:  4.38 E-01",
                                      "St.Dev.:  1.25 E-01"}));
    engine->SetRatioMode(1);  // B/A 2, 2, 2, 4
    EXPECT_EQ(engine->Display.StatLabels[2], "Average:  2.50");

    engine = std::make_unique<EnergyRatioEngine>();
    StartRun();
    Reply("1E-3 2E-3");
    engine->Normalize();  // the average A/B is 0.5
    EXPECT_EQ(std::tuple(engine->NormFactor, engine->Display.NormalizeCaption, engine->Display.NormaText),
              std::tuple(2.0, QString("DeNormalize"), QString("2.00")));
    Reply("1E-3 2E-3");
    EXPECT_EQ(engine->Display.RatioText, "1.00");
    engine->SetRatioMode(1);  // a factor of the other direction does not carry over
    EXPECT_EQ(std::pair(engine->NormFactor, engine->Display.NormaText), std::pair(1.0, QString("None")));
}

TEST_F(EnergyRatioTest, averageStyleAveragesEachChannelAndSampleStyleKeepsFirstsOfGroups) {
    // Rate 3, pairs A = k mJ, B = 2k mJ for k = 1..7: Average stores (2, 4) and (5, 10); Sample 1, 4 and 7.
    const std::tuple<int16_t, std::vector<std::pair<float, float>>> cases[] = {
        {1, {{2e-3f, 4e-3f}, {5e-3f, 10e-3f}}}, {2, {{1e-3f, 2e-3f}, {4e-3f, 8e-3f}, {7e-3f, 14e-3f}}}};
    for (const auto& [style, expected] : cases) {
        CurrentSettings().EnergyRatio.RatioStorageRate = 3;
        CurrentSettings().EnergyRatio.RatioStorageStyle = style;
        engine = std::make_unique<EnergyRatioEngine>();
        StartRun();
        for (int k = 1; k <= 7; ++k) Reply(QString("%1E-3 %2E-3").arg(k).arg(2 * k));
        std::vector<std::pair<float, float>> stored;
        for (int32_t i = 0; i < engine->Store().Count(); ++i)
            stored.emplace_back(engine->Store().OldestFirst(i).A, engine->Store().OldestFirst(i).B);
        EXPECT_EQ(stored, expected) << style;
    }
}

TEST_F(EnergyRatioTest, aLayoutWithNineThousandPairsReplaysEveryThirdWithTheCurrentRatio) {
    StartRun();
    for (int k = 0; k < 9000; ++k) Reply(k % 3 == 0 ? "1E-3 2E-3" : "2E-3 1E-3", 0.01);
    ASSERT_EQ(engine->Store().Count(), 9000);
    RecordingSurface surface;
    std::tie(engine->Chart.Width, engine->Chart.Height) = std::pair(120, 80);
    engine->DrawWholeChart(surface);
    const auto points = surface.Calls("FillBox");
    ASSERT_EQ(points.size(), 3000u);
    // Every third pair is one with A/B 0.5: half-way up the 0..1 frame from 7 to 71.
    for (const auto& p : points) ASSERT_DOUBLE_EQ(p.y1, 39);
}

TEST_F(EnergyRatioTest, savedFileHasTheDualEnergyHeaderAndLinesWithAndWithoutTimeStampsThroughBothPaths) {
    Notes().txtboxNotes->setPlainText("Beam at 45 degrees");
    for (int bits = 0; bits < 4; ++bits) {
        const bool timeStamp = bits & 1, logToFile = bits & 2;
        SCOPED_TRACE(bits);
        CurrentSettings().EnergyRatio.RatioTimeStamp = timeStamp;
        CurrentSettings().LogToFile = logToFile;
        engine->Reset(false);
        StartRun();  // 0.5 s, 1.0 s and 1.5 s after the start
        Reply("1.25E-3 N");
        Reply("N 2.5E-3");
        Reply("OVER 1E-3");
        prompts.fileAnswers = {dir.Path("run.dnr")};
        FileCommand(0);
        ASSERT_FALSE(engine->Unsaved);
        const QByteArray data =
            timeStamp ? Line({"0.00125", "0.0025"}, "1.00") + Line({"Overrange", "0.001"}, "1.50")
                      : Line({"0.00125", "0.0025"}, "") + Line({"Overrange", "0.001"}, "");
        const QByteArray header = QByteArray("Energy, J Channel A\t Channel B \t") +
                                  (timeStamp ? " Time, Seconds\t" : "") +
                                  " Head A: PE25; s/n4711\t Head B: PE10; s/n815\r\n";
        const QByteArray notes = "'Beam at 45 degrees\r\n";
        EXPECT_EQ(dir.Read("run.dnr"), logToFile ? header + data + notes : header + notes + data);
    }
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(EnergyRatioTest, aFailedSaveAtTheReminderKeepsTheRunForAnotherTry) {
    StartRun();
    Reply("1E-3 2E-3");
    prompts.yesNoAnswers = {true, true};
    prompts.fileAnswers = {dir.Path("missing/run.dnr"), dir.Path("run.dnr")};
    QString none;
    engine->EnergyRatioLog(1, none);
    EXPECT_TRUE(dir.Read("run.dnr").startsWith("Energy, J Channel A") && !engine->Unsaved);
}
