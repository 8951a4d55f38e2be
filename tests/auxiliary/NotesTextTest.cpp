#include "auxiliary/NotesText.h"

#include <gtest/gtest.h>

namespace {

QString Letters(int n) {
    QString s;
    for (int i = 0; i < n; ++i) s += QChar('a' + i % 26);
    return s;
}

QString Gathered(const QStringList& fileLines) {
    NotesGatherer g;
    for (const QString& line : fileLines) g.Add(QStringView(line).mid(1));
    return g.Text();
}

}  // namespace

// Each line of the notes in pieces of 80; a line of a multiple of 80 (an
// empty one too) is ended by an empty piece. Read back, the notes keep their lines.
TEST(NotesText, fileLinesKeepEachLineOfTheNotes) {
    const QString emoji = QString::fromUtf8("\xF0\x9F\x94\xA5");  // two UTF-16 units, one character
    const struct {
        QString notes;
        const char* sizes;  // characters after each apostrophe
        QString back;       // what reading gives, when not the notes themselves
    } cases[] = {
        {"", "", {}},
        {Letters(1), "1", {}},
        {Letters(80), "80 0", {}},
        {Letters(170), "80 80 10", {}},
        {Letters(200) + "\r\n" + Letters(3), "80 80 40 3", {}},
        {"a\r\n\r\nb", "1 0 1", {}},
        {"a\nb\r", "1 1 0", "a\r\nb\r\n"},
        {emoji.repeated(81), "80 1", {}},
    };
    for (const auto& c : cases) {
        const QStringList lines = NotesFileLines(c.notes);
        QStringList sizes;
        for (const QString& line : lines) {
            EXPECT_TRUE(line.startsWith('\''));
            sizes << QString::number(line.mid(1).toUcs4().size());
        }
        EXPECT_EQ(sizes.join(' ').toStdString(), c.sizes) << c.notes.size();
        const QString back = c.back.isNull() ? c.notes : c.back;
        EXPECT_EQ(Gathered(lines), QString(back).replace("\r\n", "\n")) << c.notes.size();
    }
    // Notes written as one paragraph (pieces of 80, the last one shorter) read as one line.
    EXPECT_EQ(Gathered({"'" + Letters(80), "'" + Letters(40)}), Letters(80) + Letters(40));
}

// Past the bound the rest is left out, and the notes say so.
TEST(NotesText, gatheredNotesAreBounded) {
    NotesGatherer g;
    const QString piece = QString(80, 'x');
    for (int i = 0; i < 2 * kMaxNotesLength / 80; ++i) g.Add(piece);
    g.Add(QStringLiteral("end"));
    const QString text = g.Text();
    EXPECT_LE(text.size(), kMaxNotesLength + 100);
    EXPECT_TRUE(text.endsWith(QStringLiteral("\n") + kNotesCutText));
    EXPECT_FALSE(text.contains("end"));
}

// Printed lines keep the notes' line breaks (the five-line bound: NotesWindowTest).
TEST(NotesText, printedLinesFollowTheNotesLines) {
    EXPECT_EQ(NotesPrintLines(""), QStringList());
    EXPECT_EQ(NotesPrintLines("a\r\n\r\nb"), (QStringList{"a", "", "b"}));
    EXPECT_EQ(NotesPrintLines(QString(80, 'x') + "\r\ny"), (QStringList{QString(80, 'x'), "y"}));
}
