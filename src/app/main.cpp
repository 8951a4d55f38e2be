#include "app/CommandLine.h"
#include "app/MainWindow.h"
#include "app/Program.h"

#include <QApplication>

int main(int argc, char** argv) {
    if (const auto status = RunCommand(argc, argv)) return *status;        // commands without a window
    if (const auto status = ParseCommandLine(argc, argv)) return *status;  // --help, --version, bad options
    QApplication app(argc, argv);
    QApplication::setApplicationName("Kelvaro32");
    QApplication::setOrganizationDomain("kelvaro.example");
    QApplication::setDesktopFileName("com.kelvaro.Kelvaro32");

    MainWindow form;
    return RunProgram(form);
}
