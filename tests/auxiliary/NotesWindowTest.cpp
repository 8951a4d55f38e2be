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

    // At most five lines of eighty, from (80, 15) down.
    Notes().txtboxNotes->setPlainText(QString(400, 'x') + QString(100, 'y'));
    RecordingSurface page;
    Notes().PrintNotesBox(page);
    auto printed = page.Calls("Print");
    ASSERT_EQ(printed.size(), 5u);
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(std::tuple(printed[k].x1, printed[k].y1, printed[k].text),
                  std::tuple(80.0, 15.0 + 5 * k, QString(80, 'x')));

    // A long run without blanks breaks anywhere (word-boundary layout of it grows with its square).
    for (const auto& [text, mode] :
         {std::pair{QString(201, 'z'), QTextOption::WrapAnywhere},
          {QString("word ").repeated(100), QTextOption::WrapAtWordBoundaryOrAnywhere}}) {
        Notes().ClearNotesBox();
        Notes().AppendNotesBox(text);
        EXPECT_EQ(Notes().txtboxNotes->wordWrapMode(), mode);
    }
    Notes().txtboxNotes->setPlainText(QString(400, 'x') + QString(100, 'y'));

    Notes().butClose->click();
    EXPECT_FALSE(Notes().isVisible());
    EXPECT_EQ(Notes().NotesText().size(), 500) << "closing only hides";
    Notes().ClearNotesBox();
    EXPECT_TRUE(Notes().NotesText().isEmpty());
}
