#pragma once

#include "power/PowerEngine.h"

#include <QWidget>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class PowerSetupDialog;

namespace widgets {
class SurfaceWidget;
}

// One variant of the power window: the engine's profile, the names of the
// controls, and the setup dialog behind its Setup button.
struct PowerWindowProfile {
    const PowerProfile* Engine;
    const char* Name;
    std::array<const char*, 5> Labels;  // read-out, Min, Max, Average, St.Dev.
    bool LimitsWarning;                 // chkLimitsOn
    // Two channels: the direction list and the adjustment button and label
    // (null for one channel).
    const char* Directions;
    const char* AdjustButton;
    const char* AdjustLabel;
    PowerSetupDialog& (*Setup)();
};
extern const PowerWindowProfile kPowerWindow;

// "Real-Time Power Logging" (and the ratio and difference windows): the
// read-out, the statistics, the strip chart and the run's buttons. The
// engine does the work; this window mirrors its display fields and draws
// each new point into the chart's image.
class PowerWindow : public QWidget, private ModeObserver {
    Q_OBJECT
public:
    explicit PowerWindow(QWidget* parent = nullptr) : PowerWindow(kPowerWindow, parent) {}
    explicit PowerWindow(const PowerWindowProfile& profile, QWidget* parent = nullptr)
        : PowerWindow(profile, nullptr, parent) {}
    // A window on a running engine of the profile's kind; null: one of its own.
    PowerWindow(const PowerWindowProfile& profile, PowerEngine* engine, QWidget* parent = nullptr);
    ~PowerWindow() override;

    // op -1 enter power mode, 0 one reply, 1 leave power mode (the engine's
    // mode operations).
    void PowerLog(int op, QString& reply);
    void PowerSave(const QString& fileName) { Engine.PowerSave(fileName); }
    void PowerPrint() { Engine.PowerPrint(); }
    void PauseGraph(bool pause) { Engine.PauseGraph(pause); }
    // Lays the controls out and draws the chart afresh.
    void form_Resize();

private:
    std::unique_ptr<PowerEngine> ownEngine_;

public:
    PowerEngine& Engine;

    QLabel* lblPower;
    QLabel* lblMinPower;
    QLabel* lblMaxPower;
    QLabel* lblAvrPower;
    QLabel* lblStDevPower;
    QPushButton* butStartStop;
    QPushButton* butReset;
    QPushButton* butSetup;
    QCheckBox* chkAutoRescale;
    QCheckBox* chkAutoScale;  // the range follows the data during the run
    QCheckBox* chkLimitsOn = nullptr;
    widgets::SurfaceWidget* Picture1;
    QComboBox* Directions = nullptr;   // cmbRatioMode / cmbDifferenceMode
    QPushButton* butAdjust = nullptr;  // butNormalize / butOffset
    QLabel* lblAdjust = nullptr;       // lblNorma / lblOffset

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    // Every entry starts like a newly loaded window: both boxes cleared.
    void Began() override;
    void Ended() override;
    void BuildControls();
    // Shows the display it is given and keeps it for the next layout.
    void ShowDisplay(const PowerDisplay& display);
    void butReset_MouseDown();
    void butReset_Click();
    void butSetup_Click();
    void Directions_Click();

    const PowerWindowProfile* profile_;
    PowerDisplay shown_;

    bool setupWasOpen_ = false;
    bool leaving_ = false;
};
