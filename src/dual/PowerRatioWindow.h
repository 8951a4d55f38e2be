#pragma once

#include "power/PowerWindow.h"

class QMdiArea;

// "Real-Time Power Ratio Logging": the power window with the ratio profile,
// its controls under their own names.
class PowerRatioWindow : public PowerWindow {
    Q_OBJECT
public:
    explicit PowerRatioWindow(QWidget* parent = nullptr);

    void PowerRatioLog(int op, QString& reply) { PowerLog(op, reply); }
    void PowerRatioSave(const QString& fileName) { PowerSave(fileName); }
    void PowerRatioPrint() { PowerPrint(); }

    QLabel* const& lblRatioPower = lblPower;
    QLabel* const& lblMinRatioPower = lblMinPower;
    QLabel* const& lblMaxRatioPower = lblMaxPower;
    QLabel* const& lblAvrRatioPower = lblAvrPower;
    QLabel* const& lblStDevRatioPower = lblStDevPower;
    QPushButton* const& butNormalize = butAdjust;
    QLabel* const& lblNorma = lblAdjust;
    QComboBox* const& cmbRatioMode = Directions;
};

// Creates the window in `area` (hidden until the mode is entered) and
// installs its entry point and file operations for ActiveMode 11.
PowerRatioWindow* InstallPowerRatioMode(QMdiArea* area);
