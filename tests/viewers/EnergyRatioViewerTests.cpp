#include "ViewerHarness.h"

#include "data/DataFileSave.h"
#include "support/Screenshot.h"
#include "viewers/EnergyRatioViewer.h"
#include "viewers/EnergyViewers.h"
#include "viewers/Viewers.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <random>

class EnergyRatioViewerTest : public ViewerTest {
protected:
    QStringList Labels() const {
        return {w.lblMinEnergyRatio->text(),   w.lblMaxEnergyRatio->text(), w.lblAvrEnergyRatio->text(),
                w.lblStDevEnergyRatio->text(), w.lblTotalPulses->text(),    w.lblPointsOverrange->text()};
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
    EXPECT_EQ(App().ViewerKind, 4);
    EXPECT_THROW(w.EnergyLoad(0, "0.001 0.002"), DataFileError);  // no TAB
    EXPECT_THROW(w.EnergyLoad(0, "0.001\tabc"), DataFileError);
    EXPECT_THROW(w.EnergyLoad(0, "1E+39\t0.001"), DataFileError);
}

TEST_F(EnergyRatioViewerTest, limitsAtLoadComeFromTheRatiosAndTheChannelAEnergies) {
    struct Case {
        QStringList lines;
        int ratioLow, ratioHigh, exponent;
        float chartLow, chartHigh;  // ratio span of the first chart: what the bars show
        int energyLeft, energyRight;
        QString unit, scale;
    };
    const Case cases[] = {
        {{"0.001\t0.002", "0.002\t0.001"}, 0, 2, 0, 0, 2.0f, 100, 200, "uJ", "x 10"},
        {{"0.003\t0.001", "0.005\t0.001"}, 3, 5, 0, 3, 5, 300, 500, "uJ", "x 10"},
        {{"2E-9\t4E-6", "3E-9\t5E-6"}, 5, 6, -4, 5e-4f, 6e-4f, 200, 300, "pJ", "x 10"},
        // 4.1 .. 4.5 x 10^-1 would show 4 .. 4: the bars widen to hold the ratios.
        {{"0.00041\t0.001", "0.00045\t0.001"}, 4, 5, -1, 0.4f, 0.5f, 410, 450, "uJ", "x 1"},
    };
    for (const Case& c : cases) {
        Feed(w, "run.dnr", c.lines);
        EXPECT_EQ(std::tuple(w.ratio_limits[0]->value(), w.ratio_limits[1]->value(), w.graph_exp->value()),
                  std::tuple(c.ratioLow, c.ratioHigh, c.exponent))
            << c.lines.join('|').toStdString();
        EXPECT_FLOAT_EQ(w.Data.Chart.RatioLow, c.chartLow);
        EXPECT_FLOAT_EQ(w.Data.Chart.RatioHigh, c.chartHigh);
        EXPECT_EQ(std::tuple(w.energy_limits[0]->value(), w.energy_limits[1]->value(),
                             w.cmbEnergyUnits->currentText(), w.cmbEnergyCoeff->currentText()),
                  std::tuple(c.energyLeft, c.energyRight, c.unit, c.scale));
    }
    // A ratio maximum of exactly 1: the bars show 10 x 10^-1, so Apply keeps the chart at 1.
    Feed(w, "run.dnr", {"0.001\t0.002", "0.002\t0.002"});
    EXPECT_EQ(std::tuple(w.ratio_limits[1]->value(), w.graph_exp->value()), std::tuple(10, -1));
    QTest::mouseClick(w.butApply, Qt::LeftButton);
    EXPECT_FLOAT_EQ(w.Data.Chart.RatioHigh, 1.0f);
    EXPECT_FLOAT_EQ(w.Data.Chart.RatioLow, 0);  // 0.5 a decade down: bar 0
}

TEST_F(EnergyRatioViewerTest, savedFileLoadsBackToTheSameValuesAndNotes) {
    Feed(w, "pair.dnr; Head A: PE25; s/n 4711; Head B: PE10; s/n 815",
         {"0.00125\t0.0025", "Overrange\t0.001", "0.002\tMissed", "1.5E-07\t3E-07"});
    Notes().AppendNotesBox("two heads on one beam splitter");
    w.EnergyDataSave(dir.Path("pair.dnr"));
    const QStringList lines = QString::fromLatin1(dir.Read("pair.dnr")).split("\r\n");
    EXPECT_EQ(
        lines.mid(0, 4),
        QStringList({"Energy, J Channel A\t Channel B \t Head A: PE25; s/n 4711\t Head B: PE10; s/n 815",
                     "'two heads on one beam splitter", "0.00125           \t0.0025",
                     "Overrange         \t0.001"}));
    std::vector<std::pair<double, double>> before;
    for (const EnergyPair& p : w.Data.Points) before.emplace_back(p.A, p.B);
    LoadFile(w, ViewEnergyRatio, dir.Path("pair.dnr"), 2);
    std::vector<std::pair<double, double>> after;
    for (const EnergyPair& p : w.Data.Points) after.emplace_back(p.A, p.B);
    EXPECT_EQ(after, before);
    EXPECT_EQ(w.Text1->toPlainText(), "two heads on one beam splitter");
}

TEST_F(EnergyRatioViewerTest, everyPairIsKeptCountedAndSavedBeyondSixtyThousand) {
    Feed(w, "big.dnr", QStringList(60010, "0.002\t0.001"));
    EXPECT_EQ(w.lblTotalPulses->text(), "Total Points:  60010");
    w.EnergyDataSave(dir.Path("big.dnr"));
    EXPECT_EQ(dir.Read("big.dnr").count("\r\n"), 1 + 60010);
}

TEST_F(EnergyRatioViewerTest, screenshotAndPrintout) {
    std::mt19937 rng(11);
    std::normal_distribution<double> a(5e-3, 1e-3), split(0.48, 0.01);
    QStringList lines;
    for (int i = 0; i < 2000; ++i) {
        const double e = a(rng);
        lines << QString::number(e, 'E', 4) + "\t" + QString::number(e * split(rng), 'E', 4);
    }
    lines << "Overrange\t0.002";
    Notes().AppendNotesBox("Beam splitter check: channel A direct, channel B behind the splitter.");
    Feed(w, "splitter.dnr; Head A: PE25; s/n 4711; Head B: PE10; s/n 815", lines);
    w.resize(960, 600);
    w.show();
    QApplication::processEvents();
    EXPECT_FALSE(SaveScreenshot(&w, "energy_ratio_viewer").isEmpty());
    EXPECT_EQ(PrintToScreenshots("energy_ratio_viewer_print", [this] { w.EnergyPrint(); }), 1);
}

TEST_F(EnergyRatioViewerTest, bothViewersAreInstalledHiddenInTheArea) {
    QMdiArea area;
    ForgetViewers();
    InstallEnergyViewers(&area);
    for (const int16_t kind : {int16_t(ViewEnergy), int16_t(ViewEnergyRatio)}) {
        auto* w = dynamic_cast<QWidget*>(Viewer(kind));
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->objectName(), kind == ViewEnergy ? "EnergyViewer" : "EnergyRatioViewer");
        EXPECT_FALSE(w->isVisibleTo(&area));
    }
    ForgetViewers();
}
