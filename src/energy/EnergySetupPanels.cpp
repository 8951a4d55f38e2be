#include "energy/EnergySetupPanels.h"

#include "data/Units.h"
#include "state/AppState.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>

void AddSetupOptions(QObject* owner, QLayout* layout, std::array<QRadioButton*, 2>& options,
                     const char* const captions[2], const char* name,
                     const std::function<void(int)>& handler) {
    for (int i = 0; i < 2; ++i) {
        options[i] = new QRadioButton(captions[i], layout->parentWidget());
        options[i]->setObjectName(QString("%1_%2").arg(name).arg(i));
        layout->addWidget(options[i]);
        QObject::connect(options[i], &QRadioButton::toggled, owner, [handler, i](bool on) {
            if (on) handler(i);
        });
    }
}

QScrollBar* AddCaptionedBar(QLayout* layout, QLabel*& caption, const char* captionName, int maximum,
                            const char* barName) {
    QWidget* frame = layout->parentWidget();
    caption = new QLabel(frame);
    caption->setObjectName(captionName);
    auto* bar = MakeSetupBar(frame, 1, maximum, barName);
    layout->addWidget(caption);
    layout->addWidget(bar);
    return bar;
}

EnergySetupPanels::EnergySetupPanels(QDialog* dialog, EnergyChoices& choices, const LimitNames& limitNames)
    : QObject(dialog), choices_(choices) {
    const LimitControls limits = MakeLimitControls(dialog, limitNames);
    LimitsFrame = limits.Frame;
    LimitBars = limits.Bars;
    LimitBoxes = limits.Boxes;
    Units = limits.Units;
    Scale = limits.Scale;
    for (int i = 0; i < 2; ++i) {
        connect(LimitBars[i], &QScrollBar::valueChanged, this, [this, i] { LimitBarMoved(i); });
        connect(LimitBoxes[i], &QLineEdit::textEdited, this, [this, i] {
            if (!Loading) CutLimitText(LimitBoxes[i]);
        });
    }
    connect(Units, &QComboBox::currentIndexChanged, this, [this] { UnitChosen(); });
    connect(Scale, &QComboBox::currentIndexChanged, this, [this] { ScaleChosen(); });
    BuildStorage(dialog);
    BuildStatistics(dialog);
}

void EnergySetupPanels::BuildStorage(QDialog* dialog) {
    auto* rate = new QGroupBox("Storage Rate", dialog);
    StorageRateFrame = rate;
    auto* rl = new QVBoxLayout(rate);
    storage_rate = AddCaptionedBar(rl, txtStorageRate, "txtStorageRate", kTableBarMax, "storage_rate");
    connect(storage_rate, &QScrollBar::valueChanged, this, [this] {
        if (Loading) return;
        choices_.StorageRate = int16_t(StorageRateAt(storage_rate->value()));
        ShowStorageRate();
    });
    const char* const styles[] = {"Average", "Sample"};
    AddSetupOptions(this, rl, optStorageStyle, styles, "optStorageStyle", [this](int i) {
        if (!Loading) choices_.StorageStyle = int16_t(i + 1);
    });
    for (QRadioButton* option : optStorageStyle) {
        // Hiding the style buttons for N = 1 must not move the frames.
        QSizePolicy keep = option->sizePolicy();
        keep.setRetainSizeWhenHidden(true);
        option->setSizePolicy(keep);
    }
    rl->addStretch();

    auto* column = new QWidget(dialog);
    StorageModeFrame = column;
    auto* cl = new QVBoxLayout(column);
    cl->setContentsMargins(0, 0, 0, 0);
    auto* mode = new QGroupBox("Storage Mode", column);
    auto* ml = new QVBoxLayout(mode);
    const char* const modes[] = {"First Readings", "Last Readings"};
    AddSetupOptions(this, ml, optStorageMode, modes, "optStorageMode", [this](int i) {
        if (!Loading) choices_.StorageMode = int16_t(i);
    });
    chkTimeStamp = new QCheckBox("Time Stamp", column);
    chkTimeStamp->setObjectName("chkTimeStamp");
    connect(chkTimeStamp, &QCheckBox::toggled, this, [this](bool on) {
        if (!Loading) choices_.TimeStamp = on;
    });
    cl->addWidget(mode);
    cl->addWidget(chkTimeStamp);
    cl->addStretch();
}

