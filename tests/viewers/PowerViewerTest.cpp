#include "ViewerHarness.h"

#include "auxiliary/SetupControls.h"
#include "data/DataFileSave.h"
#include "data/Overrange.h"
#include "platform/Palette.h"
#include "platform/Printer.h"
#include "support/Screenshot.h"
#include "support/StabilityCell.h"
#include "viewers/DataSet.h"
#include "viewers/PowerViewData.h"
#include "viewers/PowerViewLimits.h"
#include "viewers/PowerViewer.h"
#include "viewers/PowerViewers.h"
#include "widgets/SurfaceWidget.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <cmath>

namespace {

PowerViewData Loaded(PowerCombine combine, const QStringList& lines) {
    PowerViewData d(combine);
    for (const QString& l : lines) d.AddLine(l);
    return d;
}

QString Field(double v) {
    return QString::number(v, 'f', 6).leftJustified(18) + "\t";
}
QString Line(double v, double t) {
    return Field(v) + QString::number(t, 'f', 2);
}

struct Plotted {
    double time, value;
};
std::vector<Plotted> PlotAll(const PowerViewData& d, int direction = 0) {
    std::vector<Plotted> out;
    d.ForEachPlotted(0, d.Count() - 1, direction, [&](const PlottedPoint& p) {
        out.push_back({p.Time, p.Value});
    });
    return out;
}

}  // namespace

using PowerViewDataTest = ViewerTest;

TEST_F(PowerViewDataTest, singleLinesGiveTimesValuesAndStatistics) {
    // what, lines ('|' between): the last line's time and value, valid and over-range readings
    const std::tuple<const char*, const char*, double, double, int64_t, int64_t> cases[] = {
        {"over range, statistics untouched", "Overrange         \t12.50", 12.5, OverrangeValue, 0, 1},
        {"a value as long as its field ends at the TAB", "0.004             \t2.00|0.00123456789012345\t9.00",
         9.0, 0.00123456789012345, 2, 0},
        {"two blanks end a value before any TAB", "1234E-3  0.5", 0.5, 1.234, 1, 0},
        {"a channel's field and the rest", "1.5E-03           \t\t4.00", 4.0, 0.0015, 1, 0},
    };
    for (const auto& [what, text, lastTime, lastValue, valid, over] : cases) {
        SCOPED_TRACE(what);
        const QStringList lines = QString(text).split('|');
        // The same from the file's bytes, the text reading taking what they leave.
        PowerViewData bytes(PowerCombine::Single);
        for (const QString& l : lines)
            if (!bytes.AddBytes(l.toUtf8().toStdString())) bytes.AddLine(l);
        const PowerViewData read = Loaded(PowerCombine::Single, lines);
        for (const PowerViewData* d : {&read, static_cast<const PowerViewData*>(&bytes)}) {
            ASSERT_EQ(d->Count(), lines.size());
            EXPECT_EQ(std::tuple(d->Time(d->Count() - 1), d->ChannelA(d->Count() - 1), d->Stats(0).Count,
                                 d->OverCount(0)),
                      std::tuple(lastTime, lastValue, valid, over));
        }
    }
}

TEST_F(PowerViewDataTest, unreadableLinesThrowWithTheirReason) {
    const std::pair<PowerCombine, const char*> lines[] = {
        {PowerCombine::Single, "abc               \t1.00"},
        {PowerCombine::Single, "0.7"},
        {PowerCombine::Single, "0.001             \tnoon"},
        {PowerCombine::Ratio, "0.001             \t0.002"},
        {PowerCombine::Difference, "0.001\tx\t1.00"},
        {PowerCombine::Ratio, "0.001\t0.002\t1.00 s"},
        {PowerCombine::Ratio, "0.001\t0.002"},
    };
    for (const auto& [combine, line] : lines) {
        PowerViewData d(combine);
        EXPECT_FALSE(d.AddBytes(line)) << "left to the text reading: " << line;
        EXPECT_THROW(d.AddLine(line), DataFileError) << line;
        EXPECT_EQ(d.Count(), 0) << line;
    }
}

