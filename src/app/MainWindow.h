#pragma once

#include "app/ModeMenu.h"
#include "auxiliary/TerminalWindow.h"

#include <QMainWindow>
#include <array>

class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QTimer;

// The main window: a multiple-document frame that owns the menus, the
// status strip and the two timers, and starts one work mode at a time.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // Start-up: tables, configuration, port menu, initial state. False when
    // the configuration cannot be read and the program must end.
    bool MDIForm_Load();
    // Shows the window and tries to connect as soon as the event loop runs,
    // so that the user can end the program at any moment of connecting.
    void ShowAndConnect();
    // Disconnects (writing rs232.buf), closes every file, closes the window
    // and ends the event loop with status 0; once only. Asks nothing: the
    // callers leave the active mode first where the user may be asked.
    void Shutdown();
    // An end asked for from outside (a signal): the active mode's unsaved
    // data that is not in its working file goes to a recovery file, then
    // Shutdown, without any question or message.
    void EndFromOutside();
    bool IsShutDown() const { return shutDown_; }

    void mnuConnect_Click();
    void mnuConnect_Enable(bool enabled);
    void LogFileOnOff_Enable(bool enabled);
    void SetDataLogFile(bool on);
    void SetupInstrument();
    // After the connect or disconnect of the Connect item, or a return after
    // a loss: the meter identified, a cut run resumed, the port shown.
    void SetupAfterConnect();
    void mnuSetup_CommPortList_Click(int index);
    void ApplyModeMenu();    // the Mode menu from the model, heads and connection
    void ShowRunProgress();  // the status strip's run text (every second)

    QMdiArea* mdiArea() const { return mdi_; }
    QAction* action(const QString& name) const;  // by object name (mnuFile_Save, ...)

    QAction* mnuConnect = nullptr;
    QAction* mnuLogFile_On = nullptr;
    QAction* mnuLogFile_Off = nullptr;
    std::array<QAction*, 17> mnuSetup_CommPortList{};
    std::array<QAction*, ModeMenuItemCount> modeItems{};
    QLabel* Label1 = nullptr;
    QLabel* lblPort = nullptr;  // the connection, beside the clock
    QLabel* lblRun = nullptr;   // the run of the active logging window
    QTimer* Timer1 = nullptr;
    QTimer* Timer2 = nullptr;

    // The mode windows, created on first use inside the frame.
    TerminalWindow& TerminalChild();
    Mode& Terminal() { return terminalMode_; }

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void BuildMenus();
    void BuildStatusStrip();
    void InstallShellHooks();
    void ShowClock();
    void Timer1_Timer();    // the clock, and a lost port coming back
    void ShowConnection();  // the status strip's connection text
    void ShowPortItems();   // each port item's device and description as its tips
    QAction* Item(QMenu* menu, const char* name, const QString& caption);
    QMenu* SubMenu(QMenu* menu, const char* name, const QString& caption);

    QMdiArea* mdi_ = nullptr;
    std::array<QMenu*, ModeMenuItemCount> modeMenus_{};  // the submenus among the Mode items
    QWidget* AddChild(QWidget* w);

    TerminalWindow* terminal_ = nullptr;
    TerminalMode terminalMode_{[this]() -> TerminalWindow& { return TerminalChild(); }};
    bool shutDown_ = false;
};

// The frame of this run (null before it exists); dialogs use it as parent.
MainWindow* MainForm();
