#include "ViewerHarness.h"
#include "viewers/DataSet.h"

#include "charts/Histogram.h"
#include "data/DataFileSave.h"
#include "support/Screenshot.h"
#include "support/StabilityCell.h"
#include "viewers/EnergyRatioViewer.h"
#include "viewers/EnergyViewer.h"
#include "viewers/EnergyViewers.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <cmath>
#include <numeric>
#include <random>

static int32_t Binned(const HistogramSpec& h) {
    return std::accumulate(h.Bins.begin(), h.Bins.end(), 0,
                           [](int32_t n, const HistogramBin& b) { return n + b.Count; });
}

class EnergyViewerTest : public ViewerTest {
protected:
    QString Labels() const {
        return QStringList{w.lblMinEnergy->text(),    w.lblMaxEnergy->text(),   w.lblAvrEnergy->text(),
                           w.lblStDevEnergy->text(),  w.lblTotalPulses->text(), w.lblPulsesOverrange->text(),
                           w.lblMissingPulses->text()}
            .join('|');
    }
    EnergyViewer w;
};

TEST_F(EnergyViewerTest, loadedValuesGiveCountsStatisticsAndLimits) {
    const std::tuple<int32_t, float, float, const char*, const char*> cases[] = {
        // binned, low and high limit (J), lines ('|' between), min|max|average|deviation|total|over|missing
        {2, 0.001f, 0.003f, "0.001|Overrange|Missed|0.003",
         "Min:  1.00mJ|Max:  3.00mJ|Average:  2.00mJ|St.Dev.:  1.41mJ|Total Pulses:  3|Pulses Overrange:  1|"
         "Missing Pulses:  1"},
        // Any decimal separator; an empty line is passed over.
        {3, 0.0015f, 0.0035f, "1,5E-3|2.5e-3||3\u066b5E-3",
         "Min:  1.50mJ|Max:  3.50mJ|Average:  2.50mJ|St.Dev.:  1.00mJ|Total Pulses:  3|Pulses Overrange:  0|"
         "Missing Pulses:  0"},
        // Nothing valid: limits 0 and 1 J.
        {0, 0, 1, "Overrange|-9876",
         "Min:  0.00pJ|Max:  0.00pJ|Average:  0.00pJ|St.Dev.:  0.00pJ|Total Pulses:  1|Pulses Overrange:  1|"
         "Missing Pulses:  1"},
    };
    DescribeDataSet({UnitScale(), true, {}});
    for (const auto& [binned, low, high, lines, labels] : cases) {
        Feed(w, "run.nrg", QString(lines).split('|'));
        EXPECT_EQ(std::tuple(Labels(), Binned(w.Data.ViewHist), w.Data.ViewHist.LowLimit,
                             w.Data.ViewHist.HighLimit),
                  std::tuple(QString(labels), binned, low, high));
    }
    // No number, or one beyond a single: the load ends there instead of inventing a 0 J pulse.
    for (const char* bad : {"abc", "1.2.3", "\x01\x7f\x02", "0.5mJ", "1E+39"})
        EXPECT_THROW(w.EnergyLoad(0, QString::fromLatin1(bad)), DataFileError) << bad;
}

TEST_F(EnergyViewerTest, lowLimitIsTheAverageLessThreeDeviationsAndTheLargestPulseIsInRange) {
    // Nineteen pulses of 2 mJ and one of 1 mJ: average 1.95 mJ, deviation
    // sqrt(0.95 / 19) mJ; the low limit 1.279 mJ lies above the minimum, the
    // high one is the maximum (below 1.95 + 3 x 0.224). Bars in 10 uJ.
    QStringList lines(19, "0.002");
    Feed(w, "run.nrg", lines << "0.001");
    const double low = 1.95e-3 - 3 * std::sqrt(0.95e-6 / 19);
    EXPECT_EQ(w.histogram_limits[0]->value(), int(std::floor(low * 1e5)));  // 127: held, not cut
    EXPECT_EQ(w.histogram_limits[1]->value(), 200);
    const std::vector<HistogramBin>& bins = w.Data.ViewHist.Bins;
    const size_t n = size_t(w.Data.ViewHist.BinsCount);
    EXPECT_EQ(std::tuple(bins[0].Count, bins[n].Count, bins[n + 1].Count), std::tuple(1, 19, 0));
    EXPECT_EQ(w.lblPulsesOverrange->text(), "Pulses Overrange:  0");
}

