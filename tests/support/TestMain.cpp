#include <gtest/gtest.h>
#include <QApplication>
#include <QDir>

// Widgets need an application object; tests run headless.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Tests change the current directory; pictures go to one fixed folder.
    if (qEnvironmentVariableIsEmpty("KELVARO_SCREENSHOTS"))
        qputenv("KELVARO_SCREENSHOTS", QDir::current().absoluteFilePath("screenshots").toUtf8());
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
