#pragma once

#include "dual/EnergyRatioSetupRules.h"
#include "energy/PulseSetupDialog.h"
#include "state/Configuration.h"

#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;

// "Energy Ratio Setup": energy limits, ratio limits with their exponent,
// grid style, display style, statistics, storage rate and mode, time stamp.
// Not modal; it cancels itself when it loses the focus. OK writes
// CurrentSettings().EnergyRatio, emits applied() and saves kelvaro.cfg.
class EnergyRatioSetupDialog : public PulseSetupDialog {
    Q_OBJECT
public:
    EnergyRatioSetupDialog();

    // Fills the controls from the settings and shows the dialog (modeless);
    // runActive: the energy ratio window has an initialised run (greyed out).
    void SetupEnergyRatio(bool runActive);

    std::array<QScrollBar*, 2> energy_limits{};
    std::array<QLineEdit*, 2> txt_energy{};
    QComboBox* cmbEnergyUnits = nullptr;
    QComboBox* cmbEnergyCoeff = nullptr;
    std::array<QScrollBar*, 2> ratio_limits{};
    std::array<QLineEdit*, 2> txt_ratio{};
    QScrollBar* ratio_exp = nullptr;
    QLineEdit* txt_exp = nullptr;
    std::array<QCheckBox*, 3> Check2{};              // from 1
    std::array<QRadioButton*, 3> optDisplayStyle{};  // from 1
    QScrollBar* storage_rate = nullptr;
    std::array<QRadioButton*, 2> optStorageStyle{};
    std::array<QRadioButton*, 2> optStorageMode{};
    QCheckBox* chkTimeStamp = nullptr;
    std::array<QCheckBox*, 3> chkStat{};

    EnergyRatioChoices Choices;

protected:
    void StoreChoices() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* BuildRatioLimits();
    QWidget* BuildGridAndDisplay();
    void ShowRatioBars();
};

EnergyRatioSetupDialog& SetupEnergyRatio();  // the one instance