TEST_F(EnergyViewerTest, unitAndScaleFollowTheLargestEnergy) {
    // largest energy: exponent, scale, unit
    const std::tuple<double, int, int, int> cases[] = {
        {0.05, 4, 2, 2}, {0.003, 5, 1, 2}, {5000.0, -1, 1, 4}, {0.9, 3, 0, 3}, {-2.0, -1, 1, 4}};
    for (const auto& [max, exponent, scale, unit] : cases) {
        const EnergyScaling s = ScalingForMax(max, true);
        EXPECT_EQ(std::tuple(s.Exponent, s.ScaleIndex, s.UnitIndex), std::tuple(exponent, scale, unit))
            << max;
    }
    Feed(w, "run.nrg", {"0.05", "0.04"});
    EXPECT_EQ(std::tuple(w.cmbEnergyUnits->currentText(), w.cmbEnergyCoeff->currentText(),
                         w.histogram_limits[1]->value()),
              std::tuple(QString("uJ"), QString("x 100"), 500));
}

TEST_F(EnergyViewerTest, applyOrdersTheLimitsAndBinsComeInFives) {
    Feed(w, "run.nrg", {"0.01", "0.02", "0.03", "0.04"});
    w.show();
    w.cmbEnergyUnits->setCurrentIndex(3);  // mJ
    w.cmbEnergyCoeff->setCurrentIndex(0);
    w.histogram_limits[0]->setValue(50);
    w.histogram_limits[1]->setValue(20);
    w.bins_count->setValue(4);
    // Nothing changes before Apply.
    EXPECT_EQ(std::pair(w.txt_bins->text(), int(w.Data.ViewHist.BinsCount)),
              std::pair(QString("Number of Bins 20"), 10));
    QTest::mouseClick(w.butApply, Qt::LeftButton);
    EXPECT_EQ(std::tuple(w.histogram_limits[0]->value(), w.histogram_limits[1]->value(),
                         w.Data.ViewHist.LowLimit, w.Data.ViewHist.HighLimit, int(w.Data.ViewHist.BinsCount)),
              std::tuple(19, 20, 0.019f, 0.020f, 20));
    // 30 and 40 mJ above the right limit; 20 mJ on it is in range, as the largest pulse is at load.
    EXPECT_EQ(w.Data.ViewHist.Bins[21].Count, 2);

    // Editing follows the setup's rules; Cancel brings back what was applied.
    w.histogram_limits[1]->setValue(5);
    w.cmbEnergyUnits->setCurrentIndex(4);  // J
    w.cmbEnergyCoeff->setCurrentIndex(2);  // x 100
    w.histogram_limits[1]->setValue(11);
    EXPECT_EQ(w.histogram_limits[1]->value(), 10);  // 1000 J at most
    w.txt_energy[0]->clear();
    QTest::keyClicks(w.txt_energy[0], "1234");
    EXPECT_EQ(std::pair(w.txt_energy[0]->text().size(), prompts.beeps), std::pair(qsizetype(3), 1));
    QTest::mouseClick(w.butCancel, Qt::LeftButton);
    EXPECT_EQ(std::tuple(w.histogram_limits[0]->value(), w.histogram_limits[1]->value(),
                         w.cmbEnergyUnits->currentText(), w.cmbEnergyCoeff->currentText()),
              std::tuple(19, 20, QString("mJ"), QString("x 1")));
}

TEST_F(EnergyViewerTest, savedFileLoadsBackToTheSameValuesAndNotes) {
    for (const bool relative : {false, true}) {
        DescribeDataSet({UnitScale{"W", relative}, relative, {}});
        Feed(w, "run.nrg; Head: PE25; s/n 4711", {"0.00125", "Overrange", "Missed", "3.5E-07", "0.002"});
        Notes().ClearNotesBox();
        Notes().AppendNotesBox(QString(100, 'n'));
        const QString name = relative ? "rel.nrg" : "abs.nrg", path = dir.Path(name);
        w.EnergyDataSave(path);
        const QStringList lines = QString::fromLatin1(dir.Read(name)).split("\r\n");
        EXPECT_EQ(lines[0], relative
                                ? "Energy, in RP-Units \t,Missing Pulses Detection On,\tHead: PE25; s/n 4711"
                                : "Energy, in Joules \t,Missing Pulses Detection Off,\tHead: PE25; s/n 4711");
        EXPECT_EQ(lines.mid(3, 5), QStringList({"0.00125", "Overrange", "Missed", "3.5E-07", "0.002"}));
        const std::vector<float> before = w.Data.Values;
        LoadFile(w, ViewEnergy, path);
        EXPECT_EQ(w.Data.Values, before);
        EXPECT_EQ(std::tuple(w.Text1->toPlainText(), w.Data.RelativeUnits,
                             w.windowTitle().startsWith("Relative Energy Data  - "),
                             w.lblMissingPulses->isVisibleTo(&w)),
                  std::tuple(QString(100, 'n'), relative, relative, relative));
    }
    w.EnergyLoad(1, QString());
    EXPECT_EQ(App().ViewerKind, -1);
}

