#include "app/CommandLine.h"
#include "app/MDIForm1.h"
#include "app/Program.h"

#include <QApplication>

int main(int argc, char** argv) {
    if (const auto status = ParseCommandLine(argc, argv)) return *status;  // --help, --version, bad options
    QApplication app(argc, argv);
    QApplication::setApplicationName("Kelvaro32");
    QApplication::setOrganizationDomain("kelvaro.example");
    QApplication::setDesktopFileName("com.kelvaro.Kelvaro32");

    MDIForm1 form;
    return RunProgram(form);
}
