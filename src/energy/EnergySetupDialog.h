#pragma once

#include "energy/EnergySetupRules.h"
#include "energy/PulseSetupDialog.h"

#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QScrollBar;

// "Energy Histogram Setup": histogram limits, bins and initial height,
// storage rate, style and mode, time stamp, statistics and display. Not
// modal; it cancels itself when it loses the focus. OK writes
// CurrentSettings().Energy, emits applied() and saves kelvaro.cfg.
class EnergySetupDialog : public PulseSetupDialog {
    Q_OBJECT
public:
    EnergySetupDialog();

    // Fills the controls from CurrentSettings().Energy and shows the dialog (modeless).
    // runActive: the energy window has an initialised run (controls greyed out);
    // relativeUnits: rapid-pulse relative units (unit list "p","n","u","m"," ").
    void SetupEnergyHist(bool runActive, bool relativeUnits);

    // Controls, by the index the captions use (chkStat from 1).
    std::array<QScrollBar*, 2> histogram_limits{};
    std::array<QLineEdit*, 2> txt_energy{};
    QComboBox* cmbEnergyUnits = nullptr;
    QComboBox* cmbEnergyCoeff = nullptr;
    QScrollBar* bins_count = nullptr;
    QLabel* txt_bins = nullptr;
    QScrollBar* bin_size = nullptr;
    QLabel* txt_pulses = nullptr;
    QScrollBar* storage_rate = nullptr;
    QLabel* txtStorageRate = nullptr;
    std::array<QRadioButton*, 2> optStorageStyle{};
    std::array<QRadioButton*, 2> optStorageMode{};
    QCheckBox* chkTimeStamp = nullptr;
    std::array<QCheckBox*, 3> chkStat{};
    std::array<QRadioButton*, 2> optDisplayStyle{};

    // Dialog state.
    EnergyChoices Choices;

protected:
    void StoreChoices() override;

private:
    QWidget* BuildBins();
    QWidget* BuildDisplay();
    void bins_count_Change();
    void bin_size_Change();
};

EnergySetupDialog& SetupEnergy();  // the one instance
