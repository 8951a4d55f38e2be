#include "viewers/frmViewEnergy.h"

#include "auxiliary/frmNotes.h"
#include "charts/SurfaceText.h"
#include "data/DataFileSave.h"
#include "data/WorkFile.h"
#include "energy/EnergyEngine.h"
#include "platform/LogWindowParts.h"
#include "platform/Printer.h"
#include "platform/SurfaceWidget.h"
#include "state/AppState.h"
#include "viewers/EnergyLimitEditor.h"
#include "viewers/ViewerValues.h"
#include "viewers/Viewers.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

const std::array<QString, 6> kJouleUnits = {"pJ", "nJ", "uJ", "mJ", "J", "kJ"};
const std::array<QString, 6> kRelativeUnits = {"p", "n", "u", "m", "", "k"};
const std::array<QString, 7> kStatPrefixes = {
    "Min:  ",           "Max:  ", "Average:  ", "St.Dev.:  ", "Total Pulses:  ", "Pulses Overrange:  ",
    "Missing Pulses:  "};

QString BinsText(int bins) {
    return QStringLiteral("Number of Bins ") + QString::number(bins);
}

}  // namespace

frmViewEnergy::frmViewEnergy(QWidget* parent) : QWidget(parent) {
    setObjectName("frmViewEnergy");
    setWindowTitle("Energy Data");
    BuildControls();
    Picture1->Resized = [this] { form_Resize(); };
    resize(900, 560);
}

void frmViewEnergy::BuildControls() {
    Picture1 = new platform::SurfaceWidget(this);
    Picture1->setObjectName("Picture1");
    Picture1->setMinimumSize(320, 220);
    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName("Text1");
    Text1->setReadOnly(true);
    Text1->setMaximumHeight(90);

    limits_ = new EnergyLimitEditor(this, {"Histogram Setup",
                                           {"Left", "Right"},
                                           {"histogram_limits_0", "histogram_limits_1"},
                                           {"txt_energy_0", "txt_energy_1"},
                                           "cmbEnergyUnits",
                                           "cmbEnergyCoeff"});
    const LimitControls& c = limits_->Controls;
    histogram_limits = c.Bars;
    txt_energy = c.Boxes;
    cmbEnergyUnits = c.Units;
    cmbEnergyCoeff = c.Scale;
    auto* grid = static_cast<QGridLayout*>(c.Frame->layout());
    txt_bins = new QLabel(BinsText(10), c.Frame);
    txt_bins->setObjectName("txt_bins");
    bins_count = MakeSetupBar(c.Frame, 1, 20, "bins_count");
    butApply = new QPushButton("&Apply", c.Frame);
    butApply->setObjectName("butApply");
    butCancel = new QPushButton("&Cancel", c.Frame);
    butCancel->setObjectName("butCancel");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(butApply);
    buttons->addWidget(butCancel);
    grid->addWidget(txt_bins, 3, 0, 1, 3);
    grid->addWidget(bins_count, 4, 0, 1, 3);
    grid->addLayout(buttons, 5, 0, 1, 3);

    lblMinEnergy = MakeStatLabel(this, "lblMinEnergy");
    lblMaxEnergy = MakeStatLabel(this, "lblMaxEnergy");
    lblAvrEnergy = MakeStatLabel(this, "lblAvrEnergy");
    lblStDevEnergy = MakeStatLabel(this, "lblStDevEnergy");
    lblTotalPulses = MakeStatLabel(this, "lblTotalPulses");
    lblPulsesOverrange = MakeStatLabel(this, "lblPulsesOverrange");
    lblMissingPulses = MakeStatLabel(this, "lblMissingPulses");
    auto* stats = new QGridLayout;
    stats->setHorizontalSpacing(16);
    QLabel* const labels[] = {lblMinEnergy,   lblMaxEnergy,       lblAvrEnergy,    lblStDevEnergy,
                              lblTotalPulses, lblPulsesOverrange, lblMissingPulses};
    for (int i = 0; i < 7; ++i) stats->addWidget(labels[i], i % 4, i / 4);

    auto* right = new QVBoxLayout;
    right->addWidget(c.Frame);
    right->addLayout(stats);
    right->addWidget(Text1);
    right->addStretch();
    auto* all = new QHBoxLayout(this);
    all->setContentsMargins(6, 6, 6, 6);
    all->addWidget(Picture1, 1);
    all->addLayout(right);

    connect(bins_count, &QScrollBar::valueChanged, this, [this] { bins_count_Change(); });
    connect(butApply, &QPushButton::clicked, this, [this] { butApply_Click(); });
    connect(butCancel, &QPushButton::clicked, this, [this] { butCancel_Click(); });
    ResetStatistics();
}

void frmViewEnergy::ResetStatistics() {
    QLabel* const labels[] = {lblMinEnergy,   lblMaxEnergy,       lblAvrEnergy,    lblStDevEnergy,
                              lblTotalPulses, lblPulsesOverrange, lblMissingPulses};
    for (size_t i = 0; i < 7; ++i) labels[i]->setText(kStatPrefixes[i]);
}

