#include "dual/frmNrgRto.h"

#include "dual/frmSetupNrgRto.h"
#include "platform/LogWindowParts.h"
#include "platform/SurfaceWidget.h"
#include "state/AppState.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

frmNrgRto::frmNrgRto(QWidget* parent) : QWidget(parent) {
    setObjectName("frmNrgRto");
    BuildControls();
    NrgRtoViewHooks& v = Engine.View;
    v.DisplayChanged = [this] { ShowDisplay(); };
    v.PointAdded = [this](double a, double y) {
        DrawScatterPoint(Engine.Chart.Screen, Picture1->Surface(), a, y);
    };
    v.Redraw = [this] { form_Resize(); };
    v.ReopenSetup = [this] { butSetup_Click(); };
    v.ShowWindow = [this] { ShowModeWindow(this); };
    Picture1->Resized = [this] { form_Resize(); };
    ShowDisplay();
}

void frmNrgRto::BuildControls() {
    lblNrgRto = MakeReadout(this, "lblNrgRto");
    lblNorma = new QLabel(this);
    lblNorma->setObjectName("lblNorma");
    lblMinRtoPwr = MakeStatLabel(this, "lblMinRtoPwr");
    lblMaxRtoPwr = MakeStatLabel(this, "lblMaxRtoPwr");
    lblAvrRtoPwr = MakeStatLabel(this, "lblAvrRtoPwr");
    lblStDevRtoPwr = MakeStatLabel(this, "lblStDevRtoPwr");
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

    QGridLayout* stats = StatisticsGrid({lblMinRtoPwr, lblMaxRtoPwr, lblAvrRtoPwr, lblStDevRtoPwr});

    auto* ratio = new QVBoxLayout;
    ratio->addWidget(cmbRatioMode);
    ratio->addWidget(butNormalize);
    ratio->addWidget(lblNorma);
    ratio->addStretch(1);

    auto* left = new QVBoxLayout;
    left->addWidget(lblNrgRto, 1);
    left->addLayout(stats);
    layout_ = ArrangeLogWindow(this, left, ratio, run, Picture1);

    WireRunButtons(
        this, run, Engine, SetupNrgRto(), [this](bool reopenSetup) { Engine.Reset(reopenSetup); },
        [this] { butSetup_Click(); }, [this] { form_Resize(); });
    connect(butNormalize, &QPushButton::clicked, this, [this] { Engine.Normalize(); });
    connect(cmbRatioMode, &QComboBox::currentIndexChanged, this,
            [this](int index) { Engine.SetRatioMode(int16_t(index)); });
    resize(820, 520);
}

void frmNrgRto::ShowDisplay() {
    const NrgRtoEngine& e = Engine;
    setWindowTitle(e.Caption);
    butStartStop->setText(e.StartStopCaption);
    butNormalize->setText(e.NormalizeCaption);
    lblNorma->setText(e.NormaText);
    lblNrgRto->setText(e.RatioText);
    lblNrgRto->setVisible(e.RatioVisible);
    if (cmbRatioMode->currentIndex() != e.RatioMode) {
        const QSignalBlocker quiet(cmbRatioMode);
        cmbRatioMode->setCurrentIndex(e.RatioMode);
    }
    QLabel* stats[] = {lblMinRtoPwr, lblMaxRtoPwr, lblAvrRtoPwr, lblStDevRtoPwr};
    for (size_t i = 0; i < 4; ++i) {
        stats[i]->setText(e.StatLabels[i]);
        stats[i]->setVisible(e.StatVisible[i]);
    }
}

void frmNrgRto::form_Resize() {
    Engine.PrepareLayout();
    // Numeric style: the read-out takes the chart's place in a large font.
    const bool numeric = App().Config.EnergyRatio.RatioDisplayStyle == 1;
    Picture1->setVisible(!numeric);
    QFont f = lblNrgRto->font();
    f.setPointSizeF(numeric ? 72 : 30);
    lblNrgRto->setFont(f);
    lblNrgRto->setSizePolicy(QSizePolicy::Preferred,
                             numeric ? QSizePolicy::Expanding : QSizePolicy::Preferred);
    lblNrgRto->setAlignment(numeric ? Qt::AlignCenter : (Qt::AlignRight | Qt::AlignVCenter));
    layout_->setStretch(0, numeric ? 1 : 0);
    ShowDisplay();
    FitScatterToPixels(Engine.Chart, Picture1->size());
    Engine.DrawWholeChart(Picture1->Surface());
}

void frmNrgRto::NrgRtoLog(int action, QString& reply) {
    Engine.NrgRtoLog(action, reply);
    if (action == 1 && !leaving_) MdiFrame(this)->hide();
}

void frmNrgRto::butSetup_Click() {
    SetupNrgRto().SetupNrgRatio(Engine.Initialised);
}

void frmNrgRto::closeEvent(QCloseEvent* e) {
    // Closed by the user: leave the mode; the main window calls NrgRtoLog(1).
    leaving_ = true;
    Engine.Unload(false);
    leaving_ = false;
    e->accept();
}
