#pragma once

#include "power/frmPower.h"

class QMdiArea;

// "Real-Time Power Difference Logging": the power window with the
// difference profile, its controls under their own names.
class frmPwrDiff : public frmPower {
    Q_OBJECT
public:
    explicit frmPwrDiff(QWidget* parent = nullptr);

    void PwrDiffLog(int op, QString& reply) { PowerLog(op, reply); }
    void PwrDiffSave(const QString& fileName) { PowerSave(fileName); }
    void PwrDiffPrint() { PowerPrint(); }

    QLabel* const& lblPwrDiff = lblPower;
    QLabel* const& lblMinPwrDiff = lblMinPower;
    QLabel* const& lblMaxPwrDiff = lblMaxPower;
    QLabel* const& lblAvrPwrDiff = lblAvrPower;
    QLabel* const& lblStDevPwrDiff = lblStDevPower;
    QPushButton* const& butOffset = butAdjust;
    QLabel* const& lblOffset = lblAdjust;
    QComboBox* const& cmbDifferMode = Directions;
};

// Creates the window in `area` (hidden until the mode is entered) and
// installs its entry point and file operations for ActiveMode 12.
frmPwrDiff* InstallPwrDiffMode(QMdiArea* area);