TEST_F(PowerViewDataTest, intervalsPlotEveryPointOrGroupAverages) {
    // points, points plotted, group size (0: every point)
    for (const auto& [points, plotted, groupSize] :
         {std::tuple{999, size_t(999), 0}, {1000, 500, 2}, {60000, 984, 61}}) {
        SCOPED_TRACE(points);
        PowerViewData d(PowerCombine::Single);
        for (int i = 0; i < points; ++i) d.AddLine(Line(i, i * 0.5));
        const auto p = PlotAll(d);
        ASSERT_EQ(p.size(), plotted);
        EXPECT_DOUBLE_EQ(p[0].value, 0);
        if (groupSize == 0) {
            EXPECT_DOUBLE_EQ(p.back().value, points - 1);
            continue;
        }
        // Group g holds the points g*size .. g*size + size-1, drawn at the last one's time.
        for (size_t k : {size_t(1), plotted - 1}) {
            const double lastOfGroup = double(k) * groupSize - 1;
            EXPECT_EQ(std::pair(p[k].time, p[k].value),
                      std::pair(lastOfGroup * 0.5, lastOfGroup - (groupSize - 1) / 2.0));
        }
    }
}

TEST_F(PowerViewDataTest, dualValuesKeepStatisticsForBothDirections) {
    // B over range: A/B gives 0, B/A is over range; both zero gives no result.
    const QStringList lines = {"0.002\t0.001\t0.00", "0.001\t0.004\t1.00", "0.003\tOverrange\t2.00",
                               "0\t0\t3.00"};
    const PowerViewData ratio = Loaded(PowerCombine::Ratio, lines);
    ASSERT_EQ(ratio.Count(), 4);
    EXPECT_EQ(std::tuple(ratio.Stats(0).Count, ratio.Stats(0).Min, ratio.Stats(0).Max, ratio.OverCount(0)),
              std::tuple(3, 0.0, 2.0, 0));
    EXPECT_EQ(std::tuple(ratio.Stats(1).Count, ratio.Stats(1).Max, ratio.OverCount(1)),
              std::tuple(2, 4.0, 1));
    EXPECT_EQ(PlotAll(ratio, 1).size(), 3u);  // over range drawn, no result passed over
    const PowerViewData diff = Loaded(PowerCombine::Difference, lines);
    EXPECT_DOUBLE_EQ(diff.Stats(0).Min, -0.003);
    EXPECT_DOUBLE_EQ(diff.Stats(1).Max, 0.003);
    EXPECT_EQ(std::pair(diff.OverCount(0), diff.OverCount(1)), std::pair(int64_t(1), int64_t(1)));
}

TEST_F(PowerViewDataTest, limitsChosenAtLoad) {
    // what, of ratios, data minimum and maximum: Low and High bars, scale and unit, view exponent, chart
    using I = int16_t;
    const std::tuple<const char*, bool, double, double, double, double, I, I, I, float, float> cases[] = {
        {"0.5 W", false, 0, 0.5, 0, 500, 0, 3, 0, 0, 0.5f},
        {"2.5 W", false, 0, 2.5, 0, 250, 1, 3, 0, 0, 2.5f},
        {"1500 W", false, 0, 1500, 0, 150, 1, 4, 0, 0, 1500},
        {"30000 W", false, 0, 30000, 0, 300, 2, 4, 0, 0, 30000},
        {"0.2 .. 0.5 W", false, 0.2, 0.5, 200, 500, 0, 3, 0, 0.2f, 0.5f},
        // The bars hold the data and the first chart is what they show.
        {"12.25 .. 12.75 mW", false, 0.01225, 0.01275, 122, 128, 2, 2, 0, 0.0122f, 0.0128f},
        {"ratio 0.5 .. 2", true, 0.5, 2.0, 0, 2, 0, 4, 0, 0, 2},
        {"ratio 5 .. 50", true, 5, 50, 0, 5, 0, 4, 1, 0, 50},
    };
    for (const auto& [what, ratio, min, max, low, high, scale, unit, exponent, yMin, yMax] : cases) {
        SCOPED_TRACE(what);
        const ViewLimits v = (ratio ? RatioLimitsAtLoad : PowerLimitsAtLoad)(min, max);
        EXPECT_NEAR(v.Low, low, 1e-4);
        EXPECT_NEAR(v.High, high, 1e-4);
        if (!ratio) {
            EXPECT_EQ(std::pair(v.ScaleExponent, v.UnitIndex), std::pair(scale, unit));
        }
        EXPECT_EQ(std::tuple(v.ViewExponent, v.YMin, v.YMax), std::tuple(exponent, yMin, yMax));
    }
}

