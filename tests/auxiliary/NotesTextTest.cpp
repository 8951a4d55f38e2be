#include "auxiliary/NotesText.h"

#include <gtest/gtest.h>

TEST(NotesText, fileLinesArePiecesOfEightyAfterAnApostrophe) {
    for (auto [length, sizes] : {std::pair{0, ""},
                                 {1, "1"},
                                 {80, "80"},
                                 {81, "80 1"},
                                 {170, "80 80 10"},
                                 {1000, "80 80 80 80 80 80 80 80 80 80 80 80 40"}}) {
        QString notes;
        for (int i = 0; i < length; ++i) notes += QChar('a' + i % 26);
        QStringList pieces;
        QString joined;
        for (const QString& line : NotesFileLines(notes)) {
            EXPECT_TRUE(line.startsWith('\''));
            pieces << QString::number(line.size() - 1);
            joined += line.mid(1);
        }
        EXPECT_EQ(pieces.join(' '), sizes) << length;
        EXPECT_EQ(joined, notes) << "nothing lost or reordered";
    }
}
