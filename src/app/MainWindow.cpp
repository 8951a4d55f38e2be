#include "app/MainWindow.h"

#include "app/DesktopMenus.h"
#include "app/ModeList.h"
#include "app/ModeSwitch.h"
#include "app/Recovery.h"
#include "app/RunStatus.h"
#include "auxiliary/AboutBox.h"
#include "auxiliary/InformationWindow.h"
#include "auxiliary/NotesWindow.h"
#include "auxiliary/Pictures.h"
#include "auxiliary/TerminalWindow.h"
#include "data/FileCommand.h"
#include "data/TimeBase.h"
#include "link/Link.h"
#include "link/MeterIdentity.h"
#include "platform/Clock.h"
#include "platform/FileStamp.h"
#include "platform/PortTable.h"
#include "platform/ProgramFolder.h"
#include "platform/Prompts.h"
#include "platform/SystemView.h"
#include "platform/WindowPlacement.h"
#include "state/AppState.h"
#include "state/Configuration.h"
#include "state/Files.h"
#include "state/RecentFiles.h"
#include "state/StateReset.h"
#include "viewers/Viewers.h"
#include "widgets/LinkWaitGuard.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QThread>
#include <QTimer>

namespace {
MainWindow* g_mainForm = nullptr;

const QString kConnectCaption = "C&onnect";
const QString kDisconnectCaption = "&Disconnect";
}  // namespace

MainWindow* MainForm() {
    return g_mainForm;
}

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    g_mainForm = this;
    setObjectName("MainWindow");
    setWindowTitle("Kelvaro32");
    setWindowIcon(ApplicationIcon());
    mdi_ = new QMdiArea(this);
    mdi_->setObjectName("mdiArea");
    setCentralWidget(mdi_);
    // A child larger than the main window scrolls instead of being cut off.
    platform::ScrollWhenNeeded(mdi_);
    BuildMenus();
    BuildStatusStrip();
    GuardInputDuringLinkWaits();

    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &MainWindow::Timer1_Timer);
    Timer2 = new QTimer(this);
    Timer2->setInterval(10);
    connect(Timer2, &QTimer::timeout, this, [] { Timer2_Timer(); });
    resize(900, 640);
}

MainWindow::~MainWindow() {
    if (g_mainForm == this) g_mainForm = nullptr;
    App().Shell = ShellHooks{};
}

QAction* MainWindow::Item(QMenu* menu, const char* name, const QString& caption) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(name);
    return a;
}

QMenu* MainWindow::SubMenu(QMenu* menu, const char* name, const QString& caption) {
    QMenu* sub = menu->addMenu(caption);
    sub->setObjectName(QString(name) + "_menu");
    sub->menuAction()->setObjectName(name);
    return sub;
}

QAction* MainWindow::action(const QString& name) const {
    return findChild<QAction*>(name);
}

