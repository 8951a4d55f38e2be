#include "viewers/frmViewNrgRto.h"

#include "auxiliary/SetupControls.h"
#include "auxiliary/frmNotes.h"
#include "charts/SurfaceText.h"
#include "data/DataFileSave.h"
#include "data/WorkFile.h"
#include "platform/LogWindowParts.h"
#include "platform/Printer.h"
#include "platform/Prompts.h"
#include "platform/SurfaceWidget.h"
#include "state/AppState.h"
#include "viewers/EnergyLimitEditor.h"
#include "viewers/ViewerValues.h"
#include "viewers/Viewers.h"

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

// A typed whole number within the bar's range moves the bar, anything else
// beeps; the box then shows the bar's value.
void TakeTypedValue(QLineEdit* box, QScrollBar* bar) {
    bool ok = false;
    const int typed = box->text().trimmed().toInt(&ok);
    if (box->text().trimmed().isEmpty())
        bar->setValue(std::max(bar->minimum(), 0));
    else if (ok && typed >= bar->minimum() && typed <= bar->maximum())
        bar->setValue(typed);
    else
        platform::prompts().Beep();
    SetTextQuietly(box, QString::number(bar->value()));
}

}  // namespace

frmViewNrgRto::frmViewNrgRto(QWidget* parent) : QWidget(parent) {
    setObjectName("frmViewNrgRto");
    setWindowTitle("Energy Ratio");
    BuildControls();
    Picture1->Resized = [this] { form_Resize(); };
    resize(900, 600);
}

void frmViewNrgRto::BuildControls() {
    Picture1 = new platform::SurfaceWidget(this);
    Picture1->setObjectName("Picture1");
    Picture1->setMinimumSize(320, 220);
    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName("Text1");
    Text1->setReadOnly(true);
    Text1->setMaximumHeight(90);
    cmbRatioMode = new QComboBox(this);
    cmbRatioMode->setObjectName("cmbRatioMode");
    cmbRatioMode->addItems({"A/B", "B/A"});

    limits_ = new EnergyLimitEditor(this, {"Chart Limits",
                                           {"Left", "Right"},
                                           {"energy_limits_0", "energy_limits_1"},
                                           {"txt_energy_0", "txt_energy_1"},
                                           "cmbEnergyUnits",
                                           "cmbEnergyCoeff"});
    const LimitControls& c = limits_->Controls;
    energy_limits = c.Bars;
    txt_energy = c.Boxes;
    cmbEnergyUnits = c.Units;
    cmbEnergyCoeff = c.Scale;
    BuildRatioLimits(c.Frame);

    lblMinNrgRto = MakeStatLabel(this, "lblMinNrgRto");
    lblMaxNrgRto = MakeStatLabel(this, "lblMaxNrgRto");
    lblAvrNrgRto = MakeStatLabel(this, "lblAvrNrgRto");
    lblStDevNrgRto = MakeStatLabel(this, "lblStDevNrgRto");
    lblTotalPulses = MakeStatLabel(this, "lblTotalPulses");
    lblPointsOverrange = MakeStatLabel(this, "lblPointsOverrange");
    lblMissingPulses = MakeStatLabel(this, "lblMissingPulses");
    auto* stats = new QGridLayout;
    stats->setHorizontalSpacing(16);
    QLabel* const labels[] = {lblMinNrgRto,   lblMaxNrgRto,       lblAvrNrgRto,    lblStDevNrgRto,
                              lblTotalPulses, lblPointsOverrange, lblMissingPulses};
    for (int i = 0; i < 7; ++i) stats->addWidget(labels[i], i % 4, i / 4);

    auto* mode = new QHBoxLayout;
    mode->addWidget(new QLabel("Ratio", this));
    mode->addWidget(cmbRatioMode);
    mode->addStretch();
    auto* right = new QVBoxLayout;
    right->addLayout(mode);
    right->addWidget(c.Frame);
    right->addLayout(stats);
    right->addWidget(Text1);
    right->addStretch();
    auto* all = new QHBoxLayout(this);
    all->setContentsMargins(6, 6, 6, 6);
    all->addWidget(Picture1, 1);
    all->addLayout(right);

    connect(cmbRatioMode, &QComboBox::currentIndexChanged, this, [this] { cmbRatioMode_Click(); });
    connect(butApply, &QPushButton::clicked, this, [this] { butApply_Click(); });
    connect(butCancel, &QPushButton::clicked, this, [this] { butCancel_Click(); });
    ResetStatistics();
}

void frmViewNrgRto::BuildRatioLimits(QWidget* frame) {
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

    butApply = new QPushButton("&Apply", frame);
    butApply->setObjectName("butApply");
    butCancel = new QPushButton("&Cancel", frame);
    butCancel->setObjectName("butCancel");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(butApply);
    buttons->addWidget(butCancel);
    grid->addLayout(buttons, 6, 0, 1, 3);
}

void frmViewNrgRto::ResetStatistics() {
    QLabel* const labels[] = {lblMinNrgRto,   lblMaxNrgRto,       lblAvrNrgRto,    lblStDevNrgRto,
                              lblTotalPulses, lblPointsOverrange, lblMissingPulses};
    for (size_t i = 0; i < 7; ++i) labels[i]->setText(kStatPrefixes[i]);
}

void frmViewNrgRto::EnergyLoad(int step, const QString& text) {
    if (step == -1) {
        setWindowTitle(QStringLiteral("Energy Ratio - ") + text);
        App().ViewerKind = ViewEnergyRatio;
        limits_->SetUnitTexts(false);
        Data.Begin();
        SetIndexQuietly(cmbRatioMode, Data.ViewDirection);
        ResetStatistics();
    } else if (step == 0) {
        Data.Add(text);
    } else if (step == 1) {
        Unload();
        MdiFrame(this)->hide();
    }
}

