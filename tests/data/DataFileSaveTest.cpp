#include "data/DataFileSave.h"
#include "data/WorkFile.h"
#include "state/Files.h"
#include "support/DiskFull.h"
#include "support/ProgramState.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <stdexcept>

const QByteArray kHeader = "Power, in Watts \t Time, in Seconds \t Head: TH 30; s/n 1234";
const QByteArray kWorkBytes = kHeader + "\r\n0.5               \t1.00\r\n";
const QByteArray kNotes = "'first notes\r\n";

class DataFileSaveTest : public ::testing::Test {
protected:
    void Save(const QString& name, bool logToFile) {
        SaveLoggedData(
            name, logToFile, dir.Path("kelvaro.pwr"), kHeader, [] { WorkFile(3, "'first notes"); },
            writeData);
    }
    TempDir dir;
    ScriptedPrompts prompts;
    ProgramStateScope fresh;
    std::function<void()> writeData = [] { WorkFile(3, "0.0012            \t1.50"); };
};

// A fresh file and a copy of the working file: the save tests of every logging engine.
TEST_F(DataFileSaveTest, theWorkingFileItselfGetsTheNotesUnderAnyOfItsNames) {
    // Saved under the working file's name, the notes are appended to it. Names are compared as the
    // file system compares them: on one that tells letter case apart, KELVARO.PWR is another file
    // and gets the copy.
    for (const QString name : {"kelvaro.pwr", "./kelvaro.pwr", "KELVARO.PWR"}) {
        QFile::remove(dir.Path("KELVARO.PWR"));
        dir.Write("kelvaro.pwr", kWorkBytes);
        const bool sameFile = name != "KELVARO.PWR" || QFile::exists(dir.Path(name));
        Save(name, true);
        EXPECT_EQ(dir.Read("kelvaro.pwr"), sameFile ? kWorkBytes + kNotes : kWorkBytes) << name.toStdString();
        EXPECT_EQ(dir.Read(name), kWorkBytes + kNotes) << name.toStdString();
    }
}

// Every failure throws, told already only when the open failed (its own
// message), and leaves no file open. A line that does not reach the file
// (here a full disk) is a failure however it is written, and the file the
// save was to replace stays whole, with nothing left beside it.
TEST_F(DataFileSaveTest, failuresThrowToldOnlyByAFailedOpenAndLeaveTheOldFileWhole) {
    auto told = [&](const QString& name, bool logToFile) {  // 1 told, 0 untold, -1 no error
        try {
            Save(name, logToFile);
            return -1;
        } catch (const DataFileError& e) {
            EXPECT_EQ(WorkFileNumber(), 0);
            return int(e.Reported());
        }
    };
    const QByteArray old = "an older file of that name\r\n";
    dir.Write("out.pwr", old);
    EXPECT_EQ(told(dir.Path("out.pwr"), true), 0);  // the working file is missing
    EXPECT_EQ(told("kelvaro.pwr", true), 0);
    EXPECT_FALSE(QFile::exists(dir.Path("kelvaro.pwr")));
    dir.Write("kelvaro.pwr", kWorkBytes);
    EXPECT_EQ(told(dir.Path(), false), 1);  // a folder is refused at any open, with its message
    EXPECT_EQ(prompts.messages.size(), 1u);
    {
        const DiskFullAfter full(kHeader.size());
        EXPECT_EQ(told(dir.Path("out.pwr"), false), 0);  // a line does not reach the disk
        EXPECT_EQ(told(dir.Path("out.pwr"), true), 0);   // nor does the copy
        EXPECT_EQ(told("kelvaro.pwr", true), 0);         // nor the notes appended to the working file
    }
    EXPECT_EQ(dir.Read("out.pwr"), old);
    EXPECT_EQ(QDir(dir.Path()).entryList(QDir::Files).size(), 2) << "no temporary file stays";
    EXPECT_EQ(told("/dev/full", false), 1);         // a device is refused at the open, with its message
    EXPECT_FALSE(QFileInfo("/dev/full").isFile());  // and never replaced by a file
    writeData = [] { throw std::runtime_error("conversion"); };
    EXPECT_THROW(Save(dir.Path("out.pwr"), false), std::runtime_error);
    EXPECT_EQ(std::pair(WorkFileNumber(), dir.Read("out.pwr")), std::pair(int16_t(0), old));
}

TEST_F(DataFileSaveTest, workFileIsCreatedAppendedWrittenClosedAndDeletedOnlyOnceOpenedThisRun) {
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
    EXPECT_EQ(dir.Read("kelvaro.pwr") + "|" + dir.Read("other.txt"), "header\r\n0.5\t1.00\r\n|");
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
    EXPECT_EQ(std::pair(QFile::exists(dir.Path("kelvaro.dpw")), WorkFileNumber()),
              std::pair(false, int16_t(0)));
}