TEST_F(EnergyViewerTest, everyLineIsKeptCountedBinnedAndSavedBeyondSixtyThousand) {
    QStringList lines;
    for (int i = 0; i < 60010; ++i) lines << QString::number(1 + i % 9) + "E-3";
    Feed(w, "big.nrg", lines);
    // The scale is 10 doubled until 6668 pulses of one value fit.
    EXPECT_EQ(std::tuple(w.lblTotalPulses->text(), Binned(w.Data.ViewHist), w.Data.ViewYScale),
              std::tuple(QString("Total Pulses:  60010"), 60010, 10240));
    EnergyRatioViewer pairs;
    Feed(pairs, "big.dnr", QStringList(60010, "0.002\t0.001"));
    EXPECT_EQ(pairs.lblTotalPulses->text(), "Total Points:  60010");
    w.EnergyDataSave(dir.Path("big.nrg"));
    pairs.EnergyDataSave(dir.Path("big.dnr"));
    for (const char* name : {"big.nrg", "big.dnr"})
        EXPECT_EQ(dir.Read(name).count("\r\n"), 1 + 60010) << name;
}

class EnergyRatioViewerTest : public ViewerTest {
protected:
    QStringList Labels() const {
        return {w.lblMinEnergyRatio->text(),   w.lblMaxEnergyRatio->text(), w.lblAvrEnergyRatio->text(),
                w.lblStDevEnergyRatio->text(), w.lblTotalPulses->text(),    w.lblPointsOverrange->text()};
    }
    std::vector<std::pair<double, double>> Pairs() const {
        std::vector<std::pair<double, double>> out;
        for (const EnergyPair& p : w.Data.Points) out.emplace_back(p.A, p.B);
        return out;
    }
    EnergyRatioViewer w;
};

TEST_F(EnergyRatioViewerTest, bothDirectionsKeepTheirStatisticsAndOverRangeChannelsCountAsOverRange) {
    Feed(w, "pair.dnr",
         {"0.002             \t0.001", "0.004\t0.001\t", "0.001\tOverrange", "0.002\t0", "0\t0",
          "Missed\t0.001"});
    EXPECT_EQ(Labels(), QStringList({"Min:  2.00", "Max:  4.00", "Average:  3.00", "St.Dev.:  1.41",
                                     "Total Points:  4", "Points Overrange:  2"}));
    w.cmbRatioMode->setCurrentIndex(1);  // B/A, from what was loaded
    EXPECT_EQ(Labels(), QStringList({"Min:  0", "Max:  5.00 E-01", "Average:  2.50 E-01",
                                     "St.Dev.:  2.50 E-01", "Total Points:  4", "Points Overrange:  1"}));
    EXPECT_EQ(w.lblMissingPulses->text(), "Missing Pulses:  1");
    for (const char* bad : {"0.001 0.002" /* no TAB */, "0.001\tabc", "1E+39\t0.001"})
        EXPECT_THROW(w.EnergyLoad(0, bad), DataFileError) << bad;
}

TEST_F(EnergyRatioViewerTest, limitsAtLoadComeFromTheRatiosAndTheChannelAEnergies) {
    // lines ('|' between): ratio bars, exponent, chart span (what the bars show), A's energy bars and unit
    const std::tuple<const char*, int, int, int, float, float, int, int, const char*, const char*> cases[] = {
        {"0.001\t0.002|0.002\t0.001", 0, 2, 0, 0, 2.0f, 100, 200, "uJ", "x 10"},
        {"0.003\t0.001|0.005\t0.001", 3, 5, 0, 3, 5, 300, 500, "uJ", "x 10"},
        {"2E-9\t4E-6|3E-9\t5E-6", 5, 6, -4, 5e-4f, 6e-4f, 200, 300, "pJ", "x 10"},
        // 4.1 .. 4.5 x 10^-1 would show 4 .. 4: the bars widen to hold the ratios.
        {"0.00041\t0.001|0.00045\t0.001", 4, 5, -1, 0.4f, 0.5f, 410, 450, "uJ", "x 1"},
    };
    for (const auto& [lines, ratioLow, ratioHigh, exponent, chartLow, chartHigh, left, right, unit, scale] :
         cases) {
        SCOPED_TRACE(lines);
        Feed(w, "run.dnr", QString(lines).split('|'));
        EXPECT_EQ(std::tuple(w.ratio_limits[0]->value(), w.ratio_limits[1]->value(), w.graph_exp->value(),
                             w.Data.Chart.RatioLow, w.Data.Chart.RatioHigh),
                  std::tuple(ratioLow, ratioHigh, exponent, chartLow, chartHigh));
        EXPECT_EQ(std::tuple(w.energy_limits[0]->value(), w.energy_limits[1]->value(),
                             w.cmbEnergyUnits->currentText(), w.cmbEnergyCoeff->currentText()),
                  std::tuple(left, right, QString(unit), QString(scale)));
    }
    // A ratio maximum of exactly 1: the bars show 10 x 10^-1, so Apply keeps the chart at 1.
    Feed(w, "run.dnr", {"0.001\t0.002", "0.002\t0.002"});
    EXPECT_EQ(std::tuple(w.ratio_limits[1]->value(), w.graph_exp->value()), std::tuple(10, -1));
    QTest::mouseClick(w.butApply, Qt::LeftButton);
    // 0.5 a decade down: bar 0.
    EXPECT_EQ(std::pair(w.Data.Chart.RatioLow, w.Data.Chart.RatioHigh), std::pair(0.0f, 1.0f));
}

