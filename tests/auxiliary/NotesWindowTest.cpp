#include "auxiliary/frmNotes.h"
#include "data/WorkFile.h"
#include "support/RecordingSurface.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

class NotesWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetWorkFile();
        Notes().ClearNotesBox();
    }
    void TearDown() override {
        WorkFile(2, "");
        Notes().ClearNotesBox();
    }
    ScriptedPrompts prompts;
    TempDir dir;
};

TEST_F(NotesWindowTest, savedIntoTheWorkingFileAsApostropheLines) {
    Notes().txtboxNotes->setPlainText("Beam A\nafter alignment");
    Notes().AppendNotesBox(" (second run)");
    WorkFile(0, dir.Path("data.pwr"));
    WorkFile(3, "header");
    Notes().SaveNotesBox();
    WorkFile(2, "");
    EXPECT_EQ(dir.Read("data.pwr"), QByteArray("header\r\n'Beam A  after alignment (second run)\r\n"))
        << "a line break in the box travels as CR LF and becomes two blanks";
}

TEST_F(NotesWindowTest, printedFiveLinesDownFromTheGivenPosition) {
    Notes().txtboxNotes->setPlainText(QString(500, 'n'));
    RecordingSurface page;
    Notes().PrintNotesBox(page);
    auto printed = page.Calls("Print");
    ASSERT_EQ(printed.size(), 5u);
    for (int k = 0; k < 5; ++k) {
        EXPECT_DOUBLE_EQ(printed[k].x1, 80);
        EXPECT_DOUBLE_EQ(printed[k].y1, 15 + 5 * k);
        EXPECT_EQ(printed[k].text.size(), 80);
    }
}

TEST_F(NotesWindowTest, clearedAndClosedKeepsOrDropsTheText) {
    Notes().txtboxNotes->setPlainText("kept");
    Notes().butClose->click();
    EXPECT_FALSE(Notes().isVisible());
    EXPECT_EQ(Notes().NotesText(), "kept") << "closing only hides";
    Notes().ClearNotesBox();
    EXPECT_TRUE(Notes().NotesText().isEmpty());
}

}  // namespace
