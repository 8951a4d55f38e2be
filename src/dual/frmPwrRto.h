#pragma once

#include "power/frmPower.h"

class QMdiArea;

// "Real-Time Power Ratio Logging": the power window with the ratio profile,
// its controls under their own names.
class frmPwrRto : public frmPower {
    Q_OBJECT
public:
    explicit frmPwrRto(QWidget* parent = nullptr);

    void PwrRtoLog(int op, QString& reply) { PowerLog(op, reply); }
    void PwrRtoSave(const QString& fileName) { PowerSave(fileName); }
    void PwrRtoPrint() { PowerPrint(); }

    QLabel* const& lblRtoPwr = lblPower;
    QLabel* const& lblMinRtoPwr = lblMinPower;
    QLabel* const& lblMaxRtoPwr = lblMaxPower;
    QLabel* const& lblAvrRtoPwr = lblAvrPower;
    QLabel* const& lblStDevRtoPwr = lblStDevPower;
    QPushButton* const& butNormalize = butAdjust;
    QLabel* const& lblNorma = lblAdjust;
    QComboBox* const& cmbRatioMode = Directions;
};

// Creates the window in `area` (hidden until the mode is entered) and
// installs its entry point and file operations for ActiveMode 11.
frmPwrRto* InstallPwrRtoMode(QMdiArea* area);