void EnergySetupPanels::BuildStatistics(QDialog* dialog) {
    auto* stats = new QGroupBox("Statistics", dialog);
    StatisticsFrame = stats;
    auto* sl = new QVBoxLayout(stats);
    chkStat[1] = new QCheckBox("Min && Ma&x", stats);
    chkStat[2] = new QCheckBox("Avr. && St.&Dev.", stats);
    for (int i = 1; i <= 2; ++i) {
        chkStat[i]->setObjectName(QString("chkStat_%1").arg(i));
        sl->addWidget(chkStat[i]);
        connect(chkStat[i], &QCheckBox::toggled, this, [this] {
            if (!Loading)
                choices_.Statistics = StatisticsOption(chkStat[1]->isChecked(), chkStat[2]->isChecked());
        });
    }
    sl->addStretch();
}

void EnergySetupPanels::ShowChoices(bool relativeUnits) {
    const bool wasLoading = Loading;
    Loading = true;
    {
        const QSignalBlocker block(Units);
        Units->clear();
        Units->addItems(EnergyUnitTexts(relativeUnits));
    }
    const EnergyChoices& c = choices_;
    optStorageMode[c.StorageMode]->setChecked(true);
    // A rate outside the table leaves its bar where it was.
    if (const auto position = StorageRatePosition(c.StorageRate)) SetBarQuietly(storage_rate, *position);
    optStorageStyle[c.StorageStyle - 1]->setChecked(true);
    chkTimeStamp->setChecked(c.TimeStamp);
    ShowStorageRate();
    chkStat[1]->setChecked((c.Statistics & 1) != 0);
    chkStat[2]->setChecked((c.Statistics & 2) != 0);
    SetIndexQuietly(Scale, c.ScaleIndex);
    SetIndexQuietly(Units, c.UnitIndex);
    ShowLimitBars();
    Loading = wasLoading;
}

void EnergySetupPanels::EnableRunControls(bool enabled) {
    QWidget* const shaping[] = {LimitBars[0],
                                LimitBars[1],
                                LimitBoxes[0],
                                LimitBoxes[1],
                                Scale,
                                Units,
                                optStorageMode[0],
                                optStorageMode[1],
                                storage_rate,
                                optStorageStyle[0],
                                optStorageStyle[1],
                                chkTimeStamp};
    for (QWidget* w : shaping) w->setEnabled(enabled);
}

void EnergySetupPanels::TakePendingLimits() {
    ::TakePendingLimits(LimitBoxes, LimitBars);
}

int EnergySetupPanels::LeftBar() const {
    return LimitBars[0]->value();
}

int EnergySetupPanels::RightBar() const {
    return LimitBars[1]->value();
}

void EnergySetupPanels::FilterEvent(QObject* watched, QEvent* event) {
    if (const int i = LimitBoxLeft(LimitBoxes, watched, event); i >= 0 && !Loading)
        TakeLimitText(LimitBoxes[i], LimitBars[i]);
}

void EnergySetupPanels::ShowLimitBars() {
    ::ShowLimitBars(LimitBars, LimitBoxes, choices_.LowValue, choices_.HighValue);
}

void EnergySetupPanels::LimitBarMoved(int index) {
    if (Loading) return;
    if (index == 0)
        choices_.LowValue = LimitBars[0]->value();
    else
        choices_.HighValue = RightAfterMove(LimitBars[1]->value(), choices_.ScaleIndex,
                                            UnitScale::EnergyFactors[choices_.UnitIndex]);
    ShowLimitBars();
}

void EnergySetupPanels::UnitChosen() {
    if (Loading || Units->currentIndex() < 0) return;
    choices_.UnitIndex = FitEnergyUnit(int16_t(Units->currentIndex()), RightBar(), choices_.ScaleIndex,
                                       UnitScale::EnergyFactors);
    SetIndexQuietly(Units, choices_.UnitIndex);
}

void EnergySetupPanels::ScaleChosen() {
    if (Loading || Scale->currentIndex() < 0) return;
    choices_.ScaleIndex = FitEnergyScale(int16_t(Scale->currentIndex()), RightBar(),
                                         UnitScale::EnergyFactors[choices_.UnitIndex]);
    SetIndexQuietly(Scale, choices_.ScaleIndex);
}

void EnergySetupPanels::ShowStorageRate() {
    txtStorageRate->setText(StorageRateCaption(choices_.StorageRate));
    for (QRadioButton* option : optStorageStyle) option->setVisible(StorageStyleShown(choices_.StorageRate));
}