void frmViewEnergy::EnergyLoad(int step, const QString& text) {
    AppState& app = App();
    if (step == -1) {
        const bool relative = app.RelativeUnits;
        app.EnergyUnits = relative ? kRelativeUnits : kJouleUnits;
        limits_->SetUnitTexts(relative);
        setWindowTitle((relative ? QStringLiteral("Relative Energy Data ") : QStringLiteral("Energy Data")) +
                       QStringLiteral(" - ") + text);
        app.ViewerKind = ViewEnergy;
        Data.Begin(relative, app.MissingPulseDetection);
        ResetStatistics();
    } else if (step == 0) {
        Data.Add(text);
    } else if (step == 1) {
        Unload();
        MdiFrame(this)->hide();
    }
}

void frmViewEnergy::ShowEnergyData() {
    Data.ChooseLimits();
    ShowApplied();
    ShowStatistics();
    Text1->setPlainText(Notes().NotesText());
    MdiFrame(this)->show();
    show();
    form_Resize();
}

void frmViewEnergy::ShowStatistics() {
    const std::array<QString, 7> texts = Data.StatisticsTexts();
    QLabel* const labels[] = {lblMinEnergy,   lblMaxEnergy,       lblAvrEnergy,    lblStDevEnergy,
                              lblTotalPulses, lblPulsesOverrange, lblMissingPulses};
    for (size_t i = 0; i < 7; ++i) {
        labels[i]->setText(texts[i]);
        labels[i]->setVisible(i < 6 || Data.MissingPulseDetection);
    }
}

// The controls from the histogram as it was last built.
void frmViewEnergy::ShowApplied() {
    const EnergyViewLimits& a = Data.Applied;
    limits_->Show(a.UnitIndex, a.ScaleIndex, a.Low, a.High);
    SetBarQuietly(bins_count, std::clamp(a.Bins / 5, 1, 20));
    txt_bins->setText(BinsText(bins_count->value() * 5));
}

void frmViewEnergy::bins_count_Change() {
    txt_bins->setText(BinsText(bins_count->value() * 5));
}

void frmViewEnergy::butApply_Click() {
    SetBusyCursor(true);
    limits_->TakePending();
    Data.Apply(limits_->LeftBar(), limits_->RightBar(), limits_->Unit(), limits_->Scale(),
               bins_count->value());
    ShowApplied();
    form_Resize();
    SetBusyCursor(false);
}

void frmViewEnergy::butCancel_Click() {
    ShowApplied();
}

void frmViewEnergy::form_Resize() {
    if (!Picture1->isVisible()) return;
    HistogramSpec& h = Data.ViewHist;
    FitHistogramToPixels(h, Picture1->size());
    const auto relayout = [this] { form_Resize(); };
    platform::Surface& surface = Picture1->Surface();
    DrawHistogram(0, relayout, surface, h, Data.ViewYScale, Data.RelativeUnits);
    DrawNonEmptyBars(relayout, surface, h, Data.ViewYScale, Data.RelativeUnits);
    Picture1->update();
}

void frmViewEnergy::EnergyDataSave(const QString& fileName) {
    if (Data.Values.empty()) return;
    SaveLoggedData(
        fileName, false, QString(), Data.HeaderLine(windowTitle()), [] { Notes().SaveNotesBox(); },
        [this] {
            BlockLines lines;
            for (const float v : Data.Values) lines.Add(EnergyViewData::ValueText(v));
        });
}

void frmViewEnergy::EnergyPrint() {
    platform::Printer& printer = platform::printer();
    HistogramSpec& h = Data.ViewHist;
    if (!PrintHistogram(0, h, printer, Data.ViewYScale, Data.RelativeUnits,
                        [](platform::Surface& page) { Notes().PrintNotesBox(page); }))
        return ThrowIfPrintFailed(printer);
    platform::Surface& page = printer.Page();
    page.SetForeColor(0);
    PrintAt(page, 0, 5, HeadPartOf(windowTitle()));
    PrintAt(page, 0, 12, windowTitle().section(QStringLiteral(" - "), 0, 0));
    const std::array<QString, 7> texts = Data.StatisticsTexts();
    const int lines = Data.MissingPulseDetection ? 7 : 6;
    for (int i = 0; i < lines; ++i) PrintAt(page, 0, h.Paper.Top + 6 * i, texts[size_t(i)]);
    PrintNonEmptyBars(h, printer, Data.ViewYScale, Data.RelativeUnits);
    PrintHistogram(2, h, printer, Data.ViewYScale, Data.RelativeUnits);
    ThrowIfPrintFailed(printer);
}

void frmViewEnergy::Unload() {
    Data.Clear();
    App().EnergyUnits = kJouleUnits;
    if (App().ViewerKind == ViewEnergy) App().ViewerKind = -1;
}

void frmViewEnergy::closeEvent(QCloseEvent* e) {
    Unload();
    e->accept();
}
