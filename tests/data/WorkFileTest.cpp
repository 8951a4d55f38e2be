#include "data/WorkFile.h"
#include "state/Files.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <QFile>

TEST(WorkFile, createAppendWriteCloseAndDeleteOnlyOnceOpenedThisRun) {
    TempDir dir;
    ScriptedPrompts prompts;
    ResetWorkFile();
    WorkFile(0, "kelvaro.pwr");
    WorkFile(3, "header");
    WorkFile(2, "");
    // A write after the close must not land in whatever file got the number next.
    const int16_t other = OpenFile("other.txt", FileWrite);
    WorkFile(3, "stray");
    CloseFile(other);
    WorkFile(1, "kelvaro.pwr");
    WorkFile(3, "0.5\t1.00");
    WorkFile(2, "");
    EXPECT_EQ(dir.Read("kelvaro.pwr"), "header\r\n0.5\t1.00\r\n");
    EXPECT_EQ(dir.Read("other.txt"), "");
    WorkFile(0, "kelvaro.pwr");
    WorkFile(0, "other.pwr");  // only one current file: the first is released
    EXPECT_EQ(dir.Read("kelvaro.pwr"), "");
    const int16_t again = OpenFile("kelvaro.pwr", FileWrite);
    EXPECT_NE(again, 0);
    CloseFile(again);
    ResetWorkFile();  // a new run: delete only once a working file was opened in it
    dir.Write("old.dpw", "data\r\n");
    WorkFile(0, dir.Path());  // a folder: the open fails with a message
    EXPECT_EQ(prompts.messages.size(), 1u);
    WorkFile(4, "old.dpw");
    EXPECT_TRUE(QFile::exists(dir.Path("old.dpw")));
    WorkFile(0, "kelvaro.dpw");
    WorkFile(4, "old.dpw");  // another file: the working file stays open
    EXPECT_FALSE(QFile::exists(dir.Path("old.dpw")));
    WorkFile(3, "kept");
    WorkFile(4, "kelvaro.dpw");  // the open one: closed first, then removed
    EXPECT_FALSE(QFile::exists(dir.Path("kelvaro.dpw")));
    EXPECT_EQ(WorkFileNumber(), 0);
}
