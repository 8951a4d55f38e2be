#pragma once

#include <QString>
#include <cstdint>

// Sequential text files by number, as the configuration, the traffic log,
// the working data files and the data-file loader use them.

// FileReplace writes like FileWrite, but into a temporary file beside the
// old one that CommitFile puts in its place: a write that fails half way
// leaves the old file whole. Where the folder takes no new file it writes
// in place (a setting is better saved so than not at all); FileReplaceWhole
// never does: the open fails instead (data files).
enum FileMode : int { FileRead = 0, FileWrite = 1, FileAppend = 2, FileReplace = 3, FileReplaceWhole = 4 };

// Longest line ReadLine returns, in bytes; the rest of a longer line is skipped.
inline constexpr qint64 kMaxLineBytes = 64 * 1024;

// Opens `name` and returns its file number (1..), or 0 after showing the
// failure message ("File ... is being used by other process. Operation
// canceld.", "Access denied to file ...", "File open failed"). Only regular
// files open: a folder, FIFO or device of that name is "Access denied".
int16_t OpenFile(const QString& name, int mode);

// True when a file of that name exists; any error counts as False.
bool FileExists(const QString& name);

// Line end written after each line; CR LF unless changed (kelvaro.cfg uses LF).
void SetLineEnd(int16_t fileNo, const QByteArray& lineEnd);

// Writes text + line end; the line reaches the operating system before the
// call returns, so a killed program leaves every written line intact.
bool WriteLine(int16_t fileNo, const QString& text);

// Writes the bytes as they are; false when they did not all reach the file.
bool WriteBytes(int16_t fileNo, const QByteArray& bytes);

// Reads the next line without its CR LF / LF, cut at kMaxLineBytes; false at
// end of file.
bool ReadLine(int16_t fileNo, QString& text);

// Reads up to `maxBytes` raw bytes of a file opened for reading, for
// loaders that cut large blocks into lines themselves; empty at the end.
QByteArray ReadBlock(int16_t fileNo, qint64 maxBytes);
// The same into the caller's buffer, which a loader keeps for the whole
// file; the number of bytes read, 0 at the end.
qint64 ReadBlockInto(int16_t fileNo, char* data, qint64 maxBytes);

// Closes the file; a FileReplace file replaces the old one only when every
// line was written. False when something was not written.
bool CommitFile(int16_t fileNo);

// Closes the file; a FileReplace file not committed leaves the old one.
void CloseFile(int16_t fileNo);
void CloseAllFiles();
