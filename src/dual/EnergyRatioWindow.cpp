#include "dual/EnergyRatioWindow.h"

#include "dual/EnergyRatioSetupDialog.h"
#include "dual/EnergyRatioStability.h"
#include "state/AppState.h"
#include "state/Configuration.h"
#include "widgets/LogWindowParts.h"
#include "widgets/SurfaceWidget.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

EnergyRatioWindow::EnergyRatioWindow(QWidget* parent, EnergyRatioEngine* engine)
    : QWidget(parent),
      ownEngine_(engine ? nullptr : std::make_unique<EnergyRatioEngine>()),
      Engine(engine ? *engine : *ownEngine_) {
    setObjectName("EnergyRatioWindow");
    BuildControls();
    EnergyRatioViewHooks& v = Engine.View;
    v.DisplayChanged = [this](const EnergyRatioDisplay& d) { ShowDisplay(d); };
    v.PointAdded = [this](double a, double y) {
        DrawScatterPoint(Engine.Chart.Screen, Picture1->Surface(), a, y);
    };
    v.Redraw = [this] { form_Resize(); };
    v.ReopenSetup = [this] { butSetup_Click(); };
    v.ShowWindow = [this] { ShowModeWindow(this); };
    Engine.Attach(*this);
    Picture1->Resized = [this] { form_Resize(); };
    ShowDisplay(Engine.Display);  // as the engine starts
}

void EnergyRatioWindow::BuildControls() {
    lblEnergyRatio = MakeReadout(this, "lblEnergyRatio");
    lblNorma = new QLabel(this);
    lblNorma->setObjectName("lblNorma");
    lblMinRatioPower = MakeStatLabel(this, "lblMinRatioPower");
    lblMaxRatioPower = MakeStatLabel(this, "lblMaxRatioPower");
    lblAvrRatioPower = MakeStatLabel(this, "lblAvrRatioPower");
    lblStDevRatioPower = MakeStatLabel(this, "lblStDevRatioPower");
    cmbRatioMode = new QComboBox(this);
    cmbRatioMode->setObjectName("cmbRatioMode");
    cmbRatioMode->addItems({"A/B", "B/A"});
    butNormalize = new QPushButton(this);
    butNormalize->setObjectName("butNormalize");

    const RunButtons run = MakeRunButtons(this);
    butStartStop = run.StartStop;
    butReset = run.Reset;
    butSetup = run.Setup;
    Picture1 = MakePicture(this);

    QGridLayout* stats =
        StatisticsGrid({lblMinRatioPower, lblMaxRatioPower, lblAvrRatioPower, lblStDevRatioPower});

    auto* ratio = new QVBoxLayout;
    ratio->addWidget(cmbRatioMode);
    ratio->addWidget(butNormalize);
    ratio->addWidget(lblNorma);
    ratio->addStretch(1);

    auto* left = new QVBoxLayout;
    left->addWidget(lblEnergyRatio, 1);
    left->addLayout(stats);
    auto* butStability = new QPushButton("Stabilit&y", this);
    butStability->setObjectName("butStability");
    connect(butStability, &QPushButton::clicked, this, [this] { ShowEnergyRatioStability(*this); });
    ratio->addWidget(butStability);
    layout_ = ArrangeLogWindow(this, left, ratio, run, Picture1);

    WireRunButtons(
        this, run, Engine, SetupEnergyRatio(), [this](bool reopenSetup) { Engine.Reset(reopenSetup); },
        [this] { butSetup_Click(); }, [this] { form_Resize(); });
    connect(butNormalize, &QPushButton::clicked, this, [this] { Engine.Normalize(); });
    connect(cmbRatioMode, &QComboBox::currentIndexChanged, this,
            [this](int index) { Engine.SetRatioMode(int16_t(index)); });
    resize(820, 520);
}

void EnergyRatioWindow::ShowDisplay(const EnergyRatioDisplay& d) {
    setWindowTitle(d.Caption);
    butStartStop->setText(d.StartStopCaption);
    butNormalize->setText(d.NormalizeCaption);
    lblNorma->setText(d.NormaText);
    lblEnergyRatio->setText(d.RatioText);
    lblEnergyRatio->setVisible(d.RatioVisible);
    if (cmbRatioMode->currentIndex() != d.RatioMode) {
        const QSignalBlocker quiet(cmbRatioMode);
        cmbRatioMode->setCurrentIndex(d.RatioMode);
    }
    QLabel* stats[] = {lblMinRatioPower, lblMaxRatioPower, lblAvrRatioPower, lblStDevRatioPower};
    for (size_t i = 0; i < 4; ++i) {
        stats[i]->setText(d.StatLabels[i]);
        stats[i]->setVisible(d.StatVisible[i]);
    }
}

void EnergyRatioWindow::form_Resize() {
    Engine.PrepareLayout();  // hands over the statistics lines it sets
    // Numeric style: the read-out takes the chart's place in a large font.
    const bool numeric = CurrentSettings().EnergyRatio.RatioDisplayStyle == 1;
    Picture1->setVisible(!numeric);
    QFont f = lblEnergyRatio->font();
    f.setPointSizeF(numeric ? 72 : 30);
    lblEnergyRatio->setFont(f);
    lblEnergyRatio->setSizePolicy(QSizePolicy::Preferred,
                                  numeric ? QSizePolicy::Expanding : QSizePolicy::Preferred);
    lblEnergyRatio->setAlignment(numeric ? Qt::AlignCenter : (Qt::AlignRight | Qt::AlignVCenter));
    layout_->setStretch(0, numeric ? 1 : 0);
    FitScatterToPixels(Engine.Chart, Picture1->size());
    Engine.DrawWholeChart(Picture1->Surface());
}

void EnergyRatioWindow::EnergyRatioLog(int action, QString& reply) {
    if (action == 1) return Engine.End();
    Engine.EnergyRatioLog(action, reply);
}

EnergyRatioWindow::~EnergyRatioWindow() {
    // The engine may run on without this window.
    Engine.View = EnergyRatioViewHooks{};
    Engine.Detach(*this);
}

void EnergyRatioWindow::Ended() {
    if (!leaving_) MdiFrame(this)->hide();
}

void EnergyRatioWindow::butSetup_Click() {
    SetupEnergyRatio().SetupEnergyRatio(Engine.Initialised);
}

void EnergyRatioWindow::closeEvent(QCloseEvent* e) {
    // Closed by the user: leave the mode; the main window calls EnergyRatioLog(1).
    CloseUnlessKept(e, leaving_, [this] { return Engine.Unload(false); });
}
