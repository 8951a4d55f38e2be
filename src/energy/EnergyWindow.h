#pragma once

#include "energy/EnergyEngine.h"

#include "widgets/LogWindowParts.h"

#include <QWidget>
#include <memory>

class QLabel;
class QPushButton;
class QVBoxLayout;

namespace widgets {
class SurfaceWidget;
}

// "Real-Time Energy Logging" (and the rapid-pulse titles): the read-out,
// the READY indicator, the statistics, the histogram and the run's buttons.
// The engine does the work; this window shows the display record it is
// handed and draws each pulse's bar into the histogram's image.
class EnergyWindow : public QWidget, private ModeObserver {
    Q_OBJECT
public:
    // A window on a running engine; null: one of its own.
    explicit EnergyWindow(QWidget* parent = nullptr, EnergyEngine* engine = nullptr);
    ~EnergyWindow() override;

    void StartEnergy() { Engine.StartEnergy(); }
    // -1 reset and show, 0 one reply, 1 leave the mode.
    void EnergyLog(int action, QString& reply);
    void EnergySave(const QString& fileName) { Engine.EnergySave(fileName); }
    void EnergyPrint() { Engine.EnergyPrint(); }
    // Lays the controls out for the display style and draws the histogram afresh.
    void form_Resize();

private:
    std::unique_ptr<EnergyEngine> ownEngine_;

public:
    EnergyEngine& Engine;

    QLabel* lblEnergy;
    QLabel* lblReady;
    QLabel* lblMinEnergy;
    QLabel* lblMaxEnergy;
    QLabel* lblAvrEnergy;
    QLabel* lblStDevEnergy;
    QLabel* lblPulsesEnergy;
    QLabel* lblPulsesOverranged;
    QPushButton* butStartStop;
    QPushButton* butReset;
    QPushButton* butSetup;
    widgets::SurfaceWidget* Picture1;

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void Ended() override;  // the mode was left: the window goes
    void BuildControls();
    void ShowDisplay(const EnergyDisplay& d);
    void butSetup_Click();

    QVBoxLayout* layout_ = nullptr;
    bool leaving_ = false;
};