class PowerViewerTest : public ViewerTest {
protected:
    void SetUp() override {
        ViewerTest::SetUp();
        area.resize(1000, 640);
        area.show();
        InstallPowerViewers(&area);
    }
    PowerViewer& Show(int16_t kind, const QStringList& lines, const QString& title = "a.pwr; Head: TH1") {
        auto& v = dynamic_cast<PowerViewer&>(*Viewer(kind));
        Feed(v, title, lines);
        return v;
    }
    // A laser warming up (single channel), or two beams (A, B) over n half seconds.
    static QStringList Lines(int n, bool dual) {
        QStringList lines;
        for (int i = 0; i < n; ++i)
            lines << (dual
                          ? Field(0.002 + 0.0005 * std::sin(i / 9.0)) + Line(0.0015 + 0.0002 * i / n, i * 0.5)
                          : Line(0.2 + 0.3 * (1 - std::exp(-i / 60.0)) + 0.004 * std::sin(i * 1.7), i * 0.5));
        return lines;
    }
    // Pixel of a time on the shown chart.
    static QPoint At(PowerViewer& v, double t) {
        const ChartGeometry& g = v.Chart.Screen;
        const double x = g.PlotLeft + (t - g.ChartStart) * g.XPerSecond;
        const double perUnit = v.Picture1->width() / double(v.Chart.Width);
        return QPoint(int(std::lround(x * perUnit)), v.Picture1->height() / 2);
    }
    static void Drag(PowerViewer& v, double t1, double t2) {
        QTest::mousePress(v.Picture1, Qt::LeftButton, {}, At(v, t1));
        QTest::mouseMove(v.Picture1, At(v, (t1 + t2) / 2));
        QTest::mouseMove(v.Picture1, At(v, t2));
        QTest::mouseRelease(v.Picture1, Qt::LeftButton, {}, At(v, t2));
    }
    QMdiArea area;
};

