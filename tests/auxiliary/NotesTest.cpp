#include "auxiliary/NotesText.h"
#include "auxiliary/NotesWindow.h"
#include "data/WorkFile.h"
#include "support/ProgramState.h"
#include "support/RecordingSurface.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <QPlainTextEdit>
#include <QPushButton>

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

TEST(NotesText, printedLinesFollowTheNotesLines) {
    EXPECT_EQ(NotesPrintLines(""), QStringList());
    EXPECT_EQ(NotesPrintLines("a\r\n\r\nb"), (QStringList{"a", "", "b"}));
    EXPECT_EQ(NotesPrintLines(QString(80, 'x') + "\r\ny"), (QStringList{QString(80, 'x'), "y"}));
}

TEST(NotesWindow, savedAsApostropheLinesPrintedFiveLinesDownAndKeptWhenClosed) {
    ScriptedPrompts prompts;
    TempDir dir;
    FreshProgramState();
    Notes().ClearNotesBox();
    Notes().txtboxNotes->setPlainText("Beam A\nafter alignment");
    Notes().AppendNotesBox(" (second run)");
    WorkFile(0, dir.Path("data.pwr"));
    WorkFile(3, "header");
    Notes().SaveNotesBox();
    WorkFile(2, "");
    EXPECT_EQ(dir.Read("data.pwr"), QByteArray("header\r\n'Beam A\r\n'after alignment (second run)\r\n"))
        << "each line of the box its own notes line";

    // A long run without blanks breaks anywhere (word-boundary layout of it grows with its square).
    for (const auto& [text, mode] :
         {std::pair{QString(201, 'z'), QTextOption::WrapAnywhere},
          {QString("word ").repeated(100), QTextOption::WrapAtWordBoundaryOrAnywhere}}) {
        Notes().ClearNotesBox();
        Notes().AppendNotesBox(text);
        EXPECT_EQ(Notes().txtboxNotes->wordWrapMode(), mode);
    }

    // At most five lines of eighty, from (80, 15) down.
    Notes().txtboxNotes->setPlainText(QString(400, 'x') + QString(100, 'y'));
    RecordingSurface page;
    Notes().PrintNotesBox(page);
    auto printed = page.Calls("Print");
    ASSERT_EQ(printed.size(), 5u);
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(std::tuple(printed[k].x1, printed[k].y1, printed[k].text),
                  std::tuple(80.0, 15.0 + 5 * k, QString(80, 'x')));

    Notes().butClose->click();
    EXPECT_FALSE(Notes().isVisible());
    EXPECT_EQ(Notes().NotesText().size(), 500) << "closing only hides";
    Notes().ClearNotesBox();
    EXPECT_TRUE(Notes().NotesText().isEmpty());
}
