#include "viewers/EnergyRatioViewer.h"

#include "auxiliary/NotesWindow.h"
#include "auxiliary/SetupControls.h"
#include "charts/SurfaceText.h"
#include "data/DataFileSave.h"
#include "data/WorkFile.h"
#include "platform/Printer.h"
#include "platform/Prompts.h"
#include "state/AppState.h"
#include "viewers/EnergyLimitEditor.h"
#include "viewers/ViewerValues.h"
#include "viewers/Viewers.h"
#include "widgets/LogWindowParts.h"
#include "widgets/SurfaceWidget.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

const std::array<QString, 7> kStatPrefixes = {
    "Min:  ",           "Max:  ", "Average:  ", "St.Dev.:  ", "Total Points:  ", "Points Overrange:  ",
    "Missing Pulses:  "};

}  // namespace

EnergyRatioViewer::EnergyRatioViewer(QWidget* parent)
    : PulseViewerWindow(parent, {"EnergyRatioViewer", "Energy Ratio", ViewEnergyRatio},
                        {"Chart Limits",
                         {"Left", "Right"},
                         {"energy_limits_0", "energy_limits_1"},
                         {"txt_energy_0", "txt_energy_1"},
                         "cmbEnergyUnits",
                         "cmbEnergyCoeff"},
                        {"lblMinEnergyRatio", "lblMaxEnergyRatio", "lblAvrEnergyRatio", "lblStDevEnergyRatio",
                         "lblTotalPulses", "lblPointsOverrange", "lblMissingPulses"},
                        {"Min:  ", "Max:  ", "Average:  ", "St.Dev.:  ", "Total Points:  ",
                         "Points Overrange:  ", "Missing Pulses:  "}) {
    const LimitControls& c = Limits->Controls;
    energy_limits = c.Bars;
    txt_energy = c.Boxes;
    cmbEnergyUnits = c.Units;
    cmbEnergyCoeff = c.Scale;
    std::tie(lblMinEnergyRatio, lblMaxEnergyRatio, lblAvrEnergyRatio, lblStDevEnergyRatio, lblTotalPulses,
             lblPointsOverrange, lblMissingPulses) = std::tuple_cat(StatLabels);
    cmbRatioMode = new QComboBox(this);
    cmbRatioMode->setObjectName("cmbRatioMode");
    cmbRatioMode->addItems({"A/B", "B/A"});
    connect(cmbRatioMode, &QComboBox::currentIndexChanged, this, [this] { cmbRatioMode_Click(); });
    BuildRatioLimits(c.Frame);
    auto* mode = new QHBoxLayout;
    mode->addWidget(new QLabel("Ratio", this));
    mode->addWidget(cmbRatioMode);
    mode->addStretch();
    Arrange(mode);
    resize(900, 600);
}

void EnergyRatioViewer::BuildRatioLimits(QWidget* frame) {
    auto* grid = static_cast<QGridLayout*>(frame->layout());
    const char* const captions[] = {"Low", "High"};
    for (int i = 0; i < 2; ++i) {
        ratio_limits[size_t(i)] = MakeSetupBar(frame, 0, 10, i == 0 ? "ratio_limits_0" : "ratio_limits_1");
        txt_ratio[size_t(i)] = MakeLimitBox(frame, i == 0 ? "txt_ratio_0" : "txt_ratio_1");
        txt_ratio[size_t(i)]->installEventFilter(this);
        grid->addWidget(new QLabel(captions[i], frame), 3 + i, 0);
        grid->addWidget(ratio_limits[size_t(i)], 3 + i, 1);
        grid->addWidget(txt_ratio[size_t(i)], 3 + i, 2);
        connect(ratio_limits[size_t(i)], &QScrollBar::valueChanged, this,
                [this, i] { ratio_limits_Change(i); });
        connect(txt_ratio[size_t(i)], &QLineEdit::textEdited, this,
                [this, i] { CutLimitText(txt_ratio[size_t(i)]); });
    }
    graph_exp = MakeSetupBar(frame, -15, 15, "graph_exp");
    txt_exp = MakeLimitBox(frame, "txt_exp");
    txt_exp->installEventFilter(this);
    grid->addWidget(new QLabel("Exponent", frame), 5, 0);
    grid->addWidget(graph_exp, 5, 1);
    grid->addWidget(txt_exp, 5, 2);
    connect(graph_exp, &QScrollBar::valueChanged, this,
            [this] { SetTextQuietly(txt_exp, QString::number(graph_exp->value())); });
    connect(txt_exp, &QLineEdit::textEdited, this, [this] { CutLimitText(txt_exp); });
}

