#pragma once

#include <QString>
#include <cstdint>

// The one working data file the logging windows write through.
// op 0 create `text`, 1 open `text` for appending, 2 close, 3 write `text`
// as one line, 4 delete the file `text` when a working file was opened in
// this run and it exists, 5 write `text` anew through a temporary file
// beside it that only WorkFileCommit puts in its place (a close without it,
// or a failed write, leaves the old file whole). Other codes do nothing.
void WorkFile(int op, const QString& text);

// Closes the open file; one written anew (op 5) replaces the old one now.
// False when a line did not reach the file or the replacing failed.
bool WorkFileCommit();

// Bytes into the open file as they are (a copy); a failure shows in WorkFileFailed.
void WorkFileWriteBytes(const QByteArray& bytes);

// File number of the open working file, 0 when none is open.
int16_t WorkFileNumber();

// The last create or append failed, or a line written since then did not
// reach the file (a full disk, an I/O error).
bool WorkFileFailed();

// Data lines into the open file a thousand to a write: the same bytes as a
// write a line, with fewer flushes. What is left goes out at Flush or at the end.
class BlockLines {
public:
    ~BlockLines() { Flush(); }
    void Add(const QString& line);
    void Flush();

private:
    QString block_;
    int lines_ = 0;
};

// Forgets the working file of this run (program start; tests).
void ResetWorkFile();

// The working file of one logging run, shared by every logging window:
// the header at a fresh start, then one line per reading, the file opened
// and closed for each. Writes only while the Data Log File is on. The first
// failure is reported once (a failed open by the file-opening routine's own
// message) and switches the Data Log File off for the rest of the run, so
// the run goes on in memory only and its save writes what memory holds.
class WorkFileRun {
public:
    void Begin(const QString& path, const QString& header);  // a fresh start
    void Append(const QString& line);
    // The working file holds every line of the run: a save may copy it.
    bool Complete() const;

private:
    void Write(int openOp, const QString& line);
    QString path_;
    bool failed_ = false;
};
