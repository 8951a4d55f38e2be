#include "app/CommandLine.h"
#include "app/ControlServer.h"
#include "app/MainWindow.h"
#include "app/Program.h"
#include "platform/Console.h"
#include "platform/ControlListener.h"

#include <QApplication>
#include <optional>

int main(int argc, char** argv) {
    if (const auto status = RunCommand(argc, argv)) return *status;        // commands without a window
    if (const auto status = ParseCommandLine(argc, argv)) return *status;  // --help, --version, bad options
    QApplication app(argc, argv);
    QApplication::setApplicationName("Kelvaro32");
    QApplication::setOrganizationDomain("kelvaro.example");
    QApplication::setDesktopFileName("com.kelvaro.Kelvaro32");

    MainWindow form;
    std::optional<ControlServer> control;  // goes before the windows and their engines
    return RunProgram(form, [&control] {
        if (!ControlSocketAsked()) return true;
        QString error;
        if (control.emplace().Open(platform::ControlSocketPath(), error)) return true;
        platform::WriteStandardError(QStringLiteral("kelvaro32: ") + error + QLatin1Char('\n'));
        return false;
    });
}
