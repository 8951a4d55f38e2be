#include "dual/EnergyRatioSetupDialog.h"

#include "data/LimitBars.h"
#include "data/Units.h"
#include "energy/EnergySetupPanels.h"
#include "platform/Prompts.h"
#include "state/AppState.h"
#include "state/Configuration.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

// The exponent box: a whole number -15..15, or nothing.
std::optional<int> TypedExponent(const QString& text) {
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    if (!ok || v < -kRatioExponentMax || v > kRatioExponentMax) return std::nullopt;
    return v;
}

}  // namespace

EnergyRatioSetupDialog::EnergyRatioSetupDialog()
    : PulseSetupDialog("EnergyRatioSetupDialog", "Energy Ratio Setup") {
    BuildPanels(Choices.Energy, {"Energy Limits",
                                 {"Left", "Right"},
                                 {"energy_limits_0", "energy_limits_1"},
                                 {"txt_energy_0", "txt_energy_1"},
                                 "cmbEnergyUnits",
                                 "cmbEnergyCoeff"});
    energy_limits = panels_->LimitBars;
    txt_energy = panels_->LimitBoxes;
    cmbEnergyUnits = panels_->Units;
    cmbEnergyCoeff = panels_->Scale;
    storage_rate = panels_->storage_rate;
    optStorageStyle = panels_->optStorageStyle;
    optStorageMode = panels_->optStorageMode;
    chkTimeStamp = panels_->chkTimeStamp;
    chkStat = panels_->chkStat;
    Arrange(BuildRatioLimits(), BuildGridAndDisplay());
}

QWidget* EnergyRatioSetupDialog::BuildRatioLimits() {
    auto* frame = new QGroupBox("Ratio Limits", this);
    auto* grid = new QGridLayout(frame);
    const char* captions[] = {"Low", "High"};
    for (int i = 0; i < 2; ++i) {
        ratio_limits[i] = MakeSetupBar(frame, 0, kRatioBarMax, i == 0 ? "ratio_limits_0" : "ratio_limits_1");
        txt_ratio[i] = MakeLimitBox(frame, i == 0 ? "txt_ratio_0" : "txt_ratio_1");
        txt_ratio[i]->installEventFilter(this);
        grid->addWidget(new QLabel(captions[i], frame), i, 0);
        grid->addWidget(ratio_limits[i], i, 1);
        grid->addWidget(txt_ratio[i], i, 2);
        connect(ratio_limits[i], &QScrollBar::valueChanged, this, [this, i](int v) {
            if (panels_->Loading) return;
            if (i == 0)
                Choices.LowRatio = v;
            else
                Choices.HighRatio = RatioHighAfterMove(v);
            ShowRatioBars();
        });
        connect(txt_ratio[i], &QLineEdit::textEdited, this, [this, i] {
            if (!panels_->Loading) CutLimitText(txt_ratio[i]);
        });
    }
    ratio_exp = MakeSetupBar(frame, -kRatioExponentMax, kRatioExponentMax, "ratio_exp");
    txt_exp = MakeLimitBox(frame, "txt_exp");
    txt_exp->installEventFilter(this);
    grid->addWidget(new QLabel("Exponent", frame), 2, 0);
    grid->addWidget(ratio_exp, 2, 1);
    grid->addWidget(txt_exp, 2, 2);
    connect(ratio_exp, &QScrollBar::valueChanged, this, [this](int v) {
        if (panels_->Loading) return;
        Choices.Exponent = int16_t(v);
        ShowRatioBars();
    });
    return frame;
}

