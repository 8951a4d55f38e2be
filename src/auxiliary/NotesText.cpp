#include "auxiliary/NotesText.h"

#include <algorithm>

namespace {

constexpr int kPiece = 80;
constexpr int kPrintedLines = 5;

// Characters of a line, a surrogate pair counting as one, so that a piece
// never splits one.
QStringList Pieces(QStringView line) {
    QStringList out;
    qsizetype start = 0, count = 0;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i].isLowSurrogate() && i > 0 && line[i - 1].isHighSurrogate()) continue;
        if (count == kPiece) {
            out << line.mid(start, i - start).toString();
            start = i;
            count = 0;
        }
        ++count;
    }
    if (count > 0) out << line.mid(start).toString();
    // A full last piece needs an empty one to end the line.
    if (count == kPiece || count == 0) out << QString();
    return out;
}

QList<QStringView> LinesOf(const QString& notes) {
    QList<QStringView> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < notes.size(); ++i) {
        const QChar c = notes[i];
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n')) continue;
        lines << QStringView(notes).mid(start, i - start);
        if (c == QLatin1Char('\r') && i + 1 < notes.size() && notes[i + 1] == QLatin1Char('\n')) ++i;
        start = i + 1;
    }
    lines << QStringView(notes).mid(start);
    return lines;
}

qsizetype Characters(QStringView piece) {
    qsizetype n = 0;
    for (qsizetype i = 0; i < piece.size(); ++i)
        if (!(piece[i].isLowSurrogate() && i > 0 && piece[i - 1].isHighSurrogate())) ++n;
    return n;
}

}  // namespace

QStringList NotesFileLines(const QString& notes) {
    QStringList out;
    if (notes.isEmpty()) return out;
    for (QStringView line : LinesOf(notes))
        for (const QString& piece : Pieces(line)) out << QLatin1Char('\'') + piece;
    return out;
}

QStringList NotesPrintLines(const QString& notes) {
    QStringList out;
    if (notes.isEmpty()) return out;
    for (QStringView line : LinesOf(notes)) {
        QStringList pieces = Pieces(line);
        if (pieces.size() > 1 && pieces.last().isEmpty()) pieces.removeLast();
        for (const QString& piece : pieces) {
            if (out.size() == kPrintedLines) return out;
            out << piece;
        }
    }
    return out;
}

void NotesGatherer::Add(QStringView piece) {
    if (cut_) return;
    if (text_.size() + piece.size() > kMaxNotesLength) {
        cut_ = true;
        return;
    }
    text_ += piece;
    if (Characters(piece) < kPiece) text_ += QLatin1Char('\n');
}

QString NotesGatherer::Text() const {
    QString text = text_;
    // The last line's end is no line of its own.
    if (text.endsWith(QLatin1Char('\n'))) text.chop(1);
    if (cut_) text += QLatin1Char('\n') + QLatin1String(kNotesCutText);
    return text;
}

qsizetype LongestUnbrokenRun(const QString& text) {
    qsizetype longest = 0, run = 0;
    for (const QChar c : text) {
        run = c.isSpace() ? 0 : run + 1;
        longest = std::max(longest, run);
    }
    return longest;
}
