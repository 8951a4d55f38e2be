#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

// The last 10,000 lines of serial traffic, written to "rs232.buf" at every
// disconnect.

// Where rs232.buf goes: the state folder, by default the current directory.
QString TrafficLogPath();

struct TrafficLogRecord {
    static constexpr int kSlots = 10000;  // slots 0..9999
    // Longest line kept: replies without CR would otherwise grow one line
    // for ever. The rest goes on the next line, which begins with kContinued.
    static constexpr qsizetype kMaxLineChars = 512;
    static constexpr const char* kContinued = "<...>";
    int16_t Head = 0;      // slot of the current (last) line
    int16_t Count = 0;     // lines since the last clearing, at most 9999
    bool Wrapped = false;  // every slot holds a line; oldest at Head + 1
    std::vector<QString> Lines = std::vector<QString>(kSlots + 1);
};

enum TrafficLogOp : int {
    TrafficClear = -1,
    TrafficSave = 1,
    TrafficNewLine = 20,
    TrafficAppend = 21,
};

// op -1 clear, 20 new line, 21 append to the current line, 1 save to rs232.buf.
// A line is cut at kMaxLineChars; a spelled-out control character is never cut.
void TrafficLog(int op, const QString& text = QString());

// Raw characters: control characters as <CR>, <LF>, <k>; a new line after each CR.
void LogTraffic(const QString& text);

// One whole line of text.
void LogLine(const QString& text);

// The stored lines, oldest first, exactly as TrafficLog(1) writes them.
QStringList TrafficLines();

TrafficLogRecord& TrafficLogData();
