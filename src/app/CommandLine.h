#pragma once

#include <QStringList>
#include <optional>

// Runs a command that needs no window (`kelvaro32 stability ...`,
// `kelvaro32 log ...`) with a core application of its own; nothing when the
// first argument names none.
std::optional<int> RunCommand(int argc, char** argv);

// Reads the program's command line (--help, --version, --port PATH, --control).
// --port makes PATH the device of the configured COM port for this run.
// Returns the exit status when the program should end at once: 0 after
// --help or --version (printed on stdout), 2 after a bad option (the
// message goes to stderr); nothing when it should start.
std::optional<int> ParseCommandLine(const QStringList& arguments);
// The same for main's arguments; needs no application object (and so no
// display), so --help works anywhere.
std::optional<int> ParseCommandLine(int argc, char** argv);

// --control was given: the program opens its control socket.
bool ControlSocketAsked();
