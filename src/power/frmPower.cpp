#include "power/frmPower.h"

#include "data/Units.h"
#include "platform/LogWindowParts.h"
#include "platform/SurfaceWidget.h"
#include "power/frmSetupPower.h"
#include "state/AppState.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

frmPower::frmPower(QWidget* parent) : QWidget(parent) {
    setObjectName("frmPower");
    BuildControls();
    PowerViewHooks& v = Engine.View;
    v.DisplayChanged = [this] { ShowDisplay(); };
    v.PointAdded = [this] { AddPoint(); };
    v.Redraw = [this] { form_Resize(); };
    v.ReopenSetup = [this] { SetupPowerGraph(Engine.RunActive); };
    v.ShowWindow = [this] {
        MdiFrame(this)->show();
        show();
    };
    Picture1->Resized = [this] { form_Resize(); };
    ShowDisplay();
}

void frmPower::BuildControls() {
    lblPower = MakeReadout(this, "lblPower");

    lblMinPower = MakeStatLabel(this, "lblMinPower");
    lblMaxPower = MakeStatLabel(this, "lblMaxPower");
    lblAvrPower = MakeStatLabel(this, "lblAvrPower");
    lblStDevPower = MakeStatLabel(this, "lblStDevPower");

    const RunButtons run = MakeRunButtons(this);
    butStartStop = run.StartStop;
    butReset = run.Reset;
    butSetup = run.Setup;
    chkAutoRescale = new QCheckBox("R&escale", this);
    chkAutoRescale->setObjectName("chkAutoRescale");
    chkLimitsOn = new QCheckBox("Limits Warning", this);
    chkLimitsOn->setObjectName("chkLimitsOn");
    Picture1 = new platform::SurfaceWidget(this);
    Picture1->setObjectName("Picture1");
    Picture1->setMinimumSize(240, 160);

    auto* stats = new QGridLayout;
    stats->setHorizontalSpacing(16);
    stats->addWidget(lblMinPower, 0, 0);
    stats->addWidget(lblMaxPower, 1, 0);
    stats->addWidget(lblAvrPower, 0, 1);
    stats->addWidget(lblStDevPower, 1, 1);

    auto* buttons = new QGridLayout;
    buttons->addWidget(butStartStop, 0, 0);
    buttons->addWidget(butReset, 0, 1);
    buttons->addWidget(butSetup, 0, 2);
    buttons->addWidget(chkAutoRescale, 1, 0);
    buttons->addWidget(chkLimitsOn, 1, 1, 1, 2);

    auto* top = new QHBoxLayout;
    top->addWidget(lblPower);
    top->addSpacing(12);
    top->addLayout(stats);
    top->addStretch(1);
    top->addLayout(buttons);

    auto* all = new QVBoxLayout(this);
    all->setContentsMargins(6, 6, 6, 6);
    all->addLayout(top);
    all->addWidget(Picture1, 1);

    connect(butStartStop, &QPushButton::clicked, this, [this] { Engine.StartStop(); });
    connect(butReset, &QPushButton::pressed, this, &frmPower::butReset_MouseDown);
    connect(butReset, &QPushButton::clicked, this, &frmPower::butReset_Click);
    connect(butSetup, &QPushButton::clicked, this, &frmPower::butSetup_Click);
    connect(chkAutoRescale, &QCheckBox::toggled, this, [this](bool on) { Engine.SetAutoRescale(on); });
    connect(chkLimitsOn, &QCheckBox::toggled, this, [this](bool on) { Engine.SetLimitsOn(on); });
    connect(&SetupPower(), &frmSetupPower::applied, this, [this] { form_Resize(); });
    // The click on Reset is what closes an open setup dialog.
    connect(&SetupPower(), &frmSetupPower::unloaded, this, [this] {
        if (butReset->isDown() || butReset->underMouse()) setupWasOpen_ = Engine.RunActive;
    });
    resize(720, 480);
}

void frmPower::ShowDisplay() {
    const PowerEngine& e = Engine;
    setWindowTitle(e.Caption);
    butStartStop->setText(e.StartStopCaption);
    lblPower->setText(e.ReadingText);
    lblPower->setVisible(e.ReadingVisible && App().Config.Power.DisplayMode != 0);
    QLabel* stats[] = {lblMinPower, lblMaxPower, lblAvrPower, lblStDevPower};
    for (size_t i = 0; i < 4; ++i) {
        stats[i]->setText(e.StatLabels[i]);
        stats[i]->setVisible(e.StatVisible[i]);
    }
    chkAutoRescale->setVisible(e.RescaleVisible);
}

void frmPower::AddPoint() {
    DrawChart(1, Engine.Chart, Picture1->Surface(), 0, 0);
}

void frmPower::form_Resize() {
    // Chart only (0), read-out only (1) or both (2).
    Picture1->setVisible(App().Config.Power.DisplayMode != 1);
    ShowDisplay();
    FitChartToPixels(Engine.Chart, Picture1->size());
    Engine.DrawWholeChart(Picture1->Surface());
}

void frmPower::PowerLog(int op, QString& reply) {
    if (op == -1) Form_Load();
    Engine.PowerLog(op, reply);
    if (op == 1 && !leaving_) MdiFrame(this)->hide();
}

// Every entry into power mode starts like a newly loaded window: nothing
// unsaved, both boxes cleared, and the units of the head now selected, so
// the empty chart and the setup name them before the first Start.
void frmPower::Form_Load() {
    Engine.NotSaved = false;
    chkAutoRescale->setChecked(false);
    chkLimitsOn->setChecked(false);
    AppState& app = App();
    const int16_t c = app.CurrentChannel == 1 ? 1 : 0;
    const QString unit = app.Channels[size_t(c)].ReadingUnit;
    app.BaseUnit = unit.isEmpty() ? QStringLiteral("W") : unit;
    BuildPowerUnits();
}

// The press may come after the dialog already closed itself on losing the
// focus to this click (see the unloaded handler), so it only adds to that.
void frmPower::butReset_MouseDown() {
    setupWasOpen_ = setupWasOpen_ || SetupPower().SetupOpen();
}

void frmPower::butReset_Click() {
    const bool reopen = setupWasOpen_;
    setupWasOpen_ = false;
    Engine.Reset(reopen);
}

void frmPower::butSetup_Click() {
    SetupPowerGraph(Engine.RunActive);
}

void frmPower::closeEvent(QCloseEvent* e) {
    // Closed by the user: leave power mode; the main window calls PowerLog(1).
    leaving_ = true;
    Engine.Unload(false);
    leaving_ = false;
    e->accept();
}
