#pragma once

#include "data/WorkFile.h"

#include <QString>
#include <functional>
#include <stdexcept>

// A save or print of logged data that could not be completed. FileCommand
// ends the operation on it: with the internal-trap message, unless the user
// has already been told (Reported(), the file-open message was shown).
class DataFileError : public std::runtime_error {
public:
    explicit DataFileError(const QString& what, bool reported = false)
        : std::runtime_error(what.toStdString()), reported_(reported) {}
    bool Reported() const { return reported_; }

private:
    bool reported_;
};

// Writes the data a logging window holds to `fileName`, the same way for
// every mode; only the lines differ, and the window supplies them.
//
// logToFile false: `fileName` gets the header line, the notes (writeNotes)
// and the data lines (writeDataLines), both writing through WorkFile(3, ...).
// logToFile true (pass WorkFileRun::Complete(): a working file that missed
// lines is never copied): the working file already holds header and data.
// `fileName` gets a copy of it and then the notes, unless both name the same
// file, in which case the notes are appended to the working file itself. The
// working file is otherwise left as it was.
//
// A file other than the working file is written to a temporary file beside
// it that replaces it only once complete: a save that fails leaves the old
// file whole.
//
// Throws DataFileError when the working file cannot be copied (missing,
// unreadable), when a line does not reach the file (full disk, I/O error)
// and, already reported, when the target cannot be opened. A window counts
// its data as saved only when this returns.
void SaveLoggedData(const QString& fileName, bool logToFile, const QString& workFilePath,
                    const QString& header, const std::function<void()>& writeNotes,
                    const std::function<void()>& writeDataLines);

// The data lines of a store (ReadingStore), oldest first, through
// WorkFile(3, ...): a thousand lines to a write (and flush) instead of one,
// the same bytes.
template <class Store, class Line>
void WriteStoredLines(const Store& store, Line line) {
    BlockLines lines;
    store.ForEachOldestFirst([&](const auto& r) { lines.Add(line(r)); });
}

namespace platform {
class Printer;
}

// Throws DataFileError when the printer could not open its output or the
// job failed at its end; a print the user cancelled is no failure.
void ThrowIfPrintFailed(const platform::Printer& printer);
