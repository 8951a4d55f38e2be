// The program as its main() runs it, with one user's action played from the
// command line: "exit" (File > Exit) or "close" (the window's close) while
// the meter is being identified, "identifying" (only report it), or "log"
// (power logging started once connected; reported after 20 readings). What happened is printed.

#include "app/MDIForm1.h"
#include "app/Program.h"
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
}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString action = argc > 1 ? QString(argv[1]) : QString();
    MDIForm1 form;
    QTimer user;  // looks often enough to act inside the waits of connecting
    QObject::connect(&user, &QTimer::timeout, [&] {
        const bool connecting = !form.mnuConnect->isEnabled();
        if (App().Connected && connecting && action != "log") {
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
