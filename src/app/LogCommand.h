#pragma once

#include <QStringList>

// `kelvaro32 log [--port PATH] [--mode MODE] [--channel A|B] [--relative]
// [--for DURATION | --count N] [--time-stamps] [--out FILE | --jsonl]`:
// connects and identifies as the program does, enters the mode through the
// Mode menu's path and logs with the mode's own engine, no window made,
// until the duration or count is reached or SIGINT/SIGTERM/SIGHUP asks.
// `--out` writes the mode's data file as it goes ("-": standard output),
// `--jsonl` one JSON object a reading on standard output. `arguments` start
// with the program, then "log". Exit status 0 when the run ended as asked,
// 2 for a bad command line, 3 when no meter could be reached, 1 otherwise;
// messages go to standard error. Needs no display.
int RunLogCommand(const QStringList& arguments);
