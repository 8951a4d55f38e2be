#pragma once

#include "power/PowerWindow.h"

class QMdiArea;

// "Real-Time Power Difference Logging": the power window with the
// difference profile, its controls under their own names.
class PowerDifferenceWindow : public PowerWindow {
    Q_OBJECT
public:
    explicit PowerDifferenceWindow(QWidget* parent = nullptr);

    void PowerDifferenceLog(int op, QString& reply) { PowerLog(op, reply); }
    void PowerDifferenceSave(const QString& fileName) { PowerSave(fileName); }
    void PowerDifferencePrint() { PowerPrint(); }

    QLabel* const& lblPowerDifference = lblPower;
    QLabel* const& lblMinPowerDifference = lblMinPower;
    QLabel* const& lblMaxPowerDifference = lblMaxPower;
    QLabel* const& lblAvrPowerDifference = lblAvrPower;
    QLabel* const& lblStDevPowerDifference = lblStDevPower;
    QPushButton* const& butOffset = butAdjust;
    QLabel* const& lblOffset = lblAdjust;
    QComboBox* const& cmbDifferenceMode = Directions;
};

// Creates the window in `area` (hidden until the mode is entered) and
// installs its entry point and file operations for ActiveMode 12.
PowerDifferenceWindow* InstallPowerDifferenceMode(QMdiArea* area);
