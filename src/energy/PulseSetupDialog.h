#pragma once

#include "auxiliary/SetupControls.h"
#include "auxiliary/SetupDialog.h"
#include "energy/EnergySetupPanels.h"

#include <QDialog>
#include <functional>

class PulseRun;
class QLabel;
class QPushButton;
struct RunButtons;

// The frame of the energy setups (histogram, energy ratio): the shared
// panels, the reminder with OK and Cancel, and the life of a modeless
// dialog that cancels itself when it loses the focus. OK takes what is
// still being typed, stores the choices, emits applied() and saves
// kelvaro.cfg; OK, Cancel and losing the focus unload it (unloaded()).
class PulseSetupDialog : public SetupDialog {
    Q_OBJECT
public:
protected:
    PulseSetupDialog(const char* name, const char* title);
    // The shared panels, editing `choices`.
    void BuildPanels(EnergyChoices& choices, const LimitNames& limitNames);
    // Three columns of frames: limits over `belowLimits`, storage rate over
    // storage mode, statistics over `belowStatistics`; then the buttons.
    void Arrange(QWidget* belowLimits, QWidget* belowStatistics);
    // Shows the dialog after the owner filled it; runActive greys out the panels' run controls.
    void ShowFilled(bool runActive);
    // OK's own part: the settings from the choices and the controls.
    virtual void StoreChoices() = 0;

    bool eventFilter(QObject* watched, QEvent* event) override;

    EnergySetupPanels* panels_ = nullptr;

private:
    void Command2_Click();
};

// A pulse-logging window's run buttons wired to its engine and setup dialog:
// Start/Stop; Reset, which reopens the dialog afterwards when it was open
// (`reset` gets whether to); Set&up (`openSetup`); OK lays the window out
// again (`relayout`).
void WireRunButtons(QWidget* window, const RunButtons& run, PulseRun& engine, PulseSetupDialog& setup,
                    const std::function<void(bool reopenSetup)>& reset,
                    const std::function<void()>& openSetup, const std::function<void()>& relayout);
