// The main window on the in-memory meter, on the test clock.

#include "EndToEnd.h"
#include "auxiliary/InformationWindow.h"
#include "link/MeterIdentity.h"
#include "platform/Documents.h"
#include "sim/Meter.h"
#include "sim/SimSerialPort.h"
#include "state/Configuration.h"
#include "state/RecentFiles.h"
#include "support/FakeClock.h"
#include "support/ProgramState.h"
#include "support/Screenshot.h"
#include "viewers/Viewers.h"

#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QStatusBar>
#include <QTimer>

namespace {

// The main window started in an empty directory, on the in-memory meter.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        // COM3 and COM4 are the only ports there are, whatever this machine has.
        dir.Write("meter", "");
        dir.Write("meter4", "");
        dir.Write("kelvaro.ports", PortsFile({{3, dir.Path("meter")}, {4, dir.Path("meter4")}}));
        SetPause([this](double s) { clock.Advance(s); });
    }
    void TearDown() override {
        form.reset();
        platform::setSerialPort(nullptr);
        SetPause({});
        FreshProgramState();
    }

    // Start-up as main() does it, with every wait round 10 ms of fake time, on
    // a meter that never answers or the two-channel Meridel with a thermopile
    // on A and a pyroelectric head on B.
    void Start(bool silent = false) {
        sim::MeterConfig cfg;
        cfg.faults.silent = silent;
        cfg.model = sim::Model::MeridelTwo;
        cfg.heads[0] = {1, "30A-P", 123456, "W", false, {}, {}};
        cfg.heads[1] = {2, "PE25", 654321, "J", false, {}, {}};
        meter = std::make_unique<sim::Meter>(cfg);
        port = std::make_unique<sim::SimSerialPort>(*meter, [this](double s) { clock.Advance(s); });
        platform::setSerialPort(port.get());
        form = std::make_unique<MainWindow>();
        ASSERT_TRUE(form->MDIForm_Load());
        App().Shell.ProcessEvents = [this] {
            clock.Advance(0.01);
            port->Pump();
            Timer2_Timer();
        };
        form->Timer2->stop();  // the test drives the time-out watch itself
        form->ShowAndConnect();
        QCoreApplication::processEvents();  // the connect starts from the event loop
    }

    // Power logging started from `item`, with at least `readings` stored.
    PowerWindow* LogPower(const char* item, int readings) {
        form->action(item)->trigger();
        auto* w = form->findChild<PowerWindow*>("PowerWindow");
        if (!w || App().ActiveMode != ModePower) return nullptr;
        w->butStartStop->click();
        while (w->Engine.PointsOnShow() < readings && port->DeliverNext()) {
        }
        return w;
    }

    // The frame with menu `name` open under its title, saved as a picture.
    void ShootMenu(const char* name, const QString& picture) {
        form->resize(820, 560);
        form->show();
        QMenu* menu = form->menuBar()->findChild<QMenu*>(name);
        ASSERT_NE(menu, nullptr);
        const QPoint under(form->menuBar()->actionGeometry(menu->menuAction()).left(),
                           form->menuBar()->height());
        menu->popup(form->mapToGlobal(under));
        QImage shot = form->grab().toImage();
        QPainter(&shot).drawPixmap(under, menu->grab());
        const QString folder = qEnvironmentVariable("KELVARO_SCREENSHOTS", "screenshots");
        EXPECT_TRUE(QDir().mkpath(folder) && shot.save(QDir(folder).filePath(picture + ".png")));
        menu->hide();
    }

    // The menus as a user meets them: each shown item's caption, "-" before a
    // greyed one, "*" after a checked one, a submenu's items in brackets.
    static QString Menus(const QList<QAction*>& items) {
        QStringList shown;
        for (const QAction* a : items)
            if (a->isVisible() && !a->isSeparator())
                shown << (a->isEnabled() ? "" : "-") + a->text() + (a->isChecked() ? "*" : "") +
                             (a->menu() ? "(" + Menus(a->menu()->actions()) + ")" : "");
        return shown.join("; ");
    }

    FakeClock clock;
    ScriptedPrompts prompts;
    TempDir dir;
    std::unique_ptr<sim::Meter> meter;
    std::unique_ptr<sim::SimSerialPort> port;
    std::unique_ptr<MainWindow> form;
};