// The bars hold the data, the first chart is what they show, and Apply with
// nothing changed keeps it.
TEST_F(PowerViewerTest, loadShowsStatisticsAndBarsAndApplyKeepsTheChart) {
    // what, viewer, chart, lines ('|' between): min|max|avr|sd|total|over|Low|High|coefficient|unit ("": any)
    const std::tuple<const char*, int16_t, float, float, const char*, const char*> cases[] = {
        {"milliwatts", ViewPower, 0.001f, 0.002f, "0.001             \t0.00|0.002             \t1.00",
         "Min:  1.00mW|Max:  2.00mW|Average:  1.50mW|St.Dev.:  707.11uW|"
         "Total Points:  2|Points Overrange:  0|100|200|x 10|uW"},
        {"all over range", ViewPower, 0, 1,
         "Overrange         \t0.00|Overrange         \t1.00|Overrange         \t2.00",
         "Min:  0.00pW|Max:  0.00pW|||Total Points:  3|Points Overrange:  3|0|1|x 1|W"},
        // A ratio of two zeros is no point; an over-range one is.
        {"ratios up to 1.0", ViewPowerRatio, 0, 1, "0.5\t1\t0|0.75\t1\t1|1\t1\t2|0\t0\t3|Overrange\t1\t4",
         "||||Total Points:  4||0|10||"},
        {"differences -2 .. 0.5 mW", ViewPowerDifference, -0.002f, 0.0005f,
         "0.001\t0.003\t0.00|0.0015\t0.001\t1.00|Overrange\t0\t2.00",
         "Min:  -2.00mW|||||Out of Range:  1|-200|50|x 10|uW"},
    };
    for (const auto& [what, kind, yMin, yMax, lines, texts] : cases) {
        SCOPED_TRACE(what);
        PowerViewer& v = Show(kind, QString(lines).split('|'));
        QStringList shown = {v.lblMinPower->text(),          v.lblMaxPower->text(),
                             v.lblAvrPower->text(),          v.lblStDevPower->text(),
                             v.lblTotalPoints->text(),       v.lblPointsOverrange->text(),
                             v.txt_power[0]->text(),         v.txt_power[1]->text(),
                             v.cmbPowerCoeff->currentText(), v.cmbPowerUnits->currentText()};
        const QStringList want = QString(texts).split('|');
        for (qsizetype i = 0; i < want.size(); ++i)
            if (want[i].isEmpty()) shown[i].clear();
        EXPECT_EQ(shown.join('|').toStdString(), texts);
        for (int apply = 0; apply < 2; ++apply) {
            EXPECT_EQ(std::pair(v.Chart.YMin, v.Chart.YMax), std::pair(yMin, yMax)) << apply << " Apply";
            QTest::mouseClick(v.butApply, Qt::LeftButton);
        }
    }
}

// Fewer than fifteen points beep; more zoom, the stability figures following.
TEST_F(PowerViewerTest, dragZoomsOverFifteenPointsWithTheStabilityFiguresAndRightClickRestores) {
    const QStringList lines = Lines(200, false);
    PowerViewer& v = Show(ViewPower, lines);
    v.resize(960, 600);
    QApplication::processEvents();
    ASSERT_GT(v.Chart.Screen.XPerSecond, 0);
    QTest::mouseClick(v.findChild<QPushButton*>("butStability"), Qt::LeftButton);
    auto* s = v.findChild<StabilityWindow*>("StabilityWindow");
    ASSERT_NE(s, nullptr);
    // The readings and mean of points first..last, from the values of the file.
    const auto expectFigures = [&](int64_t first, int64_t last) {
        double sum = 0;
        for (int64_t i = first; i <= last; ++i) sum += lines[i].section('\t', 0, 0).toDouble();
        EXPECT_EQ(last - first + 1, Cell(*s, "Readings"));
        EXPECT_NEAR(sum / double(last - first + 1), Cell(*s, "Mean"), 1e-6);
    };
    expectFigures(0, 199);
    EXPECT_TRUE(s->lblTitle->text().endsWith("\n0.00 s to 99.50 s")) << "the whole record";
    Drag(v, 40, 45);  // 10 points
    EXPECT_EQ(std::tuple(prompts.beeps, v.Zoomed, v.butZoomOut->isVisible()), std::tuple(1, false, false));

    Drag(v, 40, 50);  // 20 points
    ASSERT_EQ(std::tuple(prompts.beeps, v.Zoomed, v.butZoomOut->isVisible(), v.butZoomOut->text()),
              std::tuple(1, true, true, QString("Zoom &Out")));
    EXPECT_NEAR(v.ZoomStart, 40, 1);
    EXPECT_NEAR(v.ZoomEnd, 50, 1);
    EXPECT_EQ(v.ZoomLast - v.ZoomFirst, 2 * int64_t(std::lround(v.ZoomEnd - v.ZoomStart)));
    s->Tick();
    expectFigures(v.ZoomFirst, v.ZoomLast);
    EXPECT_TRUE(s->lblTitle->text().contains(QString::number(v.Data.Time(v.ZoomFirst), 'f', 2) + " s to "));
    SaveScreenshot(&v, "power_viewer_zoomed");
    PrintToScreenshots("power_viewer_printed", [&] { v.Print(); });
    QApplication::processEvents();
    EXPECT_FALSE(SaveScreenshot(s, "stability_zoomed_viewer").isEmpty());
    EXPECT_EQ(1, PrintToScreenshots("stability_printout", [&] { EXPECT_TRUE(s->PrintFigures()); }));

    QTest::mousePress(v.Picture1, Qt::RightButton, {}, At(v, 50));
    EXPECT_EQ(std::tuple(v.Zoomed, v.butZoomOut->isVisible(), v.ZoomFirst, v.ZoomLast),
              std::tuple(false, false, int64_t(0), int64_t(199)));
}