void MainWindow::BuildMenus() {
    QMenu* file = menuBar()->addMenu("&File");
    file->setObjectName("mnuFile");
    Item(file, "mnuFile_Open", "&Open...")->setShortcut(QKeySequence::Open);
    BuildRecentFilesMenu(*this, *file);
    Item(file, "mnuFile_Print", "&Print")->setShortcut(QKeySequence::Print);
    Item(file, "mnuFile_PrintSetup", "Printer set&up...");
    QAction* save = Item(file, "mnuFile_Save", "&Save...");
    // F2 as ever, and the desktop's usual key besides.
    save->setShortcuts({QKeySequence(Qt::Key_F2), QKeySequence(QKeySequence::Save)});
    file->addSeparator();
    QAction* exitItem = Item(file, "mnuFile_Exit", "E&xit");
    exitItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    // Open shows a PC file, like "Show P&C-File", and is offered only with it.
    connect(action("mnuFile_Open"), &QAction::triggered, this, [] {
        if (Modes().Find(ModePcFile)) SwitchMode(ModePcFile);
    });
    connect(save, &QAction::triggered, this, [] { FileCommand(FileSave); });
    connect(action("mnuFile_Print"), &QAction::triggered, this, [] { FileCommand(FilePrint); });
    connect(action("mnuFile_PrintSetup"), &QAction::triggered, this, [] { FileCommand(FilePrinterSetup); });
    connect(exitItem, &QAction::triggered, this, [this] {
        // Cancel at the save reminder abandons the exit.
        if (SwitchMode(ModeNone)) Shutdown();
    });

    QMenu* mode = menuBar()->addMenu("&Mode");
    mode->setObjectName("mnuMode");
    auto item = [&](QMenu* m, ModeMenuItem i, const QString& caption) {
        modeItems[i] = Item(m, ModeMenuItemName(i), caption);
        connect(modeItems[i], &QAction::triggered, this, [i] { ModeMenuAction(i); });
    };
    auto sub = [&](ModeMenuItem i, const QString& caption) {
        modeMenus_[i] = SubMenu(mode, ModeMenuItemName(i), caption);
        modeItems[i] = modeMenus_[i]->menuAction();
        return modeMenus_[i];
    };
    QMenu* dualPower = sub(mnuMode_DualPower, "Real-time &Power logging...");
    item(dualPower, mnuMode_DualPower_ChannelA, "Channel \"&A\"");
    item(dualPower, mnuMode_DualPower_ChannelB, "Channel \"&B\"");
    item(dualPower, mnuMode_DualPower_Ratio, "&Ratio");
    item(dualPower, mnuMode_DualPower_Difference, "&Difference");
    item(mode, mnuMode_Power, "Real-time &Power logging");
    QMenu* dualEnergy = sub(mnuMode_DualEnergy, "Real-time &Energy logging...");
    item(dualEnergy, mnuMode_DualEnergy_ChannelA, "Channel \"&A\"");
    item(dualEnergy, mnuMode_DualEnergy_ChannelB, "Channel \"&B\"");
    item(dualEnergy, mnuMode_DualEnergy_Ratio, "&Ratio");
    item(mode, mnuMode_Energy, "Real-time &Energy logging");
    QMenu* rpDual = sub(mnuMode_RP_Dual, "Real-time &Rapid Pulse logging...");
    item(rpDual, mnuMode_RP_Absolute_A, "R&P Absolute Mode Channel \"A\"");
    item(rpDual, mnuMode_RP_Relative_A, "RP R&elative Mode Channel \"A\"");
    item(rpDual, mnuMode_RP_Absolute_B, "RP &Absolute Mode Channel \"B\"");
    item(rpDual, mnuMode_RP_Relative_B, "RP Re&lative Mode Channel \"B\"");
    QMenu* rp = sub(mnuMode_RP, "Real-time &Rapid Pulse logging");
    item(rp, mnuMode_RP_Absolute, "R&P Absolute Mode");
    item(rp, mnuMode_RP_Relative, "RP R&elative Mode");
    modeItems[mnuMode_Sep1] = mode->addSeparator();
    modeItems[mnuMode_Sep1]->setObjectName("mnuMode_Sep1");
    item(mode, mnuMode_Log, "Show &Device-File");
    item(mode, mnuMode_Store, "Show P&C-File");
    modeItems[mnuMode_Sep2] = mode->addSeparator();
    modeItems[mnuMode_Sep2]->setObjectName("mnuMode_Sep2");
    item(mode, mnuMode_Terminal, "&Terminal");

    QMenu* config = menuBar()->addMenu("&Configuration");
    config->setObjectName("mnuConfig");
    QMenu* ports = SubMenu(config, "mnuSetup_CommPort", "&Comm. Port...");
    ports->setToolTipsVisible(true);
    for (int n = 0; n <= 16; ++n) {
        QAction* a = Item(ports, "", "COM" + QString::number(n) + ":");
        a->setObjectName(QString("mnuSetup_CommPortList_%1").arg(n));
        a->setCheckable(true);
        a->setVisible(false);
        connect(a, &QAction::triggered, this, [this, n] { mnuSetup_CommPortList_Click(n); });
        mnuSetup_CommPortList[n] = a;
    }
    QMenu* logFile = SubMenu(config, "mnuLogFile", "Data Log &File...");
    mnuLogFile_On = Item(logFile, "mnuLogFile_On", "O&N");
    mnuLogFile_Off = Item(logFile, "mnuLogFile_Off", "O&FF");
    mnuLogFile_On->setCheckable(true);
    mnuLogFile_Off->setCheckable(true);
    connect(mnuLogFile_On, &QAction::triggered, this, [this] { SetDataLogFile(true); });
    connect(mnuLogFile_Off, &QAction::triggered, this, [this] { SetDataLogFile(false); });
    mnuConnect = Item(config, "mnuConnect", kConnectCaption);
    connect(mnuConnect, &QAction::triggered, this, &MainWindow::mnuConnect_Click);

    QMenu* info = menuBar()->addMenu("&Information");
    info->setObjectName("mnuInformation");
    connect(Item(info, "mnuSettings", "&Settings"), &QAction::triggered, this, [this] {
        InformationWindow dlg(this);
        dlg.exec();
    });
    connect(Item(info, "mnuInformation_Notes", "&Notes"), &QAction::triggered, this,
            [] { Notes().Activate(); });
    connect(Item(info, "mnuInformation_About", "&About Kelvaro32"), &QAction::triggered, this, [this] {
        AboutBox dlg(this);
        dlg.exec();
    });
    BuildHelpMenu(*this, *menuBar());
}

