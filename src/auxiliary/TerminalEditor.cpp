#include "auxiliary/TerminalEditor.h"

QString CutTerminalText(const QString& text) {
    QString full = text;
    full.replace("\n", "\r\n");
    if (full.size() <= kTerminalTextLimit) return text;
    QString rest = full.right(full.size() / 2);
    const int lf = rest.indexOf('\n');
    rest = lf < 0 ? QString() : rest.mid(lf + 1);
    rest.remove('\r');
    return rest;
}

TerminalEdit TerminalEnter(const QString& original, int caret, int selected, const QString& lastCommand) {
    TerminalEdit e;
    QString text = CutTerminalText(original);
    // A caret at the end stays at the end when the text was cut.
    const bool atEnd = caret >= original.size();
    if (text.size() != original.size())
        caret = atEnd ? text.size() : qMax(0, caret - (original.size() - text.size()));
    e.text = text;
    e.caret = text.size();

    if (selected > 0) {
        e.beep = true;
        e.caret = caret;
        return e;
    }
    if (atEnd) {
        if (text.isEmpty()) return e;
        const int lineStart = text.lastIndexOf('\n', caret - 1) + 1;
        const QString line = text.mid(lineStart, caret - lineStart);
        if (!line.isEmpty()) {
            e.command = line;
            e.text = text + "\n";
        } else {
            // An empty line repeats the last command, echoed.
            e.command = lastCommand;
            e.text = text + lastCommand + "\n";
        }
        e.caret = e.text.size();
        return e;
    }
    // An earlier line under the caret: sent again and echoed at the end;
    // reply lines carry a tab and are not sent.
    const int lineStart = caret > 0 ? text.lastIndexOf('\n', caret - 1) + 1 : 0;
    int lineEnd = text.indexOf('\n', caret);
    if (lineEnd < 0) lineEnd = text.size();
    const QString line = text.mid(lineStart, lineEnd - lineStart);
    if (line.isEmpty()) return e;
    if (line.contains('\t')) {
        e.beep = true;
        return e;
    }
    e.command = line;
    if (!e.text.isEmpty() && !e.text.endsWith('\n')) e.text += "\n";
    e.text += line + "\n";
    e.caret = e.text.size();
    return e;
}

QString AppendTerminalReply(const QString& text, const QString& reply) {
    QString line = reply;
    while (line.endsWith('\r') || line.endsWith('\n')) line.chop(1);
    return text + "\t" + line + "\n";
}