QWidget* EnergyRatioSetupDialog::BuildGridAndDisplay() {
    auto* column = new QWidget(this);
    auto* cl = new QVBoxLayout(column);
    cl->setContentsMargins(0, 0, 0, 0);
    auto* grid = new QGroupBox("Grid Style", column);
    auto* gl = new QVBoxLayout(grid);
    Check2[1] = new QCheckBox("&Horizontal", grid);
    Check2[2] = new QCheckBox("&Vertical", grid);
    for (int i = 1; i <= 2; ++i) {
        Check2[i]->setObjectName(QString("Check2_%1").arg(i));
        gl->addWidget(Check2[i]);
        connect(Check2[i], &QCheckBox::toggled, this, [this] {
            if (!panels_->Loading)
                Choices.GridStyle = GridStyleOf(Check2[1]->isChecked(), Check2[2]->isChecked());
        });
    }
    auto* display = new QGroupBox("Display", column);
    auto* dl = new QVBoxLayout(display);
    const char* captions[] = {"&Numeric", "&Graphic"};
    for (int i = 1; i <= 2; ++i) {
        optDisplayStyle[i] = new QRadioButton(captions[i - 1], display);
        optDisplayStyle[i]->setObjectName(QString("optDisplayStyle_%1").arg(i));
        dl->addWidget(optDisplayStyle[i]);
        connect(optDisplayStyle[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on && !panels_->Loading) Choices.DisplayStyle = int16_t(i);
        });
    }
    cl->addWidget(grid);
    cl->addWidget(display);
    cl->addStretch();
    return column;
}

void EnergyRatioSetupDialog::ShowRatioBars() {
    const bool was = panels_->Loading;
    panels_->Loading = true;
    SetBarQuietly(ratio_limits[0], Choices.LowRatio);
    SetBarQuietly(ratio_limits[1], Choices.HighRatio);
    SetBarQuietly(ratio_exp, Choices.Exponent);
    for (int i = 0; i < 2; ++i) SetTextQuietly(txt_ratio[i], QString::number(ratio_limits[i]->value()));
    SetTextQuietly(txt_exp, QString::number(ratio_exp->value()));
    panels_->Loading = was;
}

void EnergyRatioSetupDialog::SetupEnergyRatio(bool runActive) {
    panels_->Loading = true;
    Choices = EnergyRatioChoicesOf(CurrentSettings().EnergyRatio, UnitScale::EnergyFactors);
    panels_->ShowChoices(false);
    ShowRatioBars();
    Check2[1]->setChecked((Choices.GridStyle & 1) != 0);
    Check2[2]->setChecked((Choices.GridStyle & 2) != 0);
    optDisplayStyle[Choices.DisplayStyle]->setChecked(true);
    // The chart's ratio limits wait for the window's Reset too.
    QWidget* const ratio[] = {ratio_limits[0], ratio_limits[1], txt_ratio[0],
                              txt_ratio[1],    ratio_exp,       txt_exp};
    for (QWidget* w : ratio) w->setEnabled(!runActive);
    ShowFilled(runActive);
}

void EnergyRatioSetupDialog::StoreChoices() {
    TakePendingLimits(txt_ratio, ratio_limits);
    if (const auto typed = TypedExponent(txt_exp->text())) ratio_exp->setValue(*typed);
    StoreEnergyRatioChoices(Choices, panels_->LeftBar(), panels_->RightBar(), ratio_limits[0]->value(),
                            ratio_limits[1]->value(), UnitScale::EnergyFactors,
                            CurrentSettings().EnergyRatio);
}

bool EnergyRatioSetupDialog::eventFilter(QObject* watched, QEvent* event) {
    if (const int i = LimitBoxLeft(txt_ratio, watched, event); i >= 0 && !panels_->Loading)
        TakeLimitText(txt_ratio[i], ratio_limits[i]);
    if (watched == txt_exp && event->type() == QEvent::FocusOut && !panels_->Loading) {
        if (const auto typed = TypedExponent(txt_exp->text()))
            ratio_exp->setValue(*typed);
        else
            platform::prompts().Beep();
        SetTextQuietly(txt_exp, QString::number(ratio_exp->value()));
    }
    return PulseSetupDialog::eventFilter(watched, event);
}

EnergyRatioSetupDialog& SetupEnergyRatio() {
    static EnergyRatioSetupDialog* dialog = new EnergyRatioSetupDialog;
    return *dialog;
}
