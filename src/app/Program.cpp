#include "app/Program.h"

#include "app/MainWindow.h"
#include "platform/EndSignals.h"

#include <QApplication>

int RunProgram(MainWindow& form, const std::function<bool()>& loaded) {
    platform::OnEndSignal([&form](int) { form.EndFromOutside(); });
    if (!form.MDIForm_Load()) return 1;  // the configuration could not be read; the user was told
    if (loaded && !loaded()) return 1;
    form.ShowAndConnect();
    // The user may have ended it already, while a start-up message was shown.
    return form.IsShutDown() ? 0 : QApplication::exec();
}
