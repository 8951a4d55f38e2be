#pragma once

#include "auxiliary/SetupControls.h"
#include "energy/EnergySetupPanels.h"
#include "energy/EnergySetupRules.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;

// "Energy Histogram Setup": histogram limits, bins and initial height,
// storage rate, style and mode, time stamp, statistics and display. Not
// modal; it cancels itself when it loses the focus. OK writes
// App().Config.Energy, emits applied() and saves kelvaro.cfg.
class frmSetupEnergy : public QDialog {
    Q_OBJECT
public:
    explicit frmSetupEnergy(QWidget* parent = nullptr);

    // Fills the controls from App().Config.Energy and shows the dialog (modeless).
    // runActive: the energy window has an initialised run (controls greyed out);
    // relativeUnits: rapid-pulse relative units (unit list "p","n","u","m"," ").
    void SetupEnergyHist(bool runActive, bool relativeUnits);
    bool SetupOpen() const { return lifecycle_.Open(); }  // shown during an active run (Reset reopens it)

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
    QPushButton* Command2 = nullptr;  // OK
    QPushButton* Command1 = nullptr;  // Cancel
    QLabel* lblReminder = nullptr;

    // Dialog state.
    EnergyChoices Choices;

signals:
    void applied();   // OK wrote the settings: the energy window lays itself out again
    void unloaded();  // closed by OK, Cancel or deactivation

protected:
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;

private:
    void BuildControls();
    QWidget* BuildBins();
    void ShowChoices(bool relativeUnits);
    void EnableRunControls(bool enabled);
    void bins_count_Change();
    void bin_size_Change();
    void Command2_Click();
    void Command1_Click();
    void Unload();

    EnergySetupPanels* panels_ = nullptr;  // limits, storage, statistics
    SetupLifecycle lifecycle_;
};

frmSetupEnergy& SetupEnergy();  // the one instance
