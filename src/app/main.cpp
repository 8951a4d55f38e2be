#include "app/CommandLine.h"
#include "app/MDIForm1.h"

#include <QApplication>

int main(int argc, char** argv) {
    if (const auto status = ParseCommandLine(argc, argv)) return *status;  // --help, --version, bad options
    QApplication app(argc, argv);
    QApplication::setApplicationName("Kelvaro32");
    QApplication::setOrganizationDomain("kelvaro.example");
    QApplication::setDesktopFileName("com.kelvaro.Kelvaro32");

    MDIForm1 form;
    if (!form.MDIForm_Load()) return 1;  // the configuration could not be read; the user was told
    form.ShowAndConnect();
    return app.exec();
}