void EnergyRatioViewer::BeginRecord(const QString& title) {
    setWindowTitle(QStringLiteral("Energy Ratio - ") + title);
    Limits->SetUnitTexts(false);
    Data.Begin();
    SetIndexQuietly(cmbRatioMode, Data.ViewDirection);
}

void EnergyRatioViewer::ShowApplied() {
    const EnergyRatioLimits& a = Data.Applied;
    Limits->Show(a.Energy.UnitIndex, a.Energy.ScaleIndex, a.Energy.Low, a.Energy.High);
    for (int i = 0; i < 2; ++i) {
        SetBarQuietly(ratio_limits[size_t(i)], BarFromValue(i == 0 ? a.RatioLow : a.RatioHigh));
        SetTextQuietly(txt_ratio[size_t(i)], QString::number(ratio_limits[size_t(i)]->value()));
    }
    SetBarQuietly(graph_exp, a.Exponent);
    SetTextQuietly(txt_exp, QString::number(a.Exponent));
}

void EnergyRatioViewer::ratio_limits_Change(int index) {
    // The High bar stays at least 1.
    if (index == 1 && ratio_limits[1]->value() < 1) SetBarQuietly(ratio_limits[1], 1);
    SetTextQuietly(txt_ratio[size_t(index)], QString::number(ratio_limits[size_t(index)]->value()));
}

void EnergyRatioViewer::cmbRatioMode_Click() {
    if (cmbRatioMode->currentIndex() < 0) return;
    Data.ViewDirection = int16_t(cmbRatioMode->currentIndex());
    ShowStatistics();
    butApply_Click();
}

void EnergyRatioViewer::ApplyShown() {
    for (int i = 0; i < 2; ++i)
        if (txt_ratio[size_t(i)]->text() != QString::number(ratio_limits[size_t(i)]->value()))
            TakeLimitText(txt_ratio[size_t(i)], ratio_limits[size_t(i)]);
    EnergyRatioLimits shown;
    shown.Energy.UnitIndex = Limits->Unit();
    shown.Energy.ScaleIndex = Limits->Scale();
    shown.Energy.Low = Limits->LeftBar();
    shown.Energy.High = Limits->RightBar();
    shown.RatioLow = ratio_limits[0]->value();
    shown.RatioHigh = ratio_limits[1]->value();
    shown.Exponent = int16_t(graph_exp->value());
    Data.Apply(shown);
}

void EnergyRatioViewer::Redraw() {
    if (!Picture1->isVisible()) return;
    DualChartSpec& spec = Data.Chart;
    FitScatterToPixels(spec, Picture1->size());
    platform::Surface& surface = Picture1->Surface();
    DrawScatterFrame(spec, surface);
    ReplayScatter(
        spec.Screen, surface, int32_t(Data.Points.size()),
        [this](int32_t i, double& energy, double& ratio) { return Data.PointAt(i, energy, ratio); });
    Picture1->update();
}

void EnergyRatioViewer::WriteDataLines(BlockLines& lines) const {
    for (const EnergyPair& p : Data.Points) lines.Add(EnergyRatioViewData::DataLine(p));
}

bool EnergyRatioViewer::PrintChart(platform::Printer& printer) {
    return PrintScatterFrame(Data.Chart, printer,
                             [](platform::Surface& page) { Notes().PrintNotesBox(page); });
}

void EnergyRatioViewer::PrintContents(platform::Printer& printer) {
    const int32_t n = int32_t(Data.Points.size());
    for (int32_t i = 0; i < n; i += ReplayStep(n)) {
        double energy = 0, ratio = 0;
        if (Data.PointAt(i, energy, ratio)) DrawScatterPoint(Data.Chart.Paper, printer.Page(), energy, ratio);
    }
    printer.EndDoc();
}

QString EnergyRatioViewer::PrintTitle() const {
    return QStringLiteral("Energy Ratio (") + cmbRatioMode->currentText() + QLatin1Char(')');
}

bool EnergyRatioViewer::eventFilter(QObject* watched, QEvent* event) {
    if (const int i = LimitBoxLeft(txt_ratio, watched, event); i >= 0)
        TakeLimitText(txt_ratio[size_t(i)], ratio_limits[size_t(i)]);
    else if (watched == txt_exp && LimitBoxLeft({txt_exp, txt_exp}, watched, event) >= 0)
        TakeLimitText(txt_exp, graph_exp);
    return PulseViewerWindow::eventFilter(watched, event);
}