// 12.2 typed in mW is 12.2 mW; text that is no number beeps, is marked and changes nothing.
TEST_F(PowerViewerTest, applyTakesTheBarsAndTypedDecimalsInTheirUnitAndRefusesNoNumber) {
    PowerViewer& v = Show(ViewPower, {"0.01225           \t0", "0.01275           \t1"});
    v.txt_power[0]->setText("150");
    v.txt_power[1]->setText("300");
    v.cmbPowerUnits->setCurrentIndex(3);
    v.cmbPowerCoeff->setCurrentIndex(1);
    prompts.busyLog.clear();
    QTest::mouseClick(v.butApply, Qt::LeftButton);
    EXPECT_EQ(prompts.busyLog, std::vector<bool>({true, false}));  // the busy pointer while it applies
    EXPECT_EQ(std::pair(v.graph_limits[0]->value(), v.graph_limits[1]->value()), std::pair(150, 300));
    EXPECT_EQ(std::pair(v.Chart.YMin, v.Chart.YMax), std::pair(1.5f, 3.0f));
    // Over 30 kW the unit falls back: 999 x 100 kW or W would pass it, 999 x 100 mW does not.
    v.graph_limits[1]->setValue(999);
    v.cmbPowerCoeff->setCurrentIndex(2);
    v.cmbPowerUnits->setCurrentIndex(5);
    EXPECT_EQ(std::tuple(v.cmbPowerCoeff->currentText(), v.cmbPowerUnits->currentText()),
              std::tuple(QString("x 100"), QString("mW")));
    QTest::mouseClick(v.butCancel, Qt::LeftButton);
    EXPECT_EQ(std::pair(v.txt_power[1]->text(), v.cmbPowerCoeff->currentIndex()),
              std::pair(QString("300"), 1));

    const int beeps = prompts.beeps;
    v.cmbPowerUnits->setCurrentIndex(3);
    v.cmbPowerCoeff->setCurrentIndex(0);
    for (auto [box, typed] : {std::pair{0, "12.2"}, {1, "12.85"}}) {
        v.txt_power[box]->clear();
        QTest::keyClicks(v.txt_power[box], typed);
    }
    QTest::mouseClick(v.butApply, Qt::LeftButton);
    EXPECT_EQ(std::tuple(prompts.beeps, v.txt_power[0]->text() + " " + v.txt_power[1]->text(), v.Chart.YMin,
                         v.Chart.YMax),
              std::tuple(beeps, QString("12.2 12.85"), 0.0122f, 0.01285f));
    v.txt_power[1]->setText("1.2.");
    QTest::mouseClick(v.butApply, Qt::LeftButton);
    EXPECT_EQ(std::tuple(prompts.beeps, IsRefused(v.txt_power[1]), v.txt_power[1]->text(), v.Chart.YMax),
              std::tuple(beeps + 1, true, QString("1.2."), 0.01285f));
}

