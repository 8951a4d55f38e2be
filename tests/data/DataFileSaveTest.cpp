#include "data/DataFileSave.h"
#include "data/WorkFile.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

#include <QFile>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

const QByteArray kHeader = "Power, in Watts \t Time, in Seconds \t Head: TH 30; s/n 1234";
const QByteArray kWorkBytes = kHeader + "\r\n0.5               \t1.00\r\n0.6               \t2.00\r\n";

class DataFileSaveTest : public ::testing::Test {
protected:
    void SetUp() override { ResetWorkFile(); }
    void TearDown() override { ResetWorkFile(); }

    void Save(const QString& name, bool logToFile) {
        SaveLoggedData(name, logToFile, dir.Path("kelvaro.pwr"), kHeader, writeNotes, writeData);
    }

    TempDir dir;
    ScriptedPrompts prompts;
    std::function<void()> writeNotes = [] { WorkFile(3, "'first notes"); };
    std::function<void()> writeData = [] {
        WorkFile(3, "0.0012            \t1.50");
        WorkFile(3, "Overrange         \t2.00");
    };
};

TEST_F(DataFileSaveTest, freshFileHoldsHeaderNotesThenData) {
    dir.Write("out.pwr", "older and longer content that must go\r\n");
    Save(dir.Path("out.pwr"), false);
    EXPECT_EQ(dir.Read("out.pwr"), kHeader + "\r\n'first notes\r\n0.0012            \t1.50\r\n"
                                             "Overrange         \t2.00\r\n");
    EXPECT_EQ(WorkFileNumber(), 0);
}

TEST_F(DataFileSaveTest, workingFileCopyHoldsHeaderDataThenNotes) {
    dir.Write("kelvaro.pwr", kWorkBytes);
    dir.Write("out.pwr", "an older file of that name");
    Save(dir.Path("out.pwr"), true);
    EXPECT_EQ(dir.Read("out.pwr"), kWorkBytes + "'first notes\r\n");
    EXPECT_EQ(dir.Read("kelvaro.pwr"), kWorkBytes);
    EXPECT_EQ(WorkFileNumber(), 0);
}

TEST_F(DataFileSaveTest, savingUnderTheWorkingFileNameAppendsNotesToItInAnyLetterCase) {
    for (const QString name : {"kelvaro.pwr", "KELVARO.PWR", "./Kelvaro.Pwr"}) {
        dir.Write("kelvaro.pwr", kWorkBytes);
        Save(name, true);
        EXPECT_EQ(dir.Read("kelvaro.pwr"), kWorkBytes + "'first notes\r\n") << name.toStdString();
        EXPECT_FALSE(name != "kelvaro.pwr" && QFile::exists(dir.Path(name))) << name.toStdString();
    }
}

TEST_F(DataFileSaveTest, missingWorkingFileIsAnErrorAndLeavesTheTargetAlone) {
    dir.Write("out.pwr", "kept");
    try {
        Save(dir.Path("out.pwr"), true);
        FAIL() << "no error";
    } catch (const DataFileError& e) {
        EXPECT_FALSE(e.Reported());
    }
    EXPECT_EQ(dir.Read("out.pwr"), "kept");
    // Under its own name there is nothing to append to either.
    EXPECT_THROW(Save("kelvaro.pwr", true), DataFileError);
    EXPECT_FALSE(QFile::exists(dir.Path("kelvaro.pwr")));
}

TEST_F(DataFileSaveTest, targetThatCannotBeOpenedIsReportedOnce) {
    dir.Write("kelvaro.pwr", kWorkBytes);
    // A folder of that name: the open fails and says so itself.
    for (bool logToFile : {false, true}) {
        prompts.messages.clear();
        try {
            SaveLoggedData(dir.Path(), logToFile, dir.Path("kelvaro.pwr"), kHeader, writeNotes, writeData);
            FAIL() << "no error";
        } catch (const DataFileError& e) {
            // Copying onto a folder fails before any open: that one is ours to report.
            EXPECT_EQ(e.Reported(), !logToFile);
            EXPECT_EQ(prompts.messages.size(), logToFile ? 0u : 1u);
        }
    }
    EXPECT_EQ(dir.Read("kelvaro.pwr"), kWorkBytes);
}

TEST_F(DataFileSaveTest, failingWriterLeavesNoFileOpen) {
    writeData = [] {
        WorkFile(3, "0.5               \t1.00");
        throw std::runtime_error("conversion");
    };
    EXPECT_THROW(Save(dir.Path("out.pwr"), false), std::runtime_error);
    EXPECT_EQ(WorkFileNumber(), 0);
    WorkFile(3, "stray");
    EXPECT_EQ(dir.Read("out.pwr"), kHeader + "\r\n'first notes\r\n0.5               \t1.00\r\n");
}

}  // namespace
