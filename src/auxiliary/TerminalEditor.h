#pragma once

#include <QString>

// The terminal's line editor as plain text rules, apart from the widget.
// Text uses LF line breaks as the widget holds it; the length limit counts
// each break as CR LF, as the meter's dialogue is kept.
struct TerminalEdit {
    QString text;     // text after the Enter was handled
    int caret = 0;    // caret afterwards (nothing selected)
    QString command;  // what to send, empty for nothing
    bool beep = false;
};

inline constexpr int kTerminalTextLimit = 8096;

// Cuts a text longer than the limit to its last half, starting at a line
// beginning; other texts come back unchanged.
QString CutTerminalText(const QString& text);

// Enter pressed with the caret at `caret` and `selected` characters selected.
TerminalEdit TerminalEnter(const QString& text, int caret, int selected, const QString& lastCommand);

// The text after a reply line (its CR LF stripped) was appended, indented by a tab.
QString AppendTerminalReply(const QString& text, const QString& reply);
