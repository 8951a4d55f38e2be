#pragma once

#include <QString>
#include <cstdint>

// The one working data file the logging windows write through.
// op 0 create `text`, 1 open `text` for appending, 2 close, 3 write `text`
// as one line, 4 delete the file `text` when a working file was opened in
// this run and it exists. Other codes do nothing.
void WorkFile(int op, const QString& text);

// File number of the open working file, 0 when none is open.
int16_t WorkFileNumber();

// Forgets the working file of this run (program start; tests).
void ResetWorkFile();
