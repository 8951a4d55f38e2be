#include "viewers/EnergyViewer.h"

#include "viewers/DataSet.h"

#include "auxiliary/NotesWindow.h"
#include "auxiliary/SetupControls.h"
#include "data/WorkFile.h"
#include "state/AppState.h"
#include "viewers/EnergyLimitEditor.h"
#include "viewers/Viewers.h"
#include "widgets/SurfaceWidget.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QScrollBar>

namespace {

QString BinsText(int bins) {
    return QStringLiteral("Number of Bins ") + QString::number(bins);
}

}  // namespace

EnergyViewer::EnergyViewer(QWidget* parent)
    : PulseViewerWindow(parent, {"EnergyViewer", "Energy Data", ViewEnergy},
                        {"Histogram Setup",
                         {"Left", "Right"},
                         {"histogram_limits_0", "histogram_limits_1"},
                         {"txt_energy_0", "txt_energy_1"},
                         "cmbEnergyUnits",
                         "cmbEnergyCoeff"},
                        {"lblMinEnergy", "lblMaxEnergy", "lblAvrEnergy", "lblStDevEnergy", "lblTotalPulses",
                         "lblPulsesOverrange", "lblMissingPulses"},
                        {"Min:  ", "Max:  ", "Average:  ", "St.Dev.:  ", "Total Pulses:  ",
                         "Pulses Overrange:  ", "Missing Pulses:  "}) {
    const LimitControls& c = Limits->Controls;
    histogram_limits = c.Bars;
    txt_energy = c.Boxes;
    cmbEnergyUnits = c.Units;
    cmbEnergyCoeff = c.Scale;
    std::tie(lblMinEnergy, lblMaxEnergy, lblAvrEnergy, lblStDevEnergy, lblTotalPulses, lblPulsesOverrange,
             lblMissingPulses) = std::tuple_cat(StatLabels);
    txt_bins = new QLabel(BinsText(10), c.Frame);
    txt_bins->setObjectName("txt_bins");
    bins_count = MakeSetupBar(c.Frame, 1, 20, "bins_count");
    LimitGrid()->addWidget(txt_bins, 3, 0, 1, 3);
    LimitGrid()->addWidget(bins_count, 4, 0, 1, 3);
    connect(bins_count, &QScrollBar::valueChanged, this,
            [this] { txt_bins->setText(BinsText(bins_count->value() * 5)); });
    Arrange();
    resize(900, 560);
}

void EnergyViewer::BeginRecord(const QString& title) {
    const DataSetFacts& facts = DescribedDataSet();
    const bool relative = facts.Units.RelativeEnergy;
    Limits->SetUnitTexts(relative);
    setWindowTitle((relative ? QStringLiteral("Relative Energy Data ") : QStringLiteral("Energy Data")) +
                   QStringLiteral(" - ") + title);
    Data.Begin(relative, facts.MissingPulseDetection);
}

// The controls from the histogram as it was last built.
void EnergyViewer::ShowApplied() {
    const EnergyViewLimits& a = Data.Applied;
    Limits->Show(a.UnitIndex, a.ScaleIndex, a.Low, a.High);
    SetBarQuietly(bins_count, std::clamp(a.Bins / 5, 1, 20));
    txt_bins->setText(BinsText(bins_count->value() * 5));
}

void EnergyViewer::ApplyShown() {
    Data.Apply(Limits->LeftBar(), Limits->RightBar(), Limits->Unit(), Limits->Scale(), bins_count->value());
}

void EnergyViewer::Redraw() {
    if (!Picture1->isVisible()) return;
    HistogramSpec& h = Data.ViewHist;
    FitHistogramToPixels(h, Picture1->size());
    const auto relayout = [this] { Redraw(); };
    platform::Surface& surface = Picture1->Surface();
    DrawHistogram(0, relayout, surface, h, Data.ViewYScale, Data.RelativeUnits);
    DrawNonEmptyBars(relayout, surface, h, Data.ViewYScale, Data.RelativeUnits);
    Picture1->update();
}

void EnergyViewer::WriteDataLines(BlockLines& lines) const {
    for (const float v : Data.Values) lines.Add(EnergyViewData::ValueText(v));
}

bool EnergyViewer::PrintChart(platform::Printer& printer) {
    return PrintHistogram(0, Data.ViewHist, printer, Data.ViewYScale, Data.RelativeUnits,
                          [](platform::Surface& page) { Notes().PrintNotesBox(page); });
}

void EnergyViewer::PrintContents(platform::Printer& printer) {
    PrintNonEmptyBars(Data.ViewHist, printer, Data.ViewYScale, Data.RelativeUnits);
    PrintHistogram(2, Data.ViewHist, printer, Data.ViewYScale, Data.RelativeUnits);
}

QString EnergyViewer::PrintTitle() const {
    return windowTitle().section(QStringLiteral(" - "), 0, 0);
}
