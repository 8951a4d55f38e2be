#include "power/PowerWindow.h"

#include "charts/ChartCursor.h"
#include "data/Units.h"
#include "link/MeterIdentity.h"
#include "power/PowerSetupDialog.h"
#include "power/PowerStability.h"
#include "state/AppState.h"
#include "widgets/LogWindowParts.h"
#include "widgets/SurfaceWidget.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

const PowerWindowProfile kPowerWindow{
    .Engine = &kPowerProfile,
    .Name = "PowerWindow",
    .Labels = {"lblPower", "lblMinPower", "lblMaxPower", "lblAvrPower", "lblStDevPower"},
    .LimitsWarning = true,
    .Directions = nullptr,
    .AdjustButton = nullptr,
    .AdjustLabel = nullptr,
    .Setup = SetupPower,
};

PowerWindow::PowerWindow(const PowerWindowProfile& profile, QWidget* parent)
    : QWidget(parent), Engine(*profile.Engine), profile_(&profile) {
    setObjectName(profile.Name);
    BuildControls();
    PowerViewHooks& v = Engine.View;
    v.DisplayChanged = [this] { ShowDisplay(); };
    v.PointAdded = [this] { AddPoint(); };
    v.Redraw = [this] { form_Resize(); };
    v.ReopenSetup = [this] { profile_->Setup().SetupPowerGraph(Engine.RunActive, Engine.Chart.Units); };
    v.ShowWindow = [this] {
        MdiFrame(this)->show();
        show();
    };
    Picture1->Resized = [this] { form_Resize(); };
    Picture1->HoverText = [this](QPointF at) { return CursorTextAt(Engine.Chart, at.x(), at.y()); };
    ShowDisplay();
}

void PowerWindow::BuildControls() {
    const PowerWindowProfile& p = *profile_;
    lblPower = MakeReadout(this, p.Labels[0]);

    lblMinPower = MakeStatLabel(this, p.Labels[1]);
    lblMaxPower = MakeStatLabel(this, p.Labels[2]);
    lblAvrPower = MakeStatLabel(this, p.Labels[3]);
    lblStDevPower = MakeStatLabel(this, p.Labels[4]);

    const RunButtons run = MakeRunButtons(this);
    butStartStop = run.StartStop;
    butReset = run.Reset;
    butSetup = run.Setup;
    chkAutoRescale = new QCheckBox("R&escale", this);
    chkAutoRescale->setObjectName("chkAutoRescale");
    chkAutoScale = new QCheckBox("&Auto-scale", this);
    chkAutoScale->setObjectName("chkAutoScale");
    if (p.LimitsWarning) {
        chkLimitsOn = new QCheckBox("Limits Warning", this);
        chkLimitsOn->setObjectName("chkLimitsOn");
    }
    Picture1 = new widgets::SurfaceWidget(this);
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
    auto* butStability = new QPushButton("Stabilit&y", this);
    butStability->setObjectName("butStability");
    buttons->addWidget(butStability, 0, 3);
    connect(butStability, &QPushButton::clicked, this, [this] { ShowPowerStability(*this); });
    buttons->addWidget(chkAutoRescale, 1, 0);
    if (chkLimitsOn) buttons->addWidget(chkLimitsOn, 1, 1, 1, 2);
    if (p.Directions) {
        const std::array<const char*, 2>& names = p.Engine->DirectionNames;
        Directions = new QComboBox(this);
        Directions->setObjectName(p.Directions);
        Directions->setEditable(true);
        Directions->setInsertPolicy(QComboBox::NoInsert);
        Directions->addItems({names[0], names[1]});
        butAdjust = new QPushButton(this);
        butAdjust->setObjectName(p.AdjustButton);
        lblAdjust = new QLabel(this);
        lblAdjust->setObjectName(p.AdjustLabel);
        lblAdjust->setMinimumWidth(90);
        buttons->addWidget(Directions, 1, 1);
        buttons->addWidget(butAdjust, 2, 0);
        buttons->addWidget(lblAdjust, 2, 1, 1, 2);
        // A typed text counts once it is complete (Enter), as a choice does.
        connect(Directions, &QComboBox::activated, this, [this] { Directions_Click(); });
        connect(Directions->lineEdit(), &QLineEdit::editingFinished, this, [this] { Directions_Click(); });
        connect(butAdjust, &QPushButton::clicked, this, [this] { Engine.ToggleAdjustment(); });
    }

    buttons->addWidget(chkAutoScale, p.Directions ? 3 : 2, 0, 1, 3);

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
    connect(butReset, &QPushButton::pressed, this, &PowerWindow::butReset_MouseDown);
    connect(butReset, &QPushButton::clicked, this, &PowerWindow::butReset_Click);
    connect(butSetup, &QPushButton::clicked, this, &PowerWindow::butSetup_Click);
    connect(chkAutoRescale, &QCheckBox::toggled, this, [this](bool on) { Engine.SetAutoRescale(on); });
    connect(chkAutoScale, &QCheckBox::toggled, this, [this](bool on) { Engine.SetAutoScale(on); });
    if (chkLimitsOn)
        connect(chkLimitsOn, &QCheckBox::toggled, this, [this](bool on) { Engine.SetLimitsOn(on); });
    PowerSetupDialog& setup = p.Setup();
    connect(&setup, &PowerSetupDialog::applied, this, [this] { form_Resize(); });
    // The click on Reset is what closes an open setup dialog.
    connect(&setup, &PowerSetupDialog::unloaded, this, [this] {
        if (butReset->isDown() || butReset->underMouse()) setupWasOpen_ = Engine.RunActive;
    });
    resize(720, 480);
}

