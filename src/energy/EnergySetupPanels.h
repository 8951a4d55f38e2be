#pragma once

#include "auxiliary/SetupControls.h"
#include "energy/EnergySetupRules.h"

#include <QObject>
#include <array>
#include <functional>

class QCheckBox;
class QComboBox;
class QDialog;
class QEvent;
class QLabel;
class QLayout;
class QLineEdit;
class QRadioButton;
class QScrollBar;
class QWidget;

// The frames the energy setups share (the histogram setup and the energy
// ratio setup): energy limits with unit and scale under the 1000 J ceiling,
// the storage rate with its style, the storage mode with the time stamp,
// and the statistics. They edit the dialog's EnergyChoices; while Loading
// is set (the dialog fills its controls) their handlers do nothing.
class EnergySetupPanels : public QObject {
public:
    EnergySetupPanels(QDialog* dialog, EnergyChoices& choices, const LimitNames& limitNames);

    // Fills the unit list (relative units: bare prefixes) and shows the choices.
    void ShowChoices(bool relativeUnits);
    // Greys out (or enables) what shapes the stored data: limits and storage.
    void EnableRunControls(bool enabled);
    // OK: takes what is still being typed; the two limit bars to store.
    void TakePendingLimits();
    int LeftBar() const;
    int RightBar() const;
    // For the dialog's event filter: a limit box that lost the focus takes its text.
    void FilterEvent(QObject* watched, QEvent* event);

    QWidget* LimitsFrame = nullptr;
    QWidget* StorageRateFrame = nullptr;
    QWidget* StorageModeFrame = nullptr;
    QWidget* StatisticsFrame = nullptr;
    std::array<QScrollBar*, 2> LimitBars{};
    std::array<QLineEdit*, 2> LimitBoxes{};
    QComboBox* Units = nullptr;
    QComboBox* Scale = nullptr;
    QScrollBar* storage_rate = nullptr;
    QLabel* txtStorageRate = nullptr;
    std::array<QRadioButton*, 2> optStorageStyle{};
    std::array<QRadioButton*, 2> optStorageMode{};
    QCheckBox* chkTimeStamp = nullptr;
    std::array<QCheckBox*, 3> chkStat{};  // from 1
    bool Loading = false;

private:
    void BuildStorage(QDialog* dialog);
    void BuildStatistics(QDialog* dialog);
    void LimitBarMoved(int index);
    void UnitChosen();
    void ScaleChosen();
    void ShowStorageRate();
    void ShowLimitBars();

    EnergyChoices& choices_;
};

// Two option buttons of a frame; the handler gets the index of the one chosen.
void AddSetupOptions(QObject* owner, QLayout* layout, std::array<QRadioButton*, 2>& options,
                     const char* const captions[2], const char* name,
                     const std::function<void(int)>& handler);
// A caption above its bar (1 .. maximum), as the bins and storage-rate frames show them.
QScrollBar* AddCaptionedBar(QLayout* layout, QLabel*& caption, const char* captionName, int maximum,
                            const char* barName);