TEST_F(EnergyRatioViewerTest, savedFileLoadsBackToTheSameValuesAndNotes) {
    Feed(w, "pair.dnr; Head A: PE25; s/n 4711; Head B: PE10; s/n 815",
         {"0.00125\t0.0025", "Overrange\t0.001", "0.002\tMissed", "1.5E-07\t3E-07"});
    Notes().AppendNotesBox("two heads on one beam splitter");
    w.EnergyDataSave(dir.Path("pair.dnr"));
    EXPECT_EQ(
        QString::fromLatin1(dir.Read("pair.dnr")).split("\r\n").mid(0, 4),
        QStringList({"Energy, J Channel A\t Channel B \t Head A: PE25; s/n 4711\t Head B: PE10; s/n 815",
                     "'two heads on one beam splitter", "0.00125           \t0.0025",
                     "Overrange         \t0.001"}));
    const auto before = Pairs();
    LoadFile(w, ViewEnergyRatio, dir.Path("pair.dnr"), 2);
    EXPECT_EQ(Pairs(), before);
    EXPECT_EQ(w.Text1->toPlainText(), "two heads on one beam splitter");
}

TEST_F(EnergyRatioViewerTest, screenshotsAndPrintoutsOfBothViewersInstalledHiddenInTheArea) {
    std::mt19937 rng(7);
    std::normal_distribution<double> laser(5e-3, 0.4e-3), split(0.48, 0.01);
    QStringList single, pairs;
    for (int i = 0; i < 3000; ++i) {
        const double e = laser(rng);
        single << QString::number(e, 'E', 3);
        pairs << QString::number(e, 'E', 4) + "\t" + QString::number(e * split(rng), 'E', 4);
    }
    single.append({"Overrange", "Missed"});
    pairs << "Overrange\t0.002";
    DescribeDataSet({UnitScale(), true, {}});
    Notes().AppendNotesBox("Pulse energies of the 1064 nm laser at 20 Hz, behind a beam splitter.");
    EnergyViewer e;
    Feed(e, "bench.nrg; Head: PE25; s/n 4711", single);
    e.resize(900, 560);
    e.show();
    QTest::mouseClick(e.findChild<QPushButton*>("butStability"), Qt::LeftButton);
    EXPECT_EQ(Cell(*e.findChild<StabilityWindow*>("StabilityWindow"), "Pulses"), 3000);
    e.bins_count->setValue(6);
    QTest::mouseClick(e.butApply, Qt::LeftButton);
    Feed(w, "splitter.dnr; Head A: PE25; s/n 4711; Head B: PE10; s/n 815", pairs);
    w.resize(960, 600);
    w.show();
    QApplication::processEvents();
    EXPECT_FALSE(SaveScreenshot(&e, "energy_viewer").isEmpty());
    EXPECT_EQ(PrintToScreenshots("energy_viewer_print", [&] { e.EnergyPrint(); }), 1);
    EXPECT_FALSE(SaveScreenshot(&w, "energy_ratio_viewer").isEmpty());
    EXPECT_EQ(PrintToScreenshots("energy_ratio_viewer_print", [this] { w.EnergyPrint(); }), 1);

    QMdiArea area;
    ForgetViewers();
    InstallEnergyViewers(&area);
    for (const auto& [kind, name] :
         {std::pair{ViewEnergy, "EnergyViewer"}, {ViewEnergyRatio, "EnergyRatioViewer"}}) {
        auto* v = dynamic_cast<QWidget*>(Viewer(int16_t(kind)));
        ASSERT_NE(v, nullptr);
        EXPECT_EQ(std::pair(v->objectName(), v->isVisibleTo(&area)), std::pair(QString(name), false));
    }
}
