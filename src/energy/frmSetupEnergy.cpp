#include "energy/frmSetupEnergy.h"

#include "state/AppState.h"
#include "state/Configuration.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>

frmSetupEnergy::frmSetupEnergy(QWidget* parent) : QDialog(parent) {
    setObjectName("frmSetupEnergy");
    setWindowTitle("Energy Histogram Setup");
    BuildControls();
}

QWidget* frmSetupEnergy::BuildBins() {
    auto* bins = new QGroupBox("Histogram Bins", this);
    auto* bl = new QVBoxLayout(bins);
    bins_count = AddCaptionedBar(bl, txt_bins, "txt_bins", kBinsBarMax, "bins_count");
    bin_size = AddCaptionedBar(bl, txt_pulses, "txt_pulses", kTableBarMax, "bin_size");
    connect(bins_count, &QScrollBar::valueChanged, this, [this] { bins_count_Change(); });
    connect(bin_size, &QScrollBar::valueChanged, this, [this] { bin_size_Change(); });
    return bins;
}

void frmSetupEnergy::BuildControls() {
    panels_ = new EnergySetupPanels(this, Choices,
                                    {"Histogram Limits",
                                     {"Left", "Right"},  // Label1, Label2
                                     {"histogram_limits_0", "histogram_limits_1"},
                                     {"txt_energy_0", "txt_energy_1"},
                                     "cmbEnergyUnits",
                                     "cmbEnergyCoeff"});
    histogram_limits = panels_->LimitBars;
    txt_energy = panels_->LimitBoxes;
    cmbEnergyUnits = panels_->Units;
    cmbEnergyCoeff = panels_->Scale;
    storage_rate = panels_->storage_rate;
    txtStorageRate = panels_->txtStorageRate;
    optStorageStyle = panels_->optStorageStyle;
    optStorageMode = panels_->optStorageMode;
    chkTimeStamp = panels_->chkTimeStamp;
    chkStat = panels_->chkStat;

    auto* display = new QGroupBox("Display", this);
    auto* dl = new QVBoxLayout(display);
    const char* const styles[] = {"Histogram", "Numeric"};
    AddSetupOptions(this, dl, optDisplayStyle, styles, "optDisplayStyle", [this](int i) {
        if (!panels_->Loading) Choices.DisplayStyle = int16_t(i);
    });
    dl->addStretch();

    lblReminder = MakeReminder(this);
    Command2 = new QPushButton("OK", this);
    Command2->setObjectName("Command2");
    Command2->setDefault(true);
    Command1 = new QPushButton("&Cancel", this);
    Command1->setObjectName("Command1");
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });

    // Three columns whose frames line up row by row.
    auto* frames = new QGridLayout;
    frames->addWidget(panels_->LimitsFrame, 0, 0);
    frames->addWidget(BuildBins(), 1, 0);
    frames->addWidget(panels_->StorageRateFrame, 0, 1);
    frames->addWidget(panels_->StorageModeFrame, 1, 1);
    frames->addWidget(panels_->StatisticsFrame, 0, 2);
    frames->addWidget(display, 1, 2);
    frames->setColumnStretch(0, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(lblReminder, 1);
    buttons->addWidget(Command2);
    buttons->addWidget(Command1);
    auto* all = new QVBoxLayout(this);
    all->addLayout(frames);
    all->addLayout(buttons);
}

void frmSetupEnergy::SetupEnergyHist(bool runActive, bool relativeUnits) {
    panels_->Loading = true;
    Choices = ChoicesOf(App().Config.Energy, App().EnergyUnitFactors);
    ShowChoices(relativeUnits);
    EnableRunControls(!runActive);
    panels_->Loading = false;

    lifecycle_.Show(this, runActive);
}

void frmSetupEnergy::ShowChoices(bool relativeUnits) {
    const EnergyChoices& c = Choices;  // Loading keeps the handlers from changing it
    optDisplayStyle[c.DisplayStyle]->setChecked(true);
    SetBarQuietly(bins_count, BinsPosition(c.BinsCount));
    txt_bins->setText(BinsCaption(c.BinsCount));
    if (const auto position = InitialSizePosition(c.InitialSize)) SetBarQuietly(bin_size, *position);
    txt_pulses->setText(InitialSizeCaption(c.InitialSize));
    panels_->ShowChoices(relativeUnits);
}

// What shapes the stored data and the histogram waits for the energy window's Reset.
void frmSetupEnergy::EnableRunControls(bool enabled) {
    panels_->EnableRunControls(enabled);
    bin_size->setEnabled(enabled);
    bins_count->setEnabled(enabled);
    lblReminder->setVisible(!enabled);
}

void frmSetupEnergy::bins_count_Change() {
    if (panels_->Loading) return;
    Choices.BinsCount = int16_t(BinsAt(bins_count->value()));
    txt_bins->setText(BinsCaption(Choices.BinsCount));
}

void frmSetupEnergy::bin_size_Change() {
    if (panels_->Loading) return;
    Choices.InitialSize = InitialSizeAt(bin_size->value());
    txt_pulses->setText(InitialSizeCaption(Choices.InitialSize));
}

void frmSetupEnergy::Command2_Click() {
    panels_->TakePendingLimits();
    StoreChoices(Choices, panels_->LeftBar(), panels_->RightBar(), App().EnergyUnitFactors,
                 App().Config.Energy);
    emit applied();
    Unload();
    SaveConfiguration();
}

void frmSetupEnergy::Command1_Click() {
    Unload();
}

void frmSetupEnergy::reject() {
    Command1_Click();
}

void frmSetupEnergy::Unload() {
    if (lifecycle_.Hide(this)) emit unloaded();
}

void frmSetupEnergy::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (lifecycle_.LostFocus(this, event)) Command1_Click();
}

bool frmSetupEnergy::eventFilter(QObject* watched, QEvent* event) {
    panels_->FilterEvent(watched, event);
    return QDialog::eventFilter(watched, event);
}

frmSetupEnergy& SetupEnergy() {
    static frmSetupEnergy* dialog = new frmSetupEnergy;
    return *dialog;
}