TEST_F(MainWindowTest, startsWithoutMeterThenSavesPortAndLogFileChoicesOnlyWhenTheyChange) {
    Start(true);
    EXPECT_EQ(form->windowTitle(), "Kelvaro32");
    EXPECT_TRUE(prompts.Texts().contains("Can not communicate with the instrument"));
    // Connect offered again, the TALON layout greyed, only the ports that exist
    // offered, and the first became the configured one.
    EXPECT_EQ(
        Menus(form->menuBar()->actions()),
        "&File(&Open...; Recent &files(); &Print; Printer set&up...; &Save...; E&xit); &Mode(-Real-time "
        "&Power logging; -Real-time &Energy logging; -Show &Device-File; Show P&C-File; -&Terminal); "
        "&Configuration(&Comm. Port...(COM3:; COM4:); Data Log &File...(O&N; O&FF*); C&onnect); "
        "&Information(&Settings; &Notes; &About Kelvaro32); &Help(User &Guide; &About Kelvaro32)");
    const auto& ports = form->mnuSetup_CommPortList;
    ASSERT_EQ(CurrentSettings().CommPort, 3);
    QFile::remove(dir.Path("kelvaro.cfg"));
    form->mnuSetup_CommPortList_Click(3);
    EXPECT_FALSE(QFile::exists(dir.Path("kelvaro.cfg"))) << "same port: file not rewritten";
    form->mnuSetup_CommPortList_Click(4);
    EXPECT_TRUE(QFile::exists(dir.Path("kelvaro.cfg")));
    EXPECT_TRUE(ports[4]->isChecked() && !ports[3]->isChecked());
    form->mnuLogFile_On->trigger();
    EXPECT_TRUE(form->mnuLogFile_On->isChecked() && !form->mnuLogFile_Off->isChecked());
    EXPECT_TRUE(dir.Read("kelvaro.cfg").contains("True          ' data log file"));
}

TEST_F(MainWindowTest, connectsIdentifiesAndLaysOutTheModeMenuAndFileOpenRunsTheOpenOfThePcFileView) {
    Start();
    ASSERT_TRUE(Meter().Connected) << prompts.Texts().join(" | ").toStdString();
    // The two-channel layout; ports are fixed while connected.
    EXPECT_EQ(
        Menus(form->menuBar()->actions()),
        "&File(&Open...; Recent &files(); &Print; Printer set&up...; &Save...; E&xit); &Mode(Real-time "
        "&Power logging...(Channel \"&A\"; Channel \"&B\"; -&Ratio; -&Difference); Real-time &Energy "
        "logging...(Channel \"&A\"; Channel \"&B\"; -&Ratio); -Real-time &Rapid Pulse logging...(-R&P "
        "Absolute Mode Channel \"A\"; -RP R&elative Mode Channel \"A\"; -RP &Absolute Mode Channel \"B\"; "
        "-RP Re&lative Mode Channel \"B\"); Show &Device-File; Show P&C-File; &Terminal); "
        "&Configuration(&Comm. Port...(-COM3:*; -COM4:); Data Log &File...(O&N; O&FF*); &Disconnect); "
        "&Information(&Settings; &Notes; &About Kelvaro32); &Help(User &Guide; &About Kelvaro32)");
    QAction* port3 = form->mnuSetup_CommPortList[3];

    // Screenshots: the Mode menu open over the frame, and the information window.
    ShootMenu("mnuMode", "main-window-mode-menu");
    InformationWindow info(form.get());
    EXPECT_TRUE(info.FramHead2->isVisibleTo(&info));
    EXPECT_EQ(info.LblDeviceType->text(), "Type: Meridel");
    EXPECT_FALSE(SaveScreenshot(&info, "information-two-channels").isEmpty());

    // File > Open and Mode > Show PC-File both run the open of the PC-file view.
    for (const char* item : {"mnuFile_Open", "mnuMode_Store"}) form->action(item)->trigger();
    ASSERT_EQ(prompts.fileRequests.size(), 2u);
    for (const auto& request : prompts.fileRequests) EXPECT_EQ(request.title, "Load data from file");
    EXPECT_EQ(App().ActiveMode, ModeNone) << "Cancel in the dialog leaves the view";

    // Disconnect: the caption comes back, the layout stays, everything but files disabled.
    form->mnuConnect_Click();
    const QAction* dual = form->action("mnuMode_DualPower");
    EXPECT_EQ(std::tuple(Meter().Connected, form->mnuConnect->text(), dual->isVisible(), dual->isEnabled(),
                         port3->isEnabled()),
              std::tuple(false, QString("C&onnect"), true, false, true));
}

