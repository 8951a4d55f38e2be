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
    EXPECT_EQ(dir.Read("w.txt"), QByteArray("first\r\n"));  // on disk before WriteLine returns
    WriteLine(no, "");
    CloseFile(no);
    no = OpenFile("w.txt", FileAppend);
    WriteLine(no, "12,5 µJ");
    CloseFile(no);
    EXPECT_EQ(dir.Read("w.txt"), QByteArray("first\r\n\r\n12,5 \xC2\xB5J\r\n"));
    EXPECT_EQ(ReadAll("w.txt"), (QStringList{"first", "", "12,5 µJ"}));
    // A line longer than 64 KiB is cut there; the next line follows.
    dir.Write("r.txt",
              "one\ntwo\r\n" + QByteArray(1 << 20, 'x') + "\r\nnext\r\n" + QByteArray(65536, 'y') + "\nend");
    EXPECT_EQ(ReadAll("r.txt"),
              (QStringList{"one", "two", QString(65536, 'x'), "next", QString(65536, 'y'), "end"}));
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(Files, onlyRegularFilesExistAndOpen) {
    QDir(dir.Path()).mkdir("folder");
    ASSERT_TRUE(QFile::link("/dev/null", "device"));
    dir.Write("here.txt", "");
    // file, mode -> message; none: opens and exists
    // clang-format off
    const std::tuple<QString, int, QString> cases[] = {
        {"here.txt", FileRead, ""}, {"nothing.txt", FileRead, "File open failed"},
        {"no-such-folder/x.txt", FileWrite, "File open failed"}, {"", FileRead, "File open failed"},
        {"folder", FileRead, "Access denied to file folder"}, {"folder", FileAppend, "Access denied to file folder"},
        {"device", FileRead, "Access denied to file device"}, {"device", FileWrite, "Access denied to file device"}};
    // clang-format on
    for (const auto& [file, mode, message] : cases) {
        prompts.messages.clear();
        const int16_t no = OpenFile(file, mode);
        CloseFile(no);
        EXPECT_EQ(no != 0, message.isEmpty()) << file.toStdString();
        EXPECT_EQ(prompts.Texts().join('|'), message) << file.toStdString();
        EXPECT_TRUE(mode != FileRead || FileExists(file) == message.isEmpty()) << file.toStdString();
    }
}

TEST_F(Files, aFileOpenForWritingIsBeingUsedUnderAnyOfItsNames) {
    const QString busy = " is being used by other process. Operation canceld.";
    // open first, then the second name in its mode -> allowed
    const std::tuple<int, QString, int, bool> cases[] = {
        {FileWrite, "same.txt", FileWrite, false},    {FileAppend, "same.txt", FileRead, false},
        {FileRead, "same.txt", FileAppend, false},    {FileRead, "same.txt", FileRead, true},
        {FileAppend, "./same.txt", FileWrite, false}, {FileAppend, "alias.txt", FileRead, false},
        {FileReplace, "same.txt", FileReplace, false}};
    dir.Write("same.txt", "line\r\n");
    ASSERT_TRUE(QFile::link("same.txt", "alias.txt"));
    for (const auto& [first, second, mode, allowed] : cases) {
        CloseAllFiles();
        prompts.messages.clear();
        ASSERT_NE(OpenFile("same.txt", first), 0);
        EXPECT_EQ(OpenFile(second, mode) != 0, allowed) << second.toStdString() << first << mode;
        EXPECT_EQ(prompts.Texts().join('|'), allowed ? QString() : "File " + second + busy);
    }
    ASSERT_NE(OpenFile("new.txt", FileWrite), 0);  // known by its final name once created
    ASSERT_TRUE(QFile::link("new.txt", "new-alias.txt"));
    EXPECT_EQ(OpenFile("new-alias.txt", FileAppend), 0);
}

}  // namespace
