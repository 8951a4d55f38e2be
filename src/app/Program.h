#pragma once

class MainWindow;

// The run of the program once the application object exists: start-up, the
// window, the connect, the event loop, and an orderly end when SIGTERM,
// SIGINT or SIGHUP asks for it. Returns the exit status.
int RunProgram(MainWindow& form);