void MainWindow::BuildStatusStrip() {
    auto* Picture1 = new QWidget(this);
    Picture1->setObjectName("Picture1");
    auto* row = new QHBoxLayout(Picture1);
    row->setContentsMargins(4, 0, 4, 0);
    auto* Image1 = new QLabel(Picture1);
    Image1->setObjectName("Image1");
    Image1->setPixmap(ApplicationIcon().pixmap(16, 16));
    lblPort = new QLabel(Picture1);
    lblPort->setObjectName("lblPort");
    Label1 = new QLabel(Picture1);
    Label1->setObjectName("Label1");
    lblRun = new QLabel(this);
    lblRun->setObjectName("lblRun");
    statusBar()->addWidget(lblRun, 1);
    row->addWidget(Image1);
    row->addWidget(lblPort);
    row->addSpacing(12);
    row->addWidget(Label1);
    statusBar()->addPermanentWidget(Picture1);
}

void MainWindow::ShowClock() {
    Label1->setText(platform::clock().DateTimeText());
}

void MainWindow::ShowRunProgress() {
    const Mode* mode = Modes().Find(App().ActiveMode);
    const std::optional<RunProgress> progress = mode ? mode->Progress() : std::nullopt;
    lblRun->setText(progress ? RunStatusText(*progress) : QString());
}

void MainWindow::Timer1_Timer() {
    ShowClock();
    ShowRunProgress();
    if (WatchLostPort()) {
        // Back after a loss: identified as at a connect, and the run picks up.
        mnuConnect->setText(kDisconnectCaption);
        SetupAfterConnect();
    }
    ShowConnection();
}

void MainWindow::ShowConnection() {
    lblPort->setText(PortStatusText());
}

void MainWindow::ShowPortItems() {
    const platform::SystemView& system = platform::systemView();
    for (int n = 1; n <= 16; ++n) {
        const QString device = platform::portTable().Device(n);
        const QString description =
            mnuSetup_CommPortList[n]->isVisible() ? system.Description(device) : QString();
        mnuSetup_CommPortList[n]->setStatusTip(device);
        mnuSetup_CommPortList[n]->setToolTip(description.isEmpty() ? device
                                                                   : device + " (" + description + ")");
    }
}

void MainWindow::InstallShellHooks() {
    ShellHooks& h = App().Shell;
    h.SwitchMode = [](int16_t m) { SwitchMode(m); };
    h.ConnectEnable = [this](bool e) { mnuConnect_Enable(e); };
    h.LogFileOnOffEnable = [this](bool e) { LogFileOnOff_Enable(e); };
    h.SetDataLogFile = [this](bool on) { SetDataLogFile(on); };
    h.ConnectClick = [this] { mnuConnect_Click(); };
    h.CheckPort = [this](int16_t port) {
        for (int n = 0; n <= 16; ++n) mnuSetup_CommPortList[n]->setChecked(n == port);
    };
    h.ConnectionLost = [this] {
        mnuConnect->setText(kConnectCaption);
        for (int n = 1; n <= 16; ++n) mnuSetup_CommPortList[n]->setEnabled(true);
        ApplyModeMenu();
        ShowConnection();
    };
    // Waits sleep in the event loop until something happens; Timer2 wakes
    // them at least every 10 ms.
    h.ProcessEvents = [] { QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents); };
    h.ClearNotes = [] { Notes().ClearNotesBox(); };
    h.SaveFile = [] { FileCommand(FileSave); };
    RegisterModes(*this, mdi_);
}

QWidget* MainWindow::AddChild(QWidget* w) {
    QMdiSubWindow* sub = mdi_->addSubWindow(w);
    sub->setWindowIcon(windowIcon());
    sub->hide();
    platform::KeepInsideArea(sub);
    return sub;
}

TerminalWindow& MainWindow::TerminalChild() {
    if (!terminal_) {
        terminal_ = new TerminalWindow;
        AddChild(terminal_);
    }
    return *terminal_;
}

bool MainWindow::MDIForm_Load() {
    // 1. Name tables and every piece of state back to its start.
    ResetProgramState();
    InstallShellHooks();
    // 2. Where the files go, the configuration, then the ports that exist.
    SettleProgramFolders();
    platform::MakeProgramFolders();
    if (!LoadConfiguration()) return false;
    const std::array<bool, 17> exists = BuildPortMenu();
    for (int n = 1; n <= 16; ++n) mnuSetup_CommPortList[n]->setVisible(exists[n]);
    mnuSetup_CommPortList[0]->setVisible(false);
    ShowPortItems();
    // 3.-7. Initial state.
    SetDataLogFile(CurrentSettings().LogToFile);
    mnuConnect->setText(kConnectCaption);
    StartDayCount();
    ShowClock();
    ShowConnection();
    App().RapidPulseAbsolute = true;
    ApplyModeMenu();
    Timer1->start();
    Timer2->start();
    return true;
}

