#include "app/Files.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

#include <QDir>
#include <gtest/gtest.h>

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

TEST_F(Files, linesWrittenEndWithCrLfAndReadBackWithoutIt) {
    const int16_t no = OpenFile("a.txt", FileWrite);
    ASSERT_NE(no, 0);
    EXPECT_TRUE(WriteLine(no, "first"));
    EXPECT_TRUE(WriteLine(no, ""));
    EXPECT_TRUE(WriteLine(no, "12,5 µJ"));
    CloseFile(no);
    EXPECT_EQ(dir.Read("a.txt"), QByteArray("first\r\n\r\n12,5 \xC2\xB5J\r\n"));
    EXPECT_EQ(ReadAll("a.txt"), (QStringList{"first", "", "12,5 µJ"}));
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(Files, readerAcceptsLfCrLfAndALastLineWithoutEnd) {
    dir.Write("mixed.txt", "one\ntwo\r\nthree");
    EXPECT_EQ(ReadAll("mixed.txt"), (QStringList{"one", "two", "three"}));
    dir.Write("empty.txt", "");
    EXPECT_TRUE(ReadAll("empty.txt").isEmpty());
}

TEST_F(Files, writeReplacesAndAppendAddsToTheEnd) {
    dir.Write("w.txt", "old content\r\n");
    int16_t no = OpenFile("w.txt", FileWrite);
    WriteLine(no, "new");
    CloseFile(no);
    no = OpenFile("w.txt", FileAppend);
    WriteLine(no, "more");
    CloseFile(no);
    no = OpenFile("fresh.txt", FileAppend);  // append creates a missing file
    ASSERT_NE(no, 0);
    WriteLine(no, "x");
    CloseFile(no);
    EXPECT_EQ(dir.Read("w.txt"), QByteArray("new\r\nmore\r\n"));
    EXPECT_EQ(dir.Read("fresh.txt"), QByteArray("x\r\n"));
}

TEST_F(Files, eachLineReachesTheFileBeforeWriteLineReturns) {
    const int16_t no = OpenFile("live.txt", FileAppend);
    WriteLine(no, "1.234E-03");
    EXPECT_EQ(dir.Read("live.txt"), QByteArray("1.234E-03\r\n"));  // still open
    SetLineEnd(no, "\n");
    WriteLine(no, "x");
    EXPECT_EQ(dir.Read("live.txt"), QByteArray("1.234E-03\r\nx\n"));
}

TEST_F(Files, numbersAreTheLowestFreeAndReusedAfterClose) {
    const int16_t a = OpenFile("a", FileWrite);
    const int16_t b = OpenFile("b", FileWrite);
    EXPECT_EQ(a, 1);
    EXPECT_EQ(b, 2);
    CloseFile(a);
    EXPECT_EQ(OpenFile("c", FileWrite), 1);
    CloseAllFiles();
    EXPECT_EQ(OpenFile("d", FileWrite), 1);
}

TEST_F(Files, openFailuresShowTheirMessageAndGiveZero) {
    QDir(dir.Path()).mkdir("folder");
    const struct {
        const char* name;
        QString file;
        int mode;
        QString message;
    } cases[] = {
        {"missing file for reading", "nothing.txt", FileRead, "File open failed"},
        {"missing folder", "no-such-folder/x.txt", FileWrite, "File open failed"},
        {"folder for reading", "folder", FileRead, "Access denied to file folder"},
        {"folder for writing", "folder", FileWrite, "Access denied to file folder"},
        {"empty name", "", FileRead, "File open failed"},
        {"unknown mode", "x.txt", 7, "File open failed"},
    };
    for (const auto& c : cases) {
        prompts.messages.clear();
        EXPECT_EQ(OpenFile(c.file, c.mode), 0) << c.name;
        EXPECT_EQ(prompts.Texts(), QStringList{c.message}) << c.name;
    }
}

TEST_F(Files, aFileAlreadyOpenForWritingIsBeingUsed) {
    const QString busy = "File same.txt is being used by other process. Operation canceld.";
    const struct {
        int first, second;
        bool allowed;
    } cases[] = {
        {FileWrite, FileWrite, false}, {FileAppend, FileRead, false}, {FileRead, FileAppend, false},
        {FileRead, FileRead, true},
    };
    dir.Write("same.txt", "line\r\n");
    for (const auto& c : cases) {
        CloseAllFiles();
        prompts.messages.clear();
        ASSERT_NE(OpenFile("same.txt", c.first), 0);
        const int16_t second = OpenFile("same.txt", c.second);
        EXPECT_EQ(second != 0, c.allowed) << c.first << "," << c.second;
        EXPECT_EQ(prompts.Texts(), c.allowed ? QStringList{} : QStringList{busy});
    }
    // The same file by another spelling of its path is the same file.
    CloseAllFiles();
    prompts.messages.clear();
    ASSERT_NE(OpenFile("same.txt", FileAppend), 0);
    EXPECT_EQ(OpenFile("./same.txt", FileWrite), 0);
    EXPECT_EQ(prompts.Texts(), QStringList{"File ./same.txt is being used by other process. Operation canceld."});
#ifndef Q_OS_WIN
    ASSERT_TRUE(QFile::link("same.txt", "alias.txt"));
    EXPECT_EQ(OpenFile("alias.txt", FileRead), 0);
    // A file created by the open is known by its final name too.
    ASSERT_NE(OpenFile("new.txt", FileWrite), 0);
    ASSERT_TRUE(QFile::link("new.txt", "new-alias.txt"));
    EXPECT_EQ(OpenFile("new-alias.txt", FileAppend), 0);
#endif
}

TEST_F(Files, allNumbersTakenFailsWithoutCrash) {
    for (int i = 1; i <= 255; ++i) ASSERT_EQ(OpenFile(QString("f%1").arg(i), FileWrite), i);
    EXPECT_EQ(OpenFile("one-too-many", FileWrite), 0);
    EXPECT_EQ(prompts.Texts(), QStringList{"File open failed"});
}

TEST_F(Files, wrongNumberOrDirectionIsRefused) {
    const int16_t w = OpenFile("w.txt", FileWrite);
    dir.Write("r.txt", "x\r\n");
    const int16_t r = OpenFile("r.txt", FileRead);
    QString line = "untouched";
    EXPECT_FALSE(ReadLine(w, line));
    EXPECT_FALSE(WriteLine(r, "x"));
    EXPECT_FALSE(WriteLine(99, "x"));
    EXPECT_FALSE(ReadLine(99, line));
    EXPECT_EQ(line, "untouched");
    CloseFile(99);  // harmless
    CloseFile(w);
    EXPECT_FALSE(WriteLine(w, "after close"));
}

TEST_F(Files, fileExistsOnlyForRegularFiles) {
    dir.Write("here.txt", "");
    QDir(dir.Path()).mkdir("folder");
    EXPECT_TRUE(FileExists("here.txt"));
    EXPECT_TRUE(FileExists(dir.Path("here.txt")));
    EXPECT_FALSE(FileExists("missing.txt"));
    EXPECT_FALSE(FileExists("folder"));
    EXPECT_FALSE(FileExists(""));
    EXPECT_FALSE(FileExists("no-such-folder/here.txt"));
}

}  // namespace