// Channel B while channel A logs: Cancel at the reminder keeps everything
// as it was (no "CH B", the same mode, window and running run; Exit and
// closing the window are abandoned). Yes saves A's readings under A's head,
// then "CH B", then the channel-A window closes and power logging starts
// again, its "FP" sent before the window resets.
TEST_F(MainWindowTest, channelBWhileChannelALogsKeepsAllAtCancelAndSavesAUnderItsOwnHeadAtYes) {
    Start();
    // The power mode seen from outside: what the meter had last received
    // when the mode began (-1) and ended (1).
    struct : ModeObserver {
        void Began() override { calls << "-1: " + meter->CommandsReceived().last(); }
        void Ended() override { calls << "1: " + meter->CommandsReceived().last(); }
        QStringList calls;
        sim::Meter* meter;
    } watch;
    watch.meter = meter.get();
    form->findChild<PowerWindow*>("PowerWindow")->Engine.Attach(watch);
    PowerWindow* w = LogPower("mnuMode_DualPower_ChannelA", 3);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(form->mnuConnect->isEnabled()) << "Disconnect is offered while a mode runs";
    auto* frame = qobject_cast<QWidget*>(w->parent());
    frame->show();
    const auto selections = meter->CommandsReceived().count("CH B");  // of the identification
    for (const char* item : {"mnuMode_DualPower_ChannelB", "mnuFile_Exit", "close"}) {
        prompts.answers = {platform::Answer::Cancel};
        if (item == std::string("close"))
            frame->close();
        else
            form->action(item)->trigger();
        EXPECT_EQ(std::tuple(App().ActiveMode, Meter().CurrentChannel, w->Engine.NotSaved, w->Engine.Stopped),
                  std::tuple(ModePower, 0, true, false))
            << item;
        EXPECT_TRUE(frame->isVisible()) << item;
    }
    EXPECT_EQ(
        std::tuple(prompts.questions.size(), meter->CommandsReceived().count("CH B"), form->IsShutDown()),
        std::tuple(size_t(3), selections, false));

    prompts.yesNoAnswers = {true};
    prompts.fileAnswers = {dir.Path("a.pwr")};
    form->action("mnuMode_DualPower_ChannelB")->trigger();
    EXPECT_EQ(watch.calls, (QStringList{"-1: FP", "1: CH B", "-1: FP"}));
    EXPECT_EQ(std::pair(int(Meter().CurrentChannel), prompts.questions.size()), std::pair(1, size_t(4)));
    EXPECT_TRUE(
        dir.Read("a.pwr").startsWith("Power, in Watts \t Time, in Seconds \t Head: 30A-P; s/n123456\r\n"))
        << dir.Read("a.pwr").left(80).toStdString();
}

// The desktop's usual keys besides F2, the Help menu with the guide, the
// run in the status strip, and a saved file back through File > Recent
// files, loaded the way File > Open loads it.
TEST_F(MainWindowTest, helpMenuShortcutsRunInTheStatusStripAndRecentFiles) {
    Start();
    const std::pair<const char*, const char*> keys[] = {{"mnuFile_Open", "Ctrl+O"},
                                                        {"mnuFile_Save", "F2; Ctrl+S"},
                                                        {"mnuFile_Print", "Ctrl+P"},
                                                        {"mnuFile_Exit", "Ctrl+Q"},
                                                        {"mnuHelp_UserGuide", "F1"}};
    for (const auto& [item, key] : keys)
        EXPECT_EQ(QKeySequence::listToString(form->action(item)->shortcuts()), key) << item;
    QStringList opened;
    platform::setDocumentOpener([&](const QString& path) { return opened << path, true; });
    form->action("mnuHelp_UserGuide")->trigger();
    platform::setDocumentOpener({});
    EXPECT_TRUE(opened.size() == 1 && opened[0].endsWith("docs/user-guide.md"))
        << opened.join(' ').toStdString();

    ShootMenu("mnuHelp", "main-window-help-menu");

    PowerWindow* w = LogPower("mnuMode_DualPower_ChannelA", 5);
    ASSERT_NE(w, nullptr);
    form->ShowRunProgress();
    EXPECT_TRUE(form->lblRun->text().startsWith("Run 0:00:")) << form->lblRun->text().toStdString();
    EXPECT_TRUE(form->lblRun->text().contains(QString(" of 0:00:15, %1 readings").arg(w->Engine.Readings)));
    EXPECT_FALSE(SaveScreenshot(form.get(), "status-strip-run").isEmpty());
    const auto* icon = form->findChild<QLabel*>("Image1");
    EXPECT_TRUE(form->statusBar()->isAncestorOf(form->lblPort) &&
                icon->geometry().right() < form->lblPort->x())
        << "the icon, the port and the clock side by side in the strip";

    prompts.fileAnswers = {dir.Path("run.pwr")};
    form->action("mnuFile_Save")->trigger();
    EXPECT_TRUE(dir.Read("kelvaro.recent").contains("run.pwr")) << "beside kelvaro.cfg";

    const size_t asked = prompts.fileRequests.size();
    emit form->findChild<QMenu*>("mnuFile_Recent_menu")->aboutToShow();
    ASSERT_NE(form->action("mnuFile_Recent_1"), nullptr);
    EXPECT_EQ(form->action("mnuFile_Recent_1")->text(),
              "&1 run.pwr  (" + QDir::toNativeSeparators(dir.Path()) + ")");
    form->action("mnuFile_Recent_1")->trigger();
    EXPECT_EQ(std::pair(App().ActiveMode, App().ViewerKind), std::pair(int16_t(ModePcFile), int16_t(0)))
        << "loaded into the power viewer";
    EXPECT_EQ(prompts.fileRequests.size(), asked) << "no file dialog";
    form->ShowRunProgress();
    EXPECT_TRUE(form->lblRun->text().isEmpty());

    // A file that went away is said so and leaves the list.
    QFile::remove(dir.Path("run.pwr"));
    OpenRecentFile(Recent().files.first());
    EXPECT_TRUE(prompts.Texts().last().endsWith("run.pwr is no longer there."));
    EXPECT_TRUE(Recent().files.isEmpty());
    dir.Write("e.nrg", "Energy, in Joules \t Head: PE25\r\n0.001\r\n");
    OpenRecentFile(dir.Path("e.nrg"));
    EXPECT_EQ(App().ViewerKind, ViewEnergy) << "an energy file in the energy viewer";
}

}  // namespace
