#include "app/MDIForm1.h"
#include "app/Program.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Kelvaro32");
    QApplication::setOrganizationDomain("kelvaro.example");
    QApplication::setDesktopFileName("com.kelvaro.Kelvaro32");

    MDIForm1 form;
    return RunProgram(form);
}
