#include "state/Files.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <QDir>

namespace {

class Files : public ::testing::Test {
protected:
    void TearDown() override { CloseAllFiles(); }
    QStringList ReadAll(const QString& name) {
        QStringList lines;
        const int16_t no = OpenFile(name, FileRead);
        QString line;
        while (no && ReadLine(no, line)) lines << line;
        CloseFile(no);
        return lines;
    }
    TempDir dir;
    ScriptedPrompts prompts;
};

TEST_F(Files, linesAreWrittenWithCrLfAndReadBackWithoutLineEnds) {
    dir.Write("w.txt", "old content\r\n");
    int16_t no = OpenFile("w.txt", FileWrite);
    ASSERT_NE(no, 0);
    WriteLine(no, "first");
    WriteLine(no, "");
    CloseFile(no);
    no = OpenFile("w.txt", FileAppend);
    WriteLine(no, "12,5 µJ");
    CloseFile(no);
    EXPECT_EQ(dir.Read("w.txt"), QByteArray("first\r\n\r\n12,5 \xC2\xB5J\r\n"));
    EXPECT_EQ(ReadAll("w.txt"), (QStringList{"first", "", "12,5 µJ"}));
    dir.Write("mixed.txt", "one\ntwo\r\nthree");
    EXPECT_EQ(ReadAll("mixed.txt"), (QStringList{"one", "two", "three"}));
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(Files, eachLineReachesTheFileBeforeWriteLineReturns) {
    const int16_t no = OpenFile("live.txt", FileAppend);  // append creates the file
    WriteLine(no, "1.234E-03");
    EXPECT_EQ(dir.Read("live.txt"), QByteArray("1.234E-03\r\n"));
    SetLineEnd(no, "\n");
    WriteLine(no, "x");
    EXPECT_EQ(dir.Read("live.txt"), QByteArray("1.234E-03\r\nx\n"));
}

TEST_F(Files, numbersAreTheLowestFreeUpTo255) {
    EXPECT_EQ(OpenFile("a", FileWrite), 1);
    EXPECT_EQ(OpenFile("b", FileWrite), 2);
    CloseFile(1);
    EXPECT_EQ(OpenFile("c", FileWrite), 1);
    for (int i = 3; i <= 255; ++i) ASSERT_EQ(OpenFile(QString("f%1").arg(i), FileWrite), i);
    EXPECT_EQ(OpenFile("one-too-many", FileWrite), 0);
    EXPECT_EQ(prompts.Texts(), QStringList{"File open failed"});
}

TEST_F(Files, openFailuresShowTheirMessageAndGiveZero) {
    QDir(dir.Path()).mkdir("folder");
    const struct {
        QString file;
        int mode;
        QString message;
    } cases[] = {
        {"nothing.txt", FileRead, "File open failed"},
        {"no-such-folder/x.txt", FileWrite, "File open failed"},
        {"folder", FileRead, "Access denied to file folder"},
        {"folder", FileAppend, "Access denied to file folder"},
        {"", FileRead, "File open failed"},
        {"x.txt", 7, "File open failed"},
    };
    for (const auto& c : cases) {
        prompts.messages.clear();
        EXPECT_EQ(OpenFile(c.file, c.mode), 0) << c.file.toStdString();
        EXPECT_EQ(prompts.Texts(), QStringList{c.message}) << c.file.toStdString();
    }
}

TEST_F(Files, aFileOpenForWritingIsBeingUsedUnderAnyOfItsNames) {
    const QString busy = " is being used by other process. Operation canceld.";
    const struct {
        int first;
        QString second;
        int mode;
        bool allowed;
    } cases[] = {
        {FileWrite, "same.txt", FileWrite, false},    {FileAppend, "same.txt", FileRead, false},
        {FileRead, "same.txt", FileAppend, false},    {FileRead, "same.txt", FileRead, true},
        {FileAppend, "./same.txt", FileWrite, false}, {FileAppend, "alias.txt", FileRead, false},
    };
    dir.Write("same.txt", "line\r\n");
    ASSERT_TRUE(QFile::link("same.txt", "alias.txt"));
    for (const auto& c : cases) {
        CloseAllFiles();
        prompts.messages.clear();
        ASSERT_NE(OpenFile("same.txt", c.first), 0);
        EXPECT_EQ(OpenFile(c.second, c.mode) != 0, c.allowed) << c.second.toStdString() << c.first << c.mode;
        EXPECT_EQ(prompts.Texts(), c.allowed ? QStringList{} : QStringList{"File " + c.second + busy});
    }
    ASSERT_NE(OpenFile("new.txt", FileWrite), 0);  // known by its final name once created
    ASSERT_TRUE(QFile::link("new.txt", "new-alias.txt"));
    EXPECT_EQ(OpenFile("new-alias.txt", FileAppend), 0);
}

TEST_F(Files, wrongNumberOrDirectionIsRefused) {
    const int16_t w = OpenFile("w.txt", FileWrite);
    const int16_t r = OpenFile("w.txt", FileRead);
    ASSERT_EQ(r, 0);
    dir.Write("r.txt", "x\r\n");
    const int16_t rr = OpenFile("r.txt", FileRead);
    QString line = "untouched";
    EXPECT_FALSE(ReadLine(w, line));
    EXPECT_FALSE(WriteLine(rr, "x"));
    EXPECT_FALSE(WriteLine(99, "x"));
    EXPECT_FALSE(ReadLine(99, line));
    EXPECT_EQ(line, "untouched");
    CloseFile(w);
    EXPECT_FALSE(WriteLine(w, "after close"));
}

TEST_F(Files, fileExistsOnlyForRegularFiles) {
    dir.Write("here.txt", "");
    QDir(dir.Path()).mkdir("folder");
    EXPECT_TRUE(FileExists("here.txt"));
    for (const char* name : {"missing.txt", "folder", "", "no-such-folder/here.txt"})
        EXPECT_FALSE(FileExists(name)) << name;
}

}  // namespace
