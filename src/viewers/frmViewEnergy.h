#pragma once

#include "viewers/EnergyViewData.h"
#include "viewers/StoredDataViewer.h"

#include <QWidget>
#include <array>

class EnergyLimitEditor;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;

namespace platform {
class SurfaceWidget;
}

// "Energy Data": single-channel energies loaded from a PC file or a meter
// log, as a histogram with statistics; the limits, unit, scale and number
// of bins are edited and applied, the data saved again and printed.
class frmViewEnergy : public QWidget, public StoredDataViewer {
    Q_OBJECT
public:
    explicit frmViewEnergy(QWidget* parent = nullptr);

    void EnergyLoad(int step, const QString& text);
    void ShowEnergyData();
    void EnergyDataSave(const QString& fileName);
    void EnergyPrint();
    void ResetStatistics();

    void Load(int step, const QString& text) override { EnergyLoad(step, text); }
    void ShowData() override { ShowEnergyData(); }
    void DataSave(const QString& fileName) override { EnergyDataSave(fileName); }
    void Print() override { EnergyPrint(); }

    void butApply_Click();
    void butCancel_Click();

    EnergyViewData Data;

    platform::SurfaceWidget* Picture1;
    QPlainTextEdit* Text1;
    std::array<QScrollBar*, 2> histogram_limits{};
    std::array<QLineEdit*, 2> txt_energy{};
    QComboBox* cmbEnergyUnits;
    QComboBox* cmbEnergyCoeff;
    QScrollBar* bins_count;
    QLabel* txt_bins;
    QPushButton* butApply;
    QPushButton* butCancel;
    QLabel* lblMinEnergy;
    QLabel* lblMaxEnergy;
    QLabel* lblAvrEnergy;
    QLabel* lblStDevEnergy;
    QLabel* lblTotalPulses;
    QLabel* lblPulsesOverrange;
    QLabel* lblMissingPulses;

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void BuildControls();
    void form_Resize();
    void ShowApplied();
    void ShowStatistics();
    void bins_count_Change();
    void Unload();

    EnergyLimitEditor* limits_;
};
