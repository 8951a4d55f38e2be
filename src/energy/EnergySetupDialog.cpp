#include "energy/EnergySetupDialog.h"

#include "data/Units.h"
#include "state/AppState.h"
#include "state/Configuration.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QVBoxLayout>

EnergySetupDialog::EnergySetupDialog() : PulseSetupDialog("EnergySetupDialog", "Energy Histogram Setup") {
    BuildPanels(Choices, {"Histogram Limits",
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
    Arrange(BuildBins(), BuildDisplay());
}

QWidget* EnergySetupDialog::BuildBins() {
    auto* bins = new QGroupBox("Histogram Bins", this);
    auto* bl = new QVBoxLayout(bins);
    bins_count = AddCaptionedBar(bl, txt_bins, "txt_bins", kBinsBarMax, "bins_count");
    bin_size = AddCaptionedBar(bl, txt_pulses, "txt_pulses", kTableBarMax, "bin_size");
    connect(bins_count, &QScrollBar::valueChanged, this, [this] { bins_count_Change(); });
    connect(bin_size, &QScrollBar::valueChanged, this, [this] { bin_size_Change(); });
    return bins;
}

QWidget* EnergySetupDialog::BuildDisplay() {
    auto* display = new QGroupBox("Display", this);
    auto* dl = new QVBoxLayout(display);
    const char* const styles[] = {"Histogram", "Numeric"};
    AddSetupOptions(this, dl, optDisplayStyle, styles, "optDisplayStyle", [this](int i) {
        if (!panels_->Loading) Choices.DisplayStyle = int16_t(i);
    });
    dl->addStretch();
    return display;
}

void EnergySetupDialog::SetupEnergyHist(bool runActive, bool relativeUnits) {
    panels_->Loading = true;  // keeps the handlers from changing the choices
    Choices = ChoicesOf(CurrentSettings().Energy, UnitScale::EnergyFactors);
    const EnergyChoices& c = Choices;
    optDisplayStyle[c.DisplayStyle]->setChecked(true);
    SetBarQuietly(bins_count, BinsPosition(c.BinsCount));
    txt_bins->setText(BinsCaption(c.BinsCount));
    // A size outside the table leaves its bar where it was.
    if (const auto position = InitialSizePosition(c.InitialSize)) SetBarQuietly(bin_size, *position);
    txt_pulses->setText(InitialSizeCaption(c.InitialSize));
    panels_->ShowChoices(relativeUnits);
    // What shapes the stored data and the histogram waits for the energy window's Reset.
    bin_size->setEnabled(!runActive);
    bins_count->setEnabled(!runActive);
    ShowFilled(runActive);
}

void EnergySetupDialog::bins_count_Change() {
    if (panels_->Loading) return;
    Choices.BinsCount = int16_t(BinsAt(bins_count->value()));
    txt_bins->setText(BinsCaption(Choices.BinsCount));
}

void EnergySetupDialog::bin_size_Change() {
    if (panels_->Loading) return;
    Choices.InitialSize = InitialSizeAt(bin_size->value());
    txt_pulses->setText(InitialSizeCaption(Choices.InitialSize));
}

void EnergySetupDialog::StoreChoices() {
    ::StoreChoices(Choices, panels_->LeftBar(), panels_->RightBar(), UnitScale::EnergyFactors,
                   CurrentSettings().Energy);
}

EnergySetupDialog& SetupEnergy() {
    static EnergySetupDialog* dialog = new EnergySetupDialog;
    return *dialog;
}
