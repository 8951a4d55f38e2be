#pragma once

#include <QStringList>

// `kelvaro32 stability FILE [--json] [--channel A|B|ratio|difference]`:
// the stability figures of a saved file on standard output, as aligned text
// or one JSON object. `arguments` start with the program, then "stability".
// Exit status 0, 2 for a bad command line, 1 for a file that cannot be read
// (the loader's message on standard error). Needs no display.
int RunStabilityCommand(const QStringList& arguments);
