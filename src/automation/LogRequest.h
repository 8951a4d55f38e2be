#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <variant>

// A mode of `kelvaro32 log --mode`, by its command-line name.
struct ModeName {
    const char* name;
    int16_t code;      // ActiveMode
    bool twoChannels;  // the two channels combined: no --channel
    bool pulses;       // an energy file: --time-stamps applies
};

// What a run without a window is asked to do.
struct LogRequest {
    const ModeName* mode = nullptr;
    int16_t channel = 0;  // 0 A, 1 B
    bool relative = false;
    std::optional<double> seconds;
    int64_t count = 0;  // 0: no set number
    bool timeStamps = false;
    QString out;  // a file, "-" standard output, empty none
    bool jsonl = false;
    bool control = false;  // the control socket is open while it runs
};

// The mode of a command-line name ("power", …) or of an ActiveMode code;
// null for none.
const ModeName* FindModeName(const QString& name);
const ModeName* ModeNameOfCode(int16_t code);

// Reads `kelvaro32 log ...` (`arguments` start with the program, then "log"):
// the request, or the exit status when the program ends at once: 0 after
// --help (printed on standard output), 2 after a bad command line (the
// message on standard error). --port becomes the command-line port. With
// --control and no --mode the run enters no mode: the socket's clients choose.
std::variant<LogRequest, int> ParseLogCommand(const QStringList& arguments);
