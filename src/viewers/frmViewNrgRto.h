#pragma once

#include "viewers/NrgRtoViewData.h"
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

// "Energy Ratio": a dual-channel energy record as the scatter chart of the
// ratio against the channel A energy, in either direction, with the ratio
// statistics; energy and ratio limits edited and applied, the record saved
// again and printed.
class frmViewNrgRto : public QWidget, public StoredDataViewer {
    Q_OBJECT
public:
    explicit frmViewNrgRto(QWidget* parent = nullptr);

    void EnergyLoad(int step, const QString& text);
    void ShowEnergyData();
    void EnergyDataSave(const QString& fileName);
    void EnergyPrint();
    void ResetStatistics();
    // The controls from the applied limits.
    void SetupChart();

    void Load(int step, const QString& text) override { EnergyLoad(step, text); }
    void ShowData() override { ShowEnergyData(); }
    void DataSave(const QString& fileName) override { EnergyDataSave(fileName); }
    void Print() override { EnergyPrint(); }

    void butApply_Click();
    void butCancel_Click();

    NrgRtoViewData Data;

    platform::SurfaceWidget* Picture1;
    QPlainTextEdit* Text1;
    QComboBox* cmbRatioMode;
    std::array<QScrollBar*, 2> energy_limits{};
    std::array<QLineEdit*, 2> txt_energy{};
    QComboBox* cmbEnergyUnits;
    QComboBox* cmbEnergyCoeff;
    std::array<QScrollBar*, 2> ratio_limits{};
    std::array<QLineEdit*, 2> txt_ratio{};
    QScrollBar* graph_exp;
    QLineEdit* txt_exp;
    QPushButton* butApply;
    QPushButton* butCancel;
    QLabel* lblMinNrgRto;
    QLabel* lblMaxNrgRto;
    QLabel* lblAvrNrgRto;
    QLabel* lblStDevNrgRto;
    QLabel* lblTotalPulses;
    QLabel* lblPointsOverrange;
    QLabel* lblMissingPulses;

protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void BuildRatioLimits(QWidget* frame);
    void form_Resize();
    void ShowStatistics();
    void cmbRatioMode_Click();
    void ratio_limits_Change(int index);
    void Unload();

    EnergyLimitEditor* limits_;
};
