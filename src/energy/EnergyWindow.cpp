#include "energy/EnergyWindow.h"

#include "energy/EnergySetupDialog.h"
#include "energy/EnergyStability.h"
#include "widgets/LogWindowParts.h"
#include "widgets/SurfaceWidget.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

void SetPoints(QLabel* l, double points) {
    QFont f = l->font();
    f.setPointSizeF(points);
    l->setFont(f);
}

}  // namespace

EnergyWindow::EnergyWindow(QWidget* parent, EnergyEngine* engine)
    : QWidget(parent),
      ownEngine_(engine ? nullptr : std::make_unique<EnergyEngine>()),
      Engine(engine ? *engine : *ownEngine_) {
    setObjectName("EnergyWindow");
    BuildControls();
    EnergyViewHooks& v = Engine.View;
    v.DisplayChanged = [this](const EnergyDisplay& d) { ShowDisplay(d); };
    v.BarAdded = [this](int bin) {
        DrawHistogramBar(
            bin, [this] { form_Resize(); }, Picture1->Surface(), Engine.Hist, Engine.YScale);
    };
    v.Redraw = [this] { form_Resize(); };
    v.ReopenSetup = [this] { butSetup_Click(); };
    v.ShowWindow = [this] { ShowModeWindow(this); };
    Engine.Attach(*this);
    Picture1->Resized = [this] { form_Resize(); };
    ShowDisplay(Engine.Display);  // as the engine starts
}

void EnergyWindow::BuildControls() {
    lblEnergy = MakeReadout(this, "lblEnergy");
    lblReady = new QLabel("READY", this);
    lblReady->setObjectName("lblReady");
    lblReady->setAlignment(Qt::AlignCenter);
    lblReady->setFixedSize(70, 26);
    lblReady->hide();

    lblMinEnergy = MakeStatLabel(this, "lblMinEnergy");
    lblMaxEnergy = MakeStatLabel(this, "lblMaxEnergy");
    lblAvrEnergy = MakeStatLabel(this, "lblAvrEnergy");
    lblStDevEnergy = MakeStatLabel(this, "lblStDevEnergy");
    lblPulsesEnergy = MakeStatLabel(this, "lblPulsesEnergy");
    lblPulsesOverranged = MakeStatLabel(this, "lblPulsesOverranged");

    const RunButtons run = MakeRunButtons(this);
    butStartStop = run.StartStop;
    butReset = run.Reset;
    butSetup = run.Setup;
    Picture1 = MakePicture(this);

    QGridLayout* stats = StatisticsGrid(
        {lblMinEnergy, lblMaxEnergy, lblAvrEnergy, lblStDevEnergy, lblPulsesEnergy, lblPulsesOverranged});

    auto* readout = new QHBoxLayout;
    readout->addWidget(lblEnergy, 1);
    readout->addSpacing(8);
    readout->addWidget(lblReady);
    readout->addStretch(0);

    auto* left = new QVBoxLayout;
    left->addLayout(readout, 1);
    left->addLayout(stats);
    auto* butStability = new QPushButton("Stabilit&y", this);
    butStability->setObjectName("butStability");
    connect(butStability, &QPushButton::clicked, this, [this] { ShowEnergyStability(*this); });
    left->addWidget(butStability, 0, Qt::AlignLeft);
    layout_ = ArrangeLogWindow(this, left, nullptr, run, Picture1);

    WireRunButtons(
        this, run, Engine, SetupEnergy(), [this](bool reopenSetup) { Engine.Reset(reopenSetup); },
        [this] { butSetup_Click(); }, [this] { form_Resize(); });
    resize(820, 520);
}

void EnergyWindow::ShowDisplay(const EnergyDisplay& d) {
    setWindowTitle(d.Caption);
    butStartStop->setText(d.StartStopCaption);
    lblEnergy->setText(d.EnergyText);
    lblEnergy->setVisible(d.EnergyVisible);
    lblReady->setVisible(d.ReadyVisible);
    lblReady->setStyleSheet(d.ReadyGreen ? "QLabel { background: rgb(0,255,0); }"
                                         : "QLabel { background: rgb(128,128,128); }");
    QLabel* stats[] = {lblMinEnergy,   lblMaxEnergy,    lblAvrEnergy,
                       lblStDevEnergy, lblPulsesEnergy, lblPulsesOverranged};
    for (size_t i = 0; i < 6; ++i) {
        stats[i]->setText(d.StatLabels[i]);
        stats[i]->setVisible(d.StatVisible[i]);
    }
}

void EnergyWindow::form_Resize() {
    Engine.PrepareLayout();  // hands over the statistics lines it sets
    // Numeric style: the read-out takes the histogram's place in a large font.
    const bool numeric = !Engine.Hist.Visible;
    Picture1->setVisible(!numeric);
    SetPoints(lblEnergy, numeric ? 72 : 30);
    lblEnergy->setSizePolicy(QSizePolicy::Preferred,
                             numeric ? QSizePolicy::Expanding : QSizePolicy::Preferred);
    lblEnergy->setAlignment(numeric ? Qt::AlignCenter : (Qt::AlignRight | Qt::AlignVCenter));
    layout_->setStretch(0, numeric ? 1 : 0);
    FitHistogramToPixels(Engine.Hist, Picture1->size());
    Engine.DrawWholeHistogram(Picture1->Surface(), [this] { form_Resize(); });
}

void EnergyWindow::EnergyLog(int action, QString& reply) {
    if (action == 1) return Engine.End();
    Engine.EnergyLog(action, reply);
}

EnergyWindow::~EnergyWindow() {
    // The engine may run on without this window.
    Engine.View = EnergyViewHooks{};
    Engine.Detach(*this);
}

void EnergyWindow::Ended() {
    if (!leaving_) MdiFrame(this)->hide();
}

void EnergyWindow::butSetup_Click() {
    SetupEnergy().SetupEnergyHist(Engine.Initialised, Engine.RelativeUnits);
}

void EnergyWindow::closeEvent(QCloseEvent* e) {
    // Closed by the user: leave the mode; the main window calls EnergyLog(1).
    CloseUnlessKept(e, leaving_, [this] { return Engine.Unload(false); });
}