TEST_F(PowerViewerTest, savedRecordLoadsBackAndNoEmptyOrPartRecordIsWritten) {
    // A value of more digits than a single holds is written as a single, so
    // that it fits the 16 characters a power line can read back.
    const QStringList lines = {"0.0012            \t1.50", "Overrange         \t2.00",
                               "0,25              \t2,50", "0.12345678901234567  \t3.00"};
    PowerViewer& v = Show(ViewPower, lines);
    Notes().AppendNotesBox("beam at 1064 nm");
    v.DataSave(dir.Path("copy.pwr"));
    EXPECT_EQ(QString::fromLatin1(dir.Read("copy.pwr")).split("\r\n", Qt::SkipEmptyParts),
              QStringList({"Power, in Watts \t Time, in Seconds \tHead: TH1", "'beam at 1064 nm",
                           "0.0012            \t1.50", "Overrange         \t2.00", "0.25              \t2.50",
                           "0.12345679        \t3.00"}));

    // Opened again from a folder whose name holds "Head" and saved again:
    // the same file, the path staying out of its head text.
    ASSERT_TRUE(QDir(dir.Path()).mkdir("HeadLab"));
    dir.Write("HeadLab/copy.pwr", dir.Read("copy.pwr"));
    Notes().ClearNotesBox();
    ASSERT_EQ(LoadPcFile(dir.Path("HeadLab/copy.pwr")), 0);
    v.ShowData();
    v.DataSave(dir.Path("again.pwr"));
    EXPECT_EQ(dir.Read("again.pwr"), dir.Read("copy.pwr"));
    // Neither an empty record nor the part of a file a failed load left is saved or printed.
    Feed(v, "empty.pwr", {});
    v.DataSave(dir.Path("none.pwr"));
    v.Load(-1, "broken.pwr");
    v.Load(0, "0.001             \t0.00");  // the load then stopped at an unreadable line
    v.DataSave(dir.Path("part.pwr"));
    v.Print();
    EXPECT_FALSE(QFile::exists(dir.Path("none.pwr")) || QFile::exists(dir.Path("part.pwr")));
    ASSERT_EQ(prompts.messages.size(), 2u);
    EXPECT_TRUE(prompts.messages[0].text.contains("not loaded completely"));
}

TEST_F(PowerViewerTest, dualViewersShowTheirDirectionWithoutReload) {
    DescribeDataSet({UnitScale(), false, DualHeads{"TH1", "; s/n 111"}});
    PowerViewer& ratio = Show(ViewPowerRatio, {"0.004\t0.001\t0.00", "0.001\t0.002\t1.00"},
                              "b.dpw; Head A: TH1; s/n 111; Head B: TH2");
    const auto minMax = [&] { return ratio.lblMinPower->text() + "|" + ratio.lblMaxPower->text(); };
    EXPECT_EQ(minMax(), "Min:  5.00 E-01|Max:  4.00");
    EXPECT_TRUE(ratio.graph_exp->isVisibleTo(&ratio) && !ratio.cmbPowerUnits->isVisibleTo(&ratio));
    auto* combo = ratio.findChild<QComboBox*>("cmbRatioMode");
    ASSERT_NE(combo, nullptr);
    const float yMaxAB = ratio.Chart.YMax;
    combo->setCurrentIndex(1);
    EXPECT_EQ(minMax(), "Min:  2.50 E-01|Max:  2.00");
    EXPECT_EQ(ratio.Chart.YMax, yMaxAB);                      // redrawn with the applied limits
    ratio.graph_exp->setValue(ratio.graph_exp->value() - 2);  // its box follows the bar
    EXPECT_EQ(ratio.txt_exp->text().toInt(), ratio.graph_exp->value());
    ratio.DataSave(dir.Path("r.dpw"));
    EXPECT_EQ(
        QString::fromLatin1(dir.Read("r.dpw")).split("\r\n").join('|').toStdString(),
        "Power, W Channel A\t Channel B \t Time, in Seconds \t Head A: TH1; s/n 111\t Head B: DefaultB; "
        "s/n 12345|0.004             \t0.001             \t0.00|0.001             \t0.002             "
        "\t1.00|");
    Show(ViewPowerRatio, Lines(200, true), "b.dpw");
    SaveScreenshot(&ratio, "power_ratio_viewer");

    PowerViewer& diff = Show(ViewPowerDifference, Lines(200, true), "b.dpw");
    SaveScreenshot(&diff, "power_difference_viewer");
}

