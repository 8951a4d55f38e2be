#pragma once

#include "power/PowerEngine.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QPushButton;

namespace platform {
class SurfaceWidget;
}

// "Real-Time Power Logging": the read-out, the statistics, the strip chart
// and the run's buttons. The engine does the work; this window mirrors its
// display fields and draws each new point into the chart's image.
class frmPower : public QWidget {
    Q_OBJECT
public:
    explicit frmPower(QWidget* parent = nullptr);

    // op -1 enter power mode, 0 one reply, 1 leave power mode.
    void PowerLog(int op, QString& reply);
    void PowerSave(const QString& fileName) { Engine.PowerSave(fileName); }
    void PowerPrint() { Engine.PowerPrint(); }
    void PauseGraph(bool pause) { Engine.PauseGraph(pause); }
    // Lays the controls out and draws the chart afresh.
    void form_Resize();

    PowerEngine Engine;

    QLabel* lblPower;
    QLabel* lblMinPower;
    QLabel* lblMaxPower;
    QLabel* lblAvrPower;
    QLabel* lblStDevPower;
    QPushButton* butStartStop;
    QPushButton* butReset;
    QPushButton* butSetup;
    QCheckBox* chkAutoRescale;
    QCheckBox* chkLimitsOn;
    platform::SurfaceWidget* Picture1;

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void BuildControls();
    void Form_Load();
    void ShowDisplay();
    void AddPoint();
    void butReset_MouseDown();
    void butReset_Click();
    void butSetup_Click();

    bool setupWasOpen_ = false;
    bool leaving_ = false;
};
