// The window program on a long power run, for scripts/soak: connects as at
// start, turns the Data Log File on, logs power for the given seconds, then
// stops, saves to the given file and exits. A message is printed and stays
// "up" for a while as a modal box would, its event loop running under it;
// the status strip is printed whenever its connection text changes.
//   soak_window SECONDS SAVED-FILE

#include "app/MainWindow.h"
#include "app/Program.h"
#include "data/FileCommand.h"
#include "link/MeterIdentity.h"
#include "platform/SilentPrompts.h"
#include "power/PowerWindow.h"
#include "state/AppState.h"
#include "state/Configuration.h"

#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QEventLoop>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <memory>

namespace {

void Say(const QString& text) {
    std::printf("%s %s\n", qPrintable(QDateTime::currentDateTime().toString("hh:mm:ss")),
                qPrintable(QString(text).replace('\n', ' ')));
}

struct Unattended : platform::SilentPrompts {
    void Message(const QString& text, const QString&, platform::Icon) override {
        Say("message: " + text);
        connectFailed = connectFailed || text == "Can not communicate with the instrument";
        // Nobody closes the box for a while; the program goes on under it.
        QEventLoop box;
        QTimer::singleShot(20000, &box, &QEventLoop::quit);
        box.exec();
    }
    std::optional<platform::FileDialogResult> SaveFile(const platform::FileDialogRequest&) override {
        return platform::FileDialogResult{saveAs, 1};
    }
    QString saveAs;
    bool connectFailed = false;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 1 << 12);
    if (argc != 3) {
        std::fprintf(stderr, "usage: soak_window SECONDS SAVED-FILE\n");
        return 2;
    }
    const double seconds = QString(argv[1]).toDouble();
    MainWindow form;
    Unattended person;
    person.saveAs = QString::fromLocal8Bit(argv[2]);
    platform::setPrompts(&person);
    QTimer user;
    QDateTime started;
    QString lastStatus;
    bool acting = false;
    QObject::connect(&user, &QTimer::timeout, [&] {
        // A person does one thing at a time: while an action of theirs waits
        // for the meter (in a nested event loop), the timer fires but nobody acts.
        if (acting) return;
        acting = true;
        const std::unique_ptr<bool, void (*)(bool*)> done(&acting, [](bool* b) { *b = false; });
        auto* power = form.findChild<PowerWindow*>("PowerWindow");
        if (form.lblPort->text() != lastStatus) Say("status: " + (lastStatus = form.lblPort->text()));
        if (started.isNull()) {
            if (person.connectFailed || (Meter().Connected && !form.action("mnuMode_Power")->isEnabled())) {
                person.connectFailed = false;
                if (Meter().Connected) form.mnuConnect_Click();
                form.mnuConnect_Click();
                return;
            }
            if (!Meter().Connected || !form.mnuConnect->isEnabled()) return;
            form.mnuLogFile_On->trigger();
            CurrentSettings().Power.LogTime = int32_t(seconds) + 3600;  // the run ends when the soak says
            form.action("mnuMode_Power")->trigger();
            if (App().ActiveMode != ModePower || !power) return;
            power->butStartStop->click();
            started = QDateTime::currentDateTime();
            Say("logging; working file " + WorkFiles().WorkFileName);
        } else if (started.msecsTo(QDateTime::currentDateTime()) >= qint64(seconds * 1000)) {
            user.stop();
            if (power->butStartStop->text() == "&Stop") power->butStartStop->click();
            FileCommand(FileSave);
            Say(QString("saved %1 readings to %2").arg(power->Engine.Readings).arg(person.saveAs));
            form.action("mnuFile_Exit")->trigger();
        }
    });
    user.start(100);
    return RunProgram(form);
}
