#include "platform/ProgramFolder.h"
#include "state/RecentFiles.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

// The last five files opened or saved, newest first, each once; a save also
// names the folder an installed program puts its working files in.
TEST(RecentFiles, newestFirstOnceEachAtMostFive) {
    struct Step {
        const char* path;
        bool saved;
        QStringList files;
        QString saveFolder;
    };
    const Step steps[] = {
        {"/d/a.pwr", false, {"/d/a.pwr"}, ""},
        {"/d/b.nrg", true, {"/d/b.nrg", "/d/a.pwr"}, "/d"},
        {"/d/x/../a.pwr", false, {"/d/a.pwr", "/d/b.nrg"}, "/d"},
        {"/e/c.dpw", false, {"/e/c.dpw", "/d/a.pwr", "/d/b.nrg"}, "/d"},
        {"/e/d.dnr", false, {"/e/d.dnr", "/e/c.dpw", "/d/a.pwr", "/d/b.nrg"}, "/d"},
        {"/f/e.pwr", true, {"/f/e.pwr", "/e/d.dnr", "/e/c.dpw", "/d/a.pwr", "/d/b.nrg"}, "/f"},
        {"/f/g.pwr", false, {"/f/g.pwr", "/f/e.pwr", "/e/d.dnr", "/e/c.dpw", "/d/a.pwr"}, "/f"},
    };
    RecentFiles r;
    for (const Step& s : steps) {
        SCOPED_TRACE(s.path);
        AddRecentFile(r, s.path, s.saved);
        QStringList expected;
        for (const QString& f : s.files) expected << QDir::toNativeSeparators(f);
        EXPECT_EQ(r.files, expected);
        EXPECT_EQ(r.lastSaveFolder, QDir::toNativeSeparators(s.saveFolder));
        // What is written reads back the same.
        const RecentFiles back = ParseRecentFiles(RecentFilesText(r));
        EXPECT_EQ(back.files, r.files);
        EXPECT_EQ(back.lastSaveFolder, r.lastSaveFolder);
    }
}

TEST(RecentFiles, aHandEditedListIsReadWithinItsBounds) {
    const RecentFiles r =
        ParseRecentFiles("# comment\r\n/a/1.pwr\r\n\n/a/1.pwr\nsaved-in /a\n/a/2\n/a/3\n/a/4\n/a/5\n/a/6\n");
    EXPECT_EQ(r.files, QStringList({"/a/1.pwr", "/a/2", "/a/3", "/a/4", "/a/5"}));
    EXPECT_EQ(r.lastSaveFolder, "/a");
}

// Kept beside kelvaro.cfg, and a saved file's folder becomes the working
// folder of the next start of an installed program.
TEST(RecentFiles, keptInTheSettingsFolderAndReadAgainAtTheNextStart) {
    TempDir dir;
    platform::SetProgramFolders({});
    ResetRecentFiles();
    dir.Write("old.pwr", "x");
    RememberDataFile(dir.Path("old.pwr"), true);
    ResetRecentFiles();
    EXPECT_EQ(Recent().files, QStringList({QDir::toNativeSeparators(dir.Path("old.pwr"))}));
    EXPECT_TRUE(dir.Read("kelvaro.recent").contains("saved-in "));
    ForgetDataFile(Recent().files.first());
    ResetRecentFiles();
    EXPECT_TRUE(Recent().files.isEmpty());
    ResetRecentFiles();
}
