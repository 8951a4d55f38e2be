#include "auxiliary/NotesText.h"

#include <climits>

namespace {
constexpr int kPiece = 80;
constexpr int kPrintedLines = 5;

QStringList Pieces(const QString& flat, int maxPieces) {
    QStringList out;
    for (int at = 0; at < flat.size() && out.size() < maxPieces; at += kPiece) out << flat.mid(at, kPiece);
    return out;
}
}  // namespace

QString FlattenNotes(const QString& notes) {
    QString flat = notes;
    for (QChar& c : flat)
        if (c == QChar('\r') || c == QChar('\n')) c = QChar(' ');
    return flat;
}

QStringList NotesFileLines(const QString& notes) {
    QStringList lines = Pieces(FlattenNotes(notes), INT_MAX);
    for (QString& l : lines) l.prepend(QChar('\''));
    return lines;
}

QStringList NotesPrintLines(const QString& notes) {
    return Pieces(FlattenNotes(notes), kPrintedLines);
}
