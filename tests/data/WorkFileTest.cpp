#include "app/Files.h"
#include "data/WorkFile.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

class WorkFileTest : public ::testing::Test {
protected:
    void SetUp() override { ResetWorkFile(); }
    void TearDown() override { ResetWorkFile(); }
    TempDir dir;
    ScriptedPrompts prompts;
};

TEST_F(WorkFileTest, createWritesLinesUntilClosed) {
    WorkFile(0, "kelvaro.pwr");
    ASSERT_NE(WorkFileNumber(), 0);
    WorkFile(3, "header");
    WorkFile(3, "0.5\t1.00");
    WorkFile(2, "");
    EXPECT_EQ(WorkFileNumber(), 0);
    WorkFile(3, "after close");
    EXPECT_EQ(dir.Read("kelvaro.pwr"), "header\r\n0.5\t1.00\r\n");
}

TEST_F(WorkFileTest, appendKeepsEarlierLinesAndCreateReplacesThem) {
    dir.Write("kelvaro.pwr", "header\r\n");
    WorkFile(1, "kelvaro.pwr");
    WorkFile(3, "line");
    WorkFile(2, "");
    EXPECT_EQ(dir.Read("kelvaro.pwr"), "header\r\nline\r\n");
    WorkFile(0, "kelvaro.pwr");
    WorkFile(3, "fresh");
    WorkFile(2, "");
    EXPECT_EQ(dir.Read("kelvaro.pwr"), "fresh\r\n");
}

// A write after the close must not land in whatever file got the number next.
TEST_F(WorkFileTest, strayWriteAfterCloseReachesNoOtherFile) {
    WorkFile(0, "kelvaro.pwr");
    WorkFile(2, "");
    const int16_t other = OpenFile("other.txt", FileWrite);
    ASSERT_NE(other, 0);
    WorkFile(3, "stray");
    CloseFile(other);
    EXPECT_EQ(dir.Read("other.txt"), "");
}

TEST_F(WorkFileTest, openingAnotherFileReleasesTheFirst) {
    WorkFile(0, "a.pwr");
    WorkFile(0, "b.pwr");
    const int16_t again = OpenFile("a.pwr", FileWrite);
    EXPECT_NE(again, 0);
    CloseFile(again);
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(WorkFileTest, deleteOnlyOnceAWorkingFileWasOpenedThisRun) {
    dir.Write("old.dpw", "data\r\n");
    WorkFile(4, "old.dpw");
    EXPECT_TRUE(QFile::exists(dir.Path("old.dpw")));

    WorkFile(0, "old.dpw");
    WorkFile(3, "line");
    WorkFile(4, "old.dpw");  // still open: closed first, then removed
    EXPECT_FALSE(QFile::exists(dir.Path("old.dpw")));
    EXPECT_EQ(WorkFileNumber(), 0);
    WorkFile(4, "missing.dpw");
    EXPECT_FALSE(QFile::exists(dir.Path("missing.dpw")));
}

TEST_F(WorkFileTest, failedOpenLeavesNoWorkingFile) {
    WorkFile(0, dir.Path());  // a folder cannot be written as a file
    EXPECT_EQ(WorkFileNumber(), 0);
    EXPECT_EQ(prompts.messages.size(), 1u);
    WorkFile(3, "nowhere");
    dir.Write("kept.pwr", "kept\r\n");
    WorkFile(4, "kept.pwr");  // nothing was opened: nothing may be deleted
    EXPECT_TRUE(QFile::exists(dir.Path("kept.pwr")));
}

}  // namespace
