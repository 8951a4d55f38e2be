#include "power/PowerWindow.h"

#include "charts/ChartCursor.h"
#include "data/Units.h"
#include "power/PowerSetupDialog.h"
#include "power/PowerStability.h"
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
#include <QSignalBlocker>
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

PowerWindow::PowerWindow(const PowerWindowProfile& profile, PowerEngine* engine, QWidget* parent)
    : QWidget(parent),
      ownEngine_(engine ? nullptr : std::make_unique<PowerEngine>(*profile.Engine)),
      Engine(engine ? *engine : *ownEngine_),
      profile_(&profile) {
    setObjectName(profile.Name);
    BuildControls();
    PowerViewHooks& v = Engine.View;
    v.DisplayChanged = [this](const PowerDisplay& d) { ShowDisplay(d); };
    v.PointAdded = [this](const ChartPoint& p) { DrawChartPoint(Engine.Chart, Picture1->Surface(), p); };
    v.Redraw = [this] { form_Resize(); };
    v.ReopenSetup = [this] { profile_->Setup().SetupPowerGraph(Engine.RunActive, Engine.Chart.Units); };
    v.ShowWindow = [this] {
        MdiFrame(this)->show();
        show();
    };
    Engine.Attach(*this);
    Picture1->Resized = [this] { form_Resize(); };
    Picture1->HoverText = [this](QPointF at) { return CursorTextAt(Engine.Chart, at.x(), at.y()); };
    ShowDisplay(Engine.Display);  // as the engine starts
}

PowerWindow::~PowerWindow() {
    // The engine may run on without this window.
    Engine.View = PowerViewHooks{};
    Engine.Detach(*this);
}

void PowerWindow::Began() {
    // The engine cleared both already.
    const QSignalBlocker rescale(chkAutoRescale);
    chkAutoRescale->setChecked(false);
    if (chkLimitsOn) {
        const QSignalBlocker limits(chkLimitsOn);
        chkLimitsOn->setChecked(false);
    }
}

void PowerWindow::Ended() {
    if (!leaving_) MdiFrame(this)->hide();
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

void PowerWindow::ShowDisplay(const PowerDisplay& d) {
    if (&d != &shown_) shown_ = d;
    setWindowTitle(d.Caption);
    butStartStop->setText(d.StartStopCaption);
    lblPower->setText(d.ReadingText);
    lblPower->setVisible(d.ReadingVisible && Engine.Settings().DisplayMode != 0);
    QLabel* stats[] = {lblMinPower, lblMaxPower, lblAvrPower, lblStDevPower};
    for (size_t i = 0; i < 4; ++i) {
        stats[i]->setText(d.StatLabels[i]);
        stats[i]->setVisible(d.StatVisible[i]);
    }
    chkAutoRescale->setVisible(d.RescaleVisible);
    if (butAdjust) {
        butAdjust->setText(d.AdjustCaption);
        lblAdjust->setText(d.AdjustLabel);
        if (Directions->currentIndex() != d.Direction) Directions->setCurrentIndex(d.Direction);
    }
}

// The typed or chosen text names the direction; anything else changes nothing.
void PowerWindow::Directions_Click() {
    const int index = Directions->findText(Directions->currentText());
    if (index >= 0) Engine.SetDirection(int16_t(index));
    Directions->setCurrentIndex(Engine.Direction);
}

void PowerWindow::form_Resize() {
    // Chart only (0), read-out only (1) or both (2).
    Picture1->setVisible(Engine.Settings().DisplayMode != 1);
    ShowDisplay(shown_);
    FitChartToPixels(Engine.Chart, Picture1->size());
    Engine.DrawWholeChart(Picture1->Surface());
}

void PowerWindow::PowerLog(int op, QString& reply) {
    switch (op) {
        case -1:
            return Engine.Begin();
        case 1:
            return Engine.End();
        case kRefusedReplyOp:
            return Engine.Refused(reply);
        default:
            return Engine.Reply(reply);
    }
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
