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
    // A line longer than 64 KiB is cut there; the next line follows.
    dir.Write("long.txt", QByteArray(1 << 20, 'x') + "\r\nnext\r\n" + QByteArray(65536, 'y') + "\n");
    EXPECT_EQ(ReadAll("long.txt"), (QStringList{QString(65536, 'x'), "next", QString(65536, 'y')}));
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

TEST_F(Files, numbersAreTheLowestFree) {
    EXPECT_EQ(OpenFile("a", FileWrite), 1);
    EXPECT_EQ(OpenFile("b", FileWrite), 2);
    CloseFile(1);
    EXPECT_EQ(OpenFile("c", FileWrite), 1);
}

TEST_F(Files, onlyRegularFilesExistAndOpen) {
    QDir(dir.Path()).mkdir("folder");
    ASSERT_TRUE(QFile::link("/dev/null", "device"));
    dir.Write("here.txt", "");
    const struct {
        QString file;
        int mode;
        QString message;  // empty: opens and exists
    } cases[] = {{"here.txt", FileRead, ""},
                 {"nothing.txt", FileRead, "File open failed"},
                 {"no-such-folder/x.txt", FileWrite, "File open failed"},
                 {"", FileRead, "File open failed"},
                 {"folder", FileRead, "Access denied to file folder"},
                 {"folder", FileAppend, "Access denied to file folder"},
                 {"device", FileRead, "Access denied to file device"},
                 {"device", FileWrite, "Access denied to file device"}};
    for (const auto& c : cases) {
        prompts.messages.clear();
        const int16_t no = OpenFile(c.file, c.mode);
        CloseFile(no);
        EXPECT_EQ(no != 0, c.message.isEmpty()) << c.file.toStdString();
        EXPECT_EQ(prompts.Texts(), c.message.isEmpty() ? QStringList{} : QStringList{c.message})
            << c.file.toStdString();
        if (c.mode == FileRead) EXPECT_EQ(FileExists(c.file), c.message.isEmpty()) << c.file.toStdString();
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
        {FileWrite, "same.txt", FileWrite, false},     {FileAppend, "same.txt", FileRead, false},
        {FileRead, "same.txt", FileAppend, false},     {FileRead, "same.txt", FileRead, true},
        {FileAppend, "./same.txt", FileWrite, false},  {FileAppend, "alias.txt", FileRead, false},
        {FileReplace, "same.txt", FileReplace, false},
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

}  // namespace
