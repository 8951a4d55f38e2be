// The program as its main() runs it, with a user who reports "identifying"
// (the meter being identified) or, for "log", "logging" (power logging holds
// 20 readings), then for "-exit" chooses File > Exit, for "-close" closes the
// window. Questions are printed and answered No.

#include "app/MainWindow.h"
#include "app/Program.h"
#include "link/MeterIdentity.h"
#include "platform/SilentPrompts.h"
#include "power/PowerWindow.h"
#include "state/AppState.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

namespace {
// A failed connect (a busy machine can keep the meter's answer past the
// probe's 20 ms) is noted, and the user tries again.
struct User : platform::SilentPrompts {
    void Message(const QString& text, const QString&, platform::Icon) override {
        connectFailed = connectFailed || text == "Can not communicate with the instrument";
    }
    bool AskYesNo(const QString& text, const QString&, platform::Icon) override {
        std::printf("asked: %s (%s)\n", qPrintable(text), Meter().Connected ? "connected" : "port closed");
        return false;
    }
    bool connectFailed = false;
};
}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const QString action = argc > 1 ? QString(argv[1]) : QString();
    const bool logs = action.startsWith("log");
    MainWindow form;
    User person;
    platform::setPrompts(&person);
    QTimer user;  // looks often enough to act inside the waits of connecting
    auto endAfter = [&](const char* seen) {
        user.stop();
        std::printf("%s\n", seen);
        if (action.endsWith("-exit")) form.action("mnuFile_Exit")->trigger();
        if (action.endsWith("-close")) form.close();
    };
    QObject::connect(&user, &QTimer::timeout, [&] {
        const bool connecting = !form.mnuConnect->isEnabled();
        auto* power = form.findChild<PowerWindow*>("PowerWindow");
        if (person.connectFailed) {
            person.connectFailed = false;
            // Outside this handler, so that it looks again inside that connect.
            QTimer::singleShot(0, &form, &MainWindow::mnuConnect_Click);
        } else if (Meter().Connected && connecting && !logs) {
            endAfter("identifying");
        } else if (Meter().Connected && !connecting && logs && App().ActiveMode == ModeNone) {
            if (!form.action("mnuMode_Power")->isEnabled()) {
                // A reply too late for identification left the head unseen: connect anew.
                form.mnuConnect_Click();
                QTimer::singleShot(0, &form, &MainWindow::mnuConnect_Click);
                return;
            }
            form.action("mnuMode_Power")->trigger();
            if (App().ActiveMode == ModePower) power->butStartStop->click();
        } else if (App().ActiveMode == ModePower && power->Engine.PointsOnShow() >= 20) {
            endAfter("logging");
        }
    });
    user.start(1);
    return RunProgram(form);
}
