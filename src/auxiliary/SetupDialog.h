#pragma once

#include "auxiliary/SetupControls.h"

#include <QDialog>
#include <functional>

class QLabel;
class QLayout;
class QPushButton;

// A logging mode's setup dialog: not modal; OK, Cancel, Escape and losing
// the focus close it, and its window learns of both through the signals.
class SetupDialog : public QDialog {
    Q_OBJECT
public:
    // Shown during an active run (the window's Reset reopens it).
    bool SetupOpen() const { return lifecycle_.Open(); }

    QPushButton* Command2 = nullptr;  // OK
    QPushButton* Command1 = nullptr;  // Cancel
    QLabel* lblReminder = nullptr;    // shown while a run is initialised

signals:
    void applied();   // OK stored the settings: the window lays itself out again
    void unloaded();  // closed by OK, Cancel or deactivation

protected:
    using QDialog::QDialog;

    // The reminder and the OK and Cancel buttons; OK runs `ok`, Cancel closes.
    void MakeButtons(const std::function<void()>& ok);
    // The dialog's frames, with the reminder and the buttons in a row below.
    void ArrangeAboveButtons(QLayout* frames);
    // Shows the dialog after its owner filled the controls.
    void ShowDialog(bool runActive) { lifecycle_.Show(this, runActive); }
    // The end of OK, after the settings were stored: the window redraws,
    // the dialog closes and kelvaro.cfg is written.
    void FinishOk();
    void Unload();

    void changeEvent(QEvent* event) override;
    void reject() override;

private:
    SetupLifecycle lifecycle_;
};
