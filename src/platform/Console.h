#pragma once

#include "platform/SilentPrompts.h"

#include <QString>

class QCommandLineParser;

namespace platform {

// Prompts for a run without windows: every message goes to standard error
// as one paragraph after "kelvaro32: ", questions are answered No without
// being asked, dialogs are cancelled.
class ConsolePrompts : public SilentPrompts {
public:
    void Message(const QString& text, const QString& title, Icon icon) override;
};

// Standard error is a terminal someone watches (not a file or a pipe).
bool StandardErrorIsTerminal();

// The parser's help text with its first line naming `command` ("kelvaro32 log")
// instead of whatever path the program was started by.
QString CommandHelpText(const QCommandLineParser& parser, const QString& command);

// Writes `text` to standard error as it is and flushes it.
void WriteStandardError(const QString& text);

// Writes `bytes` to standard output as they are and flushes them; false
// when they did not all get there (a closed pipe, a full disk).
bool WriteStandardOutput(const QByteArray& bytes);

// A reader that went away (`kelvaro32 log --jsonl | head`) makes the next
// write fail instead of ending the program before it wrote its traffic log.
void WritesToClosedPipesFail();

}  // namespace platform
