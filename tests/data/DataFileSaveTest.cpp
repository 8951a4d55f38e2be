#include "data/DataFileSave.h"
#include "data/WorkFile.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <QFile>
#include <stdexcept>

namespace {

const QByteArray kHeader = "Power, in Watts \t Time, in Seconds \t Head: TH 30; s/n 1234";
const QByteArray kWorkBytes = kHeader + "\r\n0.5               \t1.00\r\n";
const QByteArray kNotes = "'first notes\r\n";
const QByteArray kData = "0.0012            \t1.50\r\nOverrange         \t2.00\r\n";

class DataFileSaveTest : public ::testing::Test {
protected:
    void SetUp() override { ResetWorkFile(); }
    void TearDown() override { ResetWorkFile(); }
    void Save(const QString& name, bool logToFile) {
        SaveLoggedData(
            name, logToFile, dir.Path("kelvaro.pwr"), kHeader, [] { WorkFile(3, "'first notes"); },
            writeData);
    }

    TempDir dir;
    ScriptedPrompts prompts;
    std::function<void()> writeData = [] {
        WorkFile(3, "0.0012            \t1.50");
        WorkFile(3, "Overrange         \t2.00");
    };
};

TEST_F(DataFileSaveTest, freshFileHoldsHeaderNotesDataAndCopyHoldsHeaderDataNotes) {
    dir.Write("kelvaro.pwr", kWorkBytes);
    dir.Write("out.pwr", "an older and longer file of that name\r\n");
    Save(dir.Path("out.pwr"), false);
    EXPECT_EQ(dir.Read("out.pwr"), kHeader + "\r\n" + kNotes + kData);
    Save(dir.Path("out.pwr"), true);
    EXPECT_EQ(dir.Read("out.pwr"), kWorkBytes + kNotes);
    EXPECT_EQ(dir.Read("kelvaro.pwr"), kWorkBytes);
    EXPECT_EQ(WorkFileNumber(), 0);
}

TEST_F(DataFileSaveTest, savingUnderTheWorkingFileNameAppendsNotesToItInAnyLetterCase) {
    for (const QString name : {"kelvaro.pwr", "KELVARO.PWR", "./Kelvaro.Pwr"}) {
        dir.Write("kelvaro.pwr", kWorkBytes);
        Save(name, true);
        EXPECT_EQ(dir.Read("kelvaro.pwr"), kWorkBytes + kNotes) << name.toStdString();
        EXPECT_EQ(QDir(dir.Path()).entryList(QDir::Files), QStringList{"kelvaro.pwr"});
    }
}

TEST_F(DataFileSaveTest, missingWorkingFileIsAnUnreportedErrorAndLeavesTheTargetAlone) {
    dir.Write("out.pwr", "kept");
    for (const QString& name : {dir.Path("out.pwr"), QString("kelvaro.pwr")}) {
        try {
            Save(name, true);
            ADD_FAILURE() << "no error for " << name.toStdString();
        } catch (const DataFileError& e) {
            EXPECT_FALSE(e.Reported());
        }
    }
    EXPECT_EQ(dir.Read("out.pwr"), "kept");
    EXPECT_FALSE(QFile::exists(dir.Path("kelvaro.pwr")));
}

TEST_F(DataFileSaveTest, targetThatCannotBeOpenedIsReportedByTheOpenAlone) {
    dir.Write("kelvaro.pwr", kWorkBytes);
    try {
        Save(dir.Path(), false);  // a folder
        ADD_FAILURE() << "no error";
    } catch (const DataFileError& e) {
        EXPECT_TRUE(e.Reported());
        EXPECT_EQ(prompts.messages.size(), 1u);
    }
    EXPECT_THROW(Save(dir.Path(), true), DataFileError);  // the copy fails first
}

TEST_F(DataFileSaveTest, failingWriterLeavesNoFileOpen) {
    writeData = [] { throw std::runtime_error("conversion"); };
    EXPECT_THROW(Save(dir.Path("out.pwr"), false), std::runtime_error);
    EXPECT_EQ(WorkFileNumber(), 0);
}

}  // namespace
