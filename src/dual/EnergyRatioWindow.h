#pragma once

#include "dual/EnergyRatioEngine.h"

#include "widgets/LogWindowParts.h"

#include <QWidget>
#include <memory>

class QComboBox;
class QLabel;
class QPushButton;
class QVBoxLayout;

namespace widgets {
class SurfaceWidget;
}

// "Real-Time Energy Ratio Logging": the ratio read-out, the normalisation,
// the ratio direction, the statistics, the scatter chart and the run's
// buttons. The engine does the work; this window shows the display record
// it is handed and draws each pair's point into the chart's image.
class EnergyRatioWindow : public QWidget, private ModeObserver {
    Q_OBJECT
public:
    // A window on a running engine; null: one of its own.
    explicit EnergyRatioWindow(QWidget* parent = nullptr, EnergyRatioEngine* engine = nullptr);
    ~EnergyRatioWindow() override;

    // -1 reset and show, 0 one reply, 1 leave the mode.
    void EnergyRatioLog(int action, QString& reply);
    void EnergyRatioSave(const QString& fileName) { Engine.EnergyRatioSave(fileName); }
    void EnergyRatioPrint() { Engine.EnergyRatioPrint(); }
    // Lays the controls out for the display style and draws the chart afresh.
    void form_Resize();

private:
    std::unique_ptr<EnergyRatioEngine> ownEngine_;

public:
    EnergyRatioEngine& Engine;

    QLabel* lblEnergyRatio;
    QLabel* lblNorma;
    QLabel* lblMinRatioPower;
    QLabel* lblMaxRatioPower;
    QLabel* lblAvrRatioPower;
    QLabel* lblStDevRatioPower;
    QComboBox* cmbRatioMode;
    QPushButton* butNormalize;
    QPushButton* butStartStop;
    QPushButton* butReset;
    QPushButton* butSetup;
    widgets::SurfaceWidget* Picture1;

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void Ended() override;  // the mode was left: the window goes
    void BuildControls();
    void ShowDisplay(const EnergyRatioDisplay& d);
    void butSetup_Click();

    QVBoxLayout* layout_ = nullptr;
    bool leaving_ = false;
};
