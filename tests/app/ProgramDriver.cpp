// The program as its main() runs it, with one user's action played from the
// command line: "exit" (File > Exit) or "close" (the window's close) while
// the meter is being identified, "identifying" (only report it), or "log"
// (power logging started once connected; reported after 20 readings). What happened is printed.

#include "app/MDIForm1.h"
#include "app/Program.h"
#include "platform/SilentPrompts.h"
#include "power/frmPower.h"
#include "state/AppState.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

namespace {
void Report(const char* what) {
    std::printf("%s\n", what);
    std::fflush(stdout);
}

// Messages go unseen; a failed connect (a busy machine can keep the meter's
// first answer past the probe's 20 ms) is noted, and the user tries again.
struct User : platform::SilentPrompts {
    void Message(const QString& text, const QString&, platform::Icon) override {
        connectFailed = connectFailed || text == "Can not communicate with the instrument";
    }
    bool connectFailed = false;
};
}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString action = argc > 1 ? QString(argv[1]) : QString();
    MDIForm1 form;
    User person;
    platform::setPrompts(&person);
    QTimer user;  // looks often enough to act inside the waits of connecting
    QObject::connect(&user, &QTimer::timeout, [&] {
        const bool connecting = !form.mnuConnect->isEnabled();
        if (person.connectFailed) {
            person.connectFailed = false;
            // Outside this handler, so that it looks again inside that connect.
            QTimer::singleShot(0, &form, &MDIForm1::mnuConnect_Click);
        } else if (App().Connected && connecting && action != "log") {
            user.stop();
            Report("identifying");
            if (action == "exit") form.action("mnuFile_Exit")->trigger();
            if (action == "close") form.close();
        } else if (App().Connected && !connecting && action == "log" && App().ActiveMode == ModeNone) {
            form.action("mnuMode_Power")->trigger();
            form.findChild<frmPower*>("frmPower")->butStartStop->click();
        } else if (App().ActiveMode == ModePower &&
                   form.findChild<frmPower*>("frmPower")->Engine.PointsOnShow() >= 20) {
            user.stop();
            Report("logging");
        }
    });
    user.start(1);
    return RunProgram(form);
}