void MainWindow::ShowAndConnect() {
    platform::FitOnScreen(this);
    show();
    QTimer::singleShot(0, this, [this] {
        if (!shutDown_) mnuConnect_Click();
    });
}

void MainWindow::mnuConnect_Click() {
    mnuConnect->setEnabled(false);
    if (Meter().Connected) {
        // A run the user cut stops; it goes on at the next connect's Start.
        CutRun(false);
        Disconnect();
        mnuConnect->setText(kConnectCaption);
    } else {
        mnuConnect->setText(Connect() ? kDisconnectCaption : kConnectCaption);
    }
    SetupAfterConnect();
    mnuConnect->setEnabled(true);
}

void MainWindow::SetupAfterConnect() {
    SetBusyCursor(true);
    SetupInstrument();
    SetBusyCursor(false);
    ResumeAfterCut();
    ApplyModeMenu();  // the meter may have been identified again
    ShowPortItems();  // a connect after a loss may have reloaded the port table
    ShowConnection();
}

void MainWindow::mnuConnect_Enable(bool enabled) {
    mnuConnect->setEnabled(enabled);
}

void MainWindow::LogFileOnOff_Enable(bool enabled) {
    mnuLogFile_On->setEnabled(enabled);
    mnuLogFile_Off->setEnabled(enabled);
}

void MainWindow::SetDataLogFile(bool on) {
    mnuLogFile_On->setChecked(on);
    mnuLogFile_Off->setChecked(!on);
    if (CurrentSettings().LogToFile != on) {
        CurrentSettings().LogToFile = on;
        SaveConfiguration();
    }
}

void MainWindow::SetupInstrument() {
    IdentifyInstrument();
    for (int n = 1; n <= 16; ++n) mnuSetup_CommPortList[n]->setEnabled(!Meter().Connected);
    ApplyModeMenu();
}

void MainWindow::ApplyModeMenu() {
    const ModeMenuState s = ComputeModeMenu(Meter().DeviceType, Meter().Channels, Meter().Connected);
    for (int i = 0; i < ModeMenuItemCount; ++i) {
        const auto item = static_cast<ModeMenuItem>(i);
        bool enabled = s[i].enabled;
        // A mode whose window is not part of this build stays unreachable.
        const int16_t mode = ModeOfItem(item);
        if (mode != ModeNone && !Modes().Find(mode)) enabled = false;
        modeItems[i]->setVisible(s[i].visible);
        if (!modeMenus_[i]) modeItems[i]->setEnabled(enabled);
    }
    // A submenu is enabled when the table enables it and one of its items is usable.
    for (int i = 0; i < ModeMenuItemCount; ++i) {
        if (!modeMenus_[i]) continue;
        bool any = false;
        for (QAction* a : modeMenus_[i]->actions()) any = any || a->isEnabled();
        modeItems[i]->setEnabled(s[i].enabled && any);
    }
    action("mnuFile_Open")->setEnabled(modeItems[mnuMode_Store]->isEnabled());
    action("mnuFile_Recent")->setEnabled(modeItems[mnuMode_Store]->isEnabled());
}

void MainWindow::mnuSetup_CommPortList_Click(int index) {
    const int16_t current = CurrentSettings().CommPort;
    if (index == current) {
        mnuSetup_CommPortList[index]->setChecked(true);
        return;
    }
    if (current >= 0 && current <= 16) mnuSetup_CommPortList[current]->setChecked(false);
    CurrentSettings().CommPort = static_cast<int16_t>(index);
    mnuSetup_CommPortList[index]->setChecked(true);
    SaveConfiguration();
}

void MainWindow::closeEvent(QCloseEvent* e) {
    if (!shutDown_) {
        // Leaving the mode first asks about unsaved data before anything closes;
        // Cancel there keeps the program running.
        if (!SwitchMode(ModeNone)) return e->ignore();
        Shutdown();
    }
    e->accept();
}

void MainWindow::Shutdown() {
    if (shutDown_) return;
    shutDown_ = true;
    Timer1->stop();
    Timer2->stop();
    // A wait still running (identification, a mode start) ends with the connection.
    Disconnect();
    CloseAllFiles();
    close();
    // Ending on the last window's close is not to be relied on inside nested
    // waits: the loop is told itself. Without a running loop there is none to
    // end; RunProgram then returns on IsShutDown.
    if (QThread::currentThread()->loopLevel() > 0) QCoreApplication::exit(0);
}

void MainWindow::EndFromOutside() {
    if (shutDown_) return;
    const Unattended quiet;
    SaveRecoveryFile(platform::FileStamp());
    Shutdown();
}