void frmViewNrgRto::ShowEnergyData() {
    Data.ChooseLimits();
    SetupChart();
    ShowStatistics();
    Text1->setPlainText(Notes().NotesText());
    MdiFrame(this)->show();
    show();
    form_Resize();
}

void frmViewNrgRto::SetupChart() {
    const NrgRtoLimits& a = Data.Applied;
    limits_->Show(a.Energy.UnitIndex, a.Energy.ScaleIndex, a.Energy.Low, a.Energy.High);
    for (int i = 0; i < 2; ++i) {
        SetBarQuietly(ratio_limits[size_t(i)], BarFromValue(i == 0 ? a.RatioLow : a.RatioHigh));
        SetTextQuietly(txt_ratio[size_t(i)], QString::number(ratio_limits[size_t(i)]->value()));
    }
    SetBarQuietly(graph_exp, a.Exponent);
    SetTextQuietly(txt_exp, QString::number(a.Exponent));
}

void frmViewNrgRto::ShowStatistics() {
    const std::array<QString, 7> texts = Data.StatisticsTexts();
    QLabel* const labels[] = {lblMinNrgRto,   lblMaxNrgRto,       lblAvrNrgRto,    lblStDevNrgRto,
                              lblTotalPulses, lblPointsOverrange, lblMissingPulses};
    for (size_t i = 0; i < 7; ++i) {
        labels[i]->setText(texts[i]);
        labels[i]->setVisible(i < 6 || Data.MissedCount > 0);
    }
}

void frmViewNrgRto::ratio_limits_Change(int index) {
    // The High bar stays at least 1.
    if (index == 1 && ratio_limits[1]->value() < 1) SetBarQuietly(ratio_limits[1], 1);
    SetTextQuietly(txt_ratio[size_t(index)], QString::number(ratio_limits[size_t(index)]->value()));
}

void frmViewNrgRto::cmbRatioMode_Click() {
    if (cmbRatioMode->currentIndex() < 0) return;
    Data.ViewDirection = int16_t(cmbRatioMode->currentIndex());
    ShowStatistics();
    butApply_Click();
}

void frmViewNrgRto::butApply_Click() {
    SetBusyCursor(true);
    limits_->TakePending();
    for (int i = 0; i < 2; ++i)
        if (txt_ratio[size_t(i)]->text() != QString::number(ratio_limits[size_t(i)]->value()))
            TakeTypedValue(txt_ratio[size_t(i)], ratio_limits[size_t(i)]);
    NrgRtoLimits shown;
    shown.Energy.UnitIndex = limits_->Unit();
    shown.Energy.ScaleIndex = limits_->Scale();
    shown.Energy.Low = limits_->LeftBar();
    shown.Energy.High = limits_->RightBar();
    shown.RatioLow = ratio_limits[0]->value();
    shown.RatioHigh = ratio_limits[1]->value();
    shown.Exponent = int16_t(graph_exp->value());
    Data.Apply(shown);
    SetupChart();
    form_Resize();
    SetBusyCursor(false);
}

void frmViewNrgRto::butCancel_Click() {
    SetupChart();
}

void frmViewNrgRto::form_Resize() {
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

void frmViewNrgRto::EnergyDataSave(const QString& fileName) {
    if (Data.Points.empty()) return;
    SaveLoggedData(
        fileName, false, QString(), Data.HeaderLine(windowTitle()), [] { Notes().SaveNotesBox(); },
        [this] {
            BlockLines lines;
            for (const EnergyPair& p : Data.Points) lines.Add(NrgRtoViewData::DataLine(p));
        });
}

void frmViewNrgRto::EnergyPrint() {
    platform::Printer& printer = platform::printer();
    DualChartSpec& spec = Data.Chart;
    if (!PrintScatterFrame(spec, printer, [](platform::Surface& page) { Notes().PrintNotesBox(page); }))
        return ThrowIfPrintFailed(printer);
    platform::Surface& page = printer.Page();
    page.SetForeColor(0);
    PrintAt(page, 0, 5, HeadPartOf(windowTitle()));
    PrintAt(page, 0, 12, QStringLiteral("Energy Ratio (") + cmbRatioMode->currentText() + QLatin1Char(')'));
    const std::array<QString, 7> texts = Data.StatisticsTexts();
    const int lines = Data.MissedCount > 0 ? 7 : 6;
    for (int i = 0; i < lines; ++i) PrintAt(page, 0, spec.Paper.Top + 6 * i, texts[size_t(i)]);
    const int32_t n = int32_t(Data.Points.size());
    for (int32_t i = 0; i < n; i += ReplayStep(n)) {
        double energy = 0, ratio = 0;
        if (Data.PointAt(i, energy, ratio)) DrawScatterPoint(spec.Paper, page, energy, ratio);
    }
    printer.EndDoc();
    ThrowIfPrintFailed(printer);
}

void frmViewNrgRto::Unload() {
    Data.Clear();
    if (App().ViewerKind == ViewEnergyRatio) App().ViewerKind = -1;
}

void frmViewNrgRto::closeEvent(QCloseEvent* e) {
    Unload();
    e->accept();
}

bool frmViewNrgRto::eventFilter(QObject* watched, QEvent* event) {
    if (const int i = LimitBoxLeft(txt_ratio, watched, event); i >= 0)
        TakeTypedValue(txt_ratio[size_t(i)], ratio_limits[size_t(i)]);
    else if (watched == txt_exp && LimitBoxLeft({txt_exp, txt_exp}, watched, event) >= 0)
        TakeTypedValue(txt_exp, graph_exp);
    return QWidget::eventFilter(watched, event);
}
