#include "energy/EnergySetupDialog.h"

#include "state/Configuration.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

EnergySetupDialog::EnergySetupDialog(const char* name, const char* title) {
    setObjectName(name);
    setWindowTitle(title);
    lblReminder = MakeReminder(this);
    Command2 = new QPushButton("OK", this);
    Command2->setObjectName("Command2");
    Command2->setDefault(true);
    Command1 = new QPushButton("&Cancel", this);
    Command1->setObjectName("Command1");
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Unload(); });
}

void EnergySetupDialog::BuildPanels(EnergyChoices& choices, const LimitNames& limitNames) {
    panels_ = new EnergySetupPanels(this, choices, limitNames);
}

void EnergySetupDialog::Arrange(QWidget* belowLimits, QWidget* belowStatistics) {
    auto* frames = new QGridLayout;
    frames->addWidget(panels_->LimitsFrame, 0, 0);
    frames->addWidget(belowLimits, 1, 0);
    frames->addWidget(panels_->StorageRateFrame, 0, 1);
    frames->addWidget(panels_->StorageModeFrame, 1, 1);
    frames->addWidget(panels_->StatisticsFrame, 0, 2);
    frames->addWidget(belowStatistics, 1, 2);
    frames->setColumnStretch(0, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(lblReminder, 1);
    buttons->addWidget(Command2);
    buttons->addWidget(Command1);
    auto* all = new QVBoxLayout(this);
    all->addLayout(frames);
    all->addLayout(buttons);
}

void EnergySetupDialog::ShowFilled(bool runActive) {
    panels_->EnableRunControls(!runActive);
    lblReminder->setVisible(runActive);
    panels_->Loading = false;
    lifecycle_.Show(this, runActive);
}

void EnergySetupDialog::Command2_Click() {
    panels_->TakePendingLimits();
    StoreChoices();
    emit applied();
    Unload();
    SaveConfiguration();
}

void EnergySetupDialog::reject() {
    Unload();
}

void EnergySetupDialog::Unload() {
    if (lifecycle_.Hide(this)) emit unloaded();
}

void EnergySetupDialog::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (lifecycle_.LostFocus(this, event)) Unload();
}

bool EnergySetupDialog::eventFilter(QObject* watched, QEvent* event) {
    panels_->FilterEvent(watched, event);
    return QDialog::eventFilter(watched, event);
}
