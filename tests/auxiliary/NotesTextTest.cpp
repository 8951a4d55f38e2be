#include "auxiliary/NotesText.h"

#include <gtest/gtest.h>

TEST(NotesText, fileLinesArePiecesOfEightyAfterAnApostrophe) {
    struct Case {
        int length;
        std::vector<int> pieces;
    } cases[] = {
        {0, {}}, {1, {1}}, {80, {80}}, {81, {80, 1}}, {170, {80, 80, 10}}, {1000, std::vector<int>(12, 80)}};
    cases[5].pieces.push_back(40);
    for (const Case& c : cases) {
        QString notes;
        for (int i = 0; i < c.length; ++i) notes += QChar('a' + i % 26);
        QStringList lines = NotesFileLines(notes);
        ASSERT_EQ(lines.size(), int(c.pieces.size())) << c.length;
        QString joined;
        for (int i = 0; i < lines.size(); ++i) {
            EXPECT_TRUE(lines[i].startsWith('\''));
            EXPECT_EQ(lines[i].size() - 1, c.pieces[i]);
            joined += lines[i].mid(1);
        }
        EXPECT_EQ(joined, notes) << "nothing lost or reordered";
    }
}

TEST(NotesText, printKeepsAtMostFiveLinesOfEighty) {
    QString notes(500, 'x');
    notes.replace(400, 100, QString(100, 'y'));
    QStringList lines = NotesPrintLines(notes);
    ASSERT_EQ(lines.size(), 5);
    for (const QString& l : lines) EXPECT_EQ(l, QString(80, 'x'));
    EXPECT_TRUE(NotesPrintLines("").isEmpty());
}
