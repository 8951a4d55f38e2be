#pragma once

#include <functional>

class MainWindow;

// The run of the program once the application object exists: start-up, the
// window, the connect, the event loop, and an orderly end when SIGTERM,
// SIGINT or SIGHUP asks for it. `loaded`, when given, runs once the window
// is loaded and before the connect; false ends the program with status 1.
// Returns the exit status.
int RunProgram(MainWindow& form, const std::function<bool()>& loaded = {});
