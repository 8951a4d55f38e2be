#include "viewers/EnergyLimitEditor.h"

#include "data/Units.h"
#include "energy/EnergySetupRules.h"
#include "state/AppState.h"

#include <QComboBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalBlocker>
#include <algorithm>

EnergyLimitEditor::EnergyLimitEditor(QWidget* owner, const LimitNames& names)
    : QObject(owner), Controls(MakeLimitControls(owner, names)) {
    for (int i = 0; i < 2; ++i) {
        Controls.Boxes[size_t(i)]->installEventFilter(this);
        connect(Controls.Bars[size_t(i)], &QScrollBar::valueChanged, this, [this, i] { BarChanged(i); });
        connect(Controls.Boxes[size_t(i)], &QLineEdit::textEdited, this,
                [this, i] { CutLimitText(Controls.Boxes[size_t(i)]); });
    }
    connect(Controls.Units, &QComboBox::currentIndexChanged, this, [this] { UnitChosen(); });
    connect(Controls.Scale, &QComboBox::currentIndexChanged, this, [this] { ScaleChosen(); });
}

void EnergyLimitEditor::SetUnitTexts(bool relativeUnits) {
    const int keep = Controls.Units->currentIndex();
    SetIndexQuietly(Controls.Units, -1);
    {
        const QSignalBlocker block(Controls.Units);
        Controls.Units->clear();
        Controls.Units->addItems(EnergyUnitTexts(relativeUnits));
    }
    SetIndexQuietly(Controls.Units, keep < 0 ? 4 : keep);
}

void EnergyLimitEditor::Show(int16_t unit, int16_t scale, double low, double high) {
    SetIndexQuietly(Controls.Units, unit);
    SetIndexQuietly(Controls.Scale, scale);
    low_ = low;
    high_ = high;
    ShowLimitBars(Controls.Bars, Controls.Boxes, low_, high_);
}

void EnergyLimitEditor::TakePending() {
    TakePendingLimits(Controls.Boxes, Controls.Bars);
}

int EnergyLimitEditor::LeftBar() const {
    return Controls.Bars[0]->value();
}

int EnergyLimitEditor::RightBar() const {
    return Controls.Bars[1]->value();
}

int16_t EnergyLimitEditor::Unit() const {
    return int16_t(std::max(Controls.Units->currentIndex(), 0));
}

int16_t EnergyLimitEditor::Scale() const {
    return int16_t(std::max(Controls.Scale->currentIndex(), 0));
}

double EnergyLimitEditor::UnitFactor() const {
    return UnitScale::EnergyFactors[size_t(std::min<int>(Unit(), kListedEnergyUnits - 1))];
}

void EnergyLimitEditor::BarChanged(int index) {
    if (index == 0)
        low_ = LeftBar();
    else
        high_ = RightAfterMove(RightBar(), Scale(), UnitFactor());
    ShowLimitBars(Controls.Bars, Controls.Boxes, low_, high_);
}

void EnergyLimitEditor::UnitChosen() {
    if (Controls.Units->currentIndex() < 0) return;
    SetIndexQuietly(Controls.Units, FitEnergyUnit(Unit(), RightBar(), Scale(), UnitScale::EnergyFactors));
}

void EnergyLimitEditor::ScaleChosen() {
    if (Controls.Scale->currentIndex() < 0) return;
    SetIndexQuietly(Controls.Scale, FitEnergyScale(Scale(), RightBar(), UnitFactor()));
}

bool EnergyLimitEditor::eventFilter(QObject* watched, QEvent* event) {
    if (const int i = LimitBoxLeft(Controls.Boxes, watched, event); i >= 0)
        TakeLimitText(Controls.Boxes[size_t(i)], Controls.Bars[size_t(i)]);
    return QObject::eventFilter(watched, event);
}
