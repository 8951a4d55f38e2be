#pragma once

#include <QDialog>

class frmSetupEnergy : public QDialog {
    Q_OBJECT
public:
    explicit frmSetupEnergy(QWidget* parent = nullptr);
    // Fills the controls from App().Config.Energy and shows the dialog (modeless).
    // runActive: the energy window has an initialised run (controls greyed out);
    // relativeUnits: rapid-pulse relative units (unit list "p","n","u","m"," ").
    void SetupEnergyHist(bool runActive, bool relativeUnits);
    bool SetupOpen() const;  // shown during an active run (Reset reopens it)
signals:
    void applied();   // OK wrote the settings: the energy window lays itself out again
    void unloaded();  // closed by OK, Cancel or deactivation
};
frmSetupEnergy& SetupEnergy();  // the one instance