void PowerWindow::ShowDisplay() {
    const PowerEngine& e = Engine;
    setWindowTitle(e.Caption);
    butStartStop->setText(e.StartStopCaption);
    lblPower->setText(e.ReadingText);
    lblPower->setVisible(e.ReadingVisible && e.Settings().DisplayMode != 0);
    QLabel* stats[] = {lblMinPower, lblMaxPower, lblAvrPower, lblStDevPower};
    for (size_t i = 0; i < 4; ++i) {
        stats[i]->setText(e.StatLabels[i]);
        stats[i]->setVisible(e.StatVisible[i]);
    }
    chkAutoRescale->setVisible(e.RescaleVisible);
    if (butAdjust) {
        butAdjust->setText(e.AdjustCaption);
        lblAdjust->setText(e.AdjustLabel);
        if (Directions->currentIndex() != e.Direction) Directions->setCurrentIndex(e.Direction);
    }
}

// The typed or chosen text names the direction; anything else changes nothing.
void PowerWindow::Directions_Click() {
    const int index = Directions->findText(Directions->currentText());
    if (index >= 0) Engine.SetDirection(int16_t(index));
    Directions->setCurrentIndex(Engine.Direction);
}

void PowerWindow::AddPoint() {
    DrawChart(1, Engine.Chart, Picture1->Surface(), 0, 0);
}

void PowerWindow::form_Resize() {
    // Chart only (0), read-out only (1) or both (2).
    Picture1->setVisible(Engine.Settings().DisplayMode != 1);
    ShowDisplay();
    FitChartToPixels(Engine.Chart, Picture1->size());
    Engine.DrawWholeChart(Picture1->Surface());
}

void PowerWindow::PowerLog(int op, QString& reply) {
    if (op == -1) Form_Load();
    Engine.PowerLog(op, reply);
    if (op == 1 && !leaving_) MdiFrame(this)->hide();
}

// Every entry into power mode starts like a newly loaded window: nothing
// unsaved, both boxes cleared, and the units of the head now selected, so
// the empty chart and the setup name them before the first Start.
void PowerWindow::Form_Load() {
    Engine.NotSaved = false;
    chkAutoRescale->setChecked(false);
    if (chkLimitsOn) chkLimitsOn->setChecked(false);
    Engine.SetDirection(0);
    if (Engine.Adjusted) Engine.ToggleAdjustment();
    // Two channels show in the unit of channel A.
    const int16_t c = Meter().CurrentChannel == 1 && profile_->Engine->Channels == 1 ? 1 : 0;
    const QString unit = Meter().Channels[size_t(c)].ReadingUnit;
    Engine.Chart.Units.BaseUnit = unit.isEmpty() ? QStringLiteral("W") : unit;
}

// The press may come after the dialog already closed itself on losing the
// focus to this click (see the unloaded handler), so it only adds to that.
void PowerWindow::butReset_MouseDown() {
    setupWasOpen_ = setupWasOpen_ || profile_->Setup().SetupOpen();
}

void PowerWindow::butReset_Click() {
    const bool reopen = setupWasOpen_;
    setupWasOpen_ = false;
    Engine.Reset(reopen);
}

void PowerWindow::butSetup_Click() {
    profile_->Setup().SetupPowerGraph(Engine.RunActive, Engine.Chart.Units);
}

void PowerWindow::closeEvent(QCloseEvent* e) {
    // Closed by the user: leave power mode; the main window calls PowerLog(1).
    CloseUnlessKept(e, leaving_, [this] { return Engine.Unload(false); });
}