// All of 2,000,000 readings are kept; one at ten times the level and one at
// zero among them show as the band behind the averages: in the first
// drawing, in a zoom and on paper, at the columns of their times.
TEST_F(PowerViewerTest, aSpikeAndADropoutInTwoMillionPointsShowInTheBand) {
    const int n = 2000000, spike = 700000, dropout = 1300000;
    QByteArray file = "Power, in Watts \t Time, in Seconds \t Head: TH1\r\n";
    for (int i = 0; i < n; ++i) {
        const QByteArray value = i == spike ? "10" : i == dropout ? "0" : "1";
        file += value.leftJustified(18) + '\t' + QByteArray::number(i * 0.01, 'f', 2) + "\r\n";
    }
    dir.Write("day.pwr", file);
    auto& v = dynamic_cast<PowerViewer&>(*Viewer(ViewPower));
    LoadFile(v, ViewPower, dir.Path("day.pwr"));
    v.resize(960, 600);
    QApplication::processEvents();
    // Every line is kept, found by a zoom to the end and written back.
    ASSERT_EQ(std::pair(v.Data.Count(), v.Data.Stats(0).Count), std::pair(int64_t(n), int64_t(n)));
    int64_t first = 0, last = 0, lines = 0;
    v.Data.ZoomIndexes(19990, 19999.995, first, last);
    EXPECT_EQ(last, n - 1);
    QString lastLine;
    v.Data.ForEachFileLine([&](const QString& l) {
        ++lines;
        lastLine = l;
    });
    EXPECT_EQ(std::pair(lines, lastLine), std::pair(int64_t(n), QString("1                 \t19999.99")));
    EXPECT_LE(PlotAll(v.Data).size(), 1001u);

    const double tSpike = spike * 0.01, tDropout = dropout * 0.01;
    for (const std::string target : {"first drawing", "zoom", "paper"}) {
        SCOPED_TRACE(target);
        const bool zoom = target != "first drawing";
        if (zoom && !v.Zoomed) {
            Drag(v, tSpike - 3000, tDropout + 3000);
            SaveScreenshot(&v, "power_viewer_band_zoomed");
        }
        ASSERT_EQ(v.Zoomed, zoom);
        ASSERT_GE(v.ZoomLast - v.ZoomFirst, 2000) << "points are grouped";
        // What the target shows: its pixels, and chart units to pixels.
        QImage image = v.Picture1->Surface().Image();
        ChartGeometry g = v.Chart.Screen;
        double scale = v.Picture1->width() / double(v.Chart.Width), left = 0, top = 0;
        if (target == "paper") {
            const QString pdf = dir.Path("band.pdf");
            platform::printer().ForcePdf(pdf);
            v.Print();
            platform::printer().ForcePdf(QString());
            QProcess::execute("pdftoppm", {"-png", "-r", "150", "-singlefile", pdf, dir.Path("band")});
            image = QImage(dir.Path("band.png"));
            g = v.Chart.Paper;
            scale = 150 / 25.4;
            // The printed plot ends 50 mm before the printable area's right and
            // bottom edges, which lie as far inside the page as its top and left.
            left = (image.width() - (g.PlotRight + 50) * scale) / 2;
            top = (image.height() - (g.PlotBottom + 50) * scale) / 2;
        }
        ASSERT_FALSE(image.isNull());
        const QColor band = platform::PaletteColor(g.BandColor);
        // Halfway between the level and the spike, and between zero and the level.
        for (const auto& [time, value] : {std::pair(tSpike, 5.5), std::pair(tDropout, 0.5)}) {
            const int x = int((g.PlotLeft + (time - g.ChartStart) * g.XPerSecond) * scale + left);
            const int y = int((g.PlotBottom - (value - v.Chart.YMin) * g.YPerUnit) * scale + top);
            int banded = 0;
            for (int dx = -3; dx <= 3; ++dx) {
                const QColor c = image.pixelColor(x + dx, y);
                const int off = std::abs(c.red() - band.red()) + std::abs(c.green() - band.green());
                banded += off + std::abs(c.blue() - band.blue()) < 60;
            }
            EXPECT_GT(banded, 0) << "at " << time << " s";
        }
    }
}
