#include "state/RecentFiles.h"

#include <gtest/gtest.h>
#include <QDir>

// The last five files opened or saved, newest first, each once; a save also
// names the folder an installed program puts its working files in. What is
// written reads back the same; a hand-edited list is read within bounds.
TEST(RecentFiles, newestFirstOnceEachAtMostFive) {
    const std::tuple<const char*, bool, QStringList, QString> steps[] = {
        // path, saved -> files, save folder
        {"/d/a.pwr", false, {"/d/a.pwr"}, ""},
        {"/d/b.nrg", true, {"/d/b.nrg", "/d/a.pwr"}, "/d"},
        {"/d/x/../a.pwr", false, {"/d/a.pwr", "/d/b.nrg"}, "/d"},
        {"/e/c.dpw", false, {"/e/c.dpw", "/d/a.pwr", "/d/b.nrg"}, "/d"},
        {"/e/d.dnr", false, {"/e/d.dnr", "/e/c.dpw", "/d/a.pwr", "/d/b.nrg"}, "/d"},
        {"/f/e.pwr", true, {"/f/e.pwr", "/e/d.dnr", "/e/c.dpw", "/d/a.pwr", "/d/b.nrg"}, "/f"},
        {"/f/g.pwr", false, {"/f/g.pwr", "/f/e.pwr", "/e/d.dnr", "/e/c.dpw", "/d/a.pwr"}, "/f"},
    };
    RecentFiles r;
    for (const auto& [path, saved, files, saveFolder] : steps) {
        AddRecentFile(r, path, saved);
        QStringList expected;
        for (const QString& f : files) expected << QDir::toNativeSeparators(f);
        EXPECT_EQ(r.files, expected) << path;
        EXPECT_EQ(r.lastSaveFolder, QDir::toNativeSeparators(saveFolder)) << path;
        const RecentFiles back = ParseRecentFiles(RecentFilesText(r));
        EXPECT_TRUE(back.files == r.files && back.lastSaveFolder == r.lastSaveFolder) << path;
    }
    const RecentFiles edited =
        ParseRecentFiles("# x\r\n/a/1\r\n\n/a/1\nsaved-in /a\n/a/2\n/a/3\n/a/4\n/a/5\n/a/6\n");
    EXPECT_EQ(edited.files, QStringList({"/a/1", "/a/2", "/a/3", "/a/4", "/a/5"}));
    EXPECT_EQ(edited.lastSaveFolder, "/a");
}
