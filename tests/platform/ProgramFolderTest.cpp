#include "platform/Documents.h"
#include "platform/ProgramFolder.h"

#include <gtest/gtest.h>
#include <QDir>
#include <set>

using platform::DecideFolders;
using platform::FolderFacts;

// One rule for the settings, the traffic log and the working files: a copy
// of its own keeps them all in the folder it was started in ("" below); an
// installed program follows the desktop's folders.
TEST(ProgramFolder, installedProgramsUseTheDesktopFoldersOthersTheCurrentOne) {
    const QString home = "/home/ann";
    struct Case {
        const char* what;
        FolderFacts facts;
        bool installed;
        QString settings, state, work;
    };
    const Case cases[] = {
        {"build folder", {"/home/ann/src/build/src/app", true, home, "", "", ""}, false, "", "", ""},
        {"build folder, a save folder known",
         {"/srv/k/build", true, home, "", "", "/data"},
         false,
         "",
         "",
         ""},
        {"read-only folder",
         {"/home/ann/ro", false, home, "", "", ""},
         true,
         "/home/ann/.config/kelvaro32",
         "/home/ann/.local/state/kelvaro32",
         "/home/ann"},
        {"/usr/bin writable by root",
         {"/usr/bin", true, home, "", "", ""},
         true,
         "/home/ann/.config/kelvaro32",
         "/home/ann/.local/state/kelvaro32",
         "/home/ann"},
        {"/usr/local/bin with XDG folders set",
         {"/usr/local/bin", true, home, "/cfg", "/st/", "/data/runs"},
         true,
         "/cfg/kelvaro32",
         "/st/kelvaro32",
         "/data/runs"},
        {"relative XDG folders are ignored",
         {"/opt/kelvaro/bin", true, home, "cfg", "st", ""},
         true,
         "/home/ann/.config/kelvaro32",
         "/home/ann/.local/state/kelvaro32",
         "/home/ann"},
        {"no home folder to go to", {"/usr/bin", false, "", "", "", ""}, false, "", "", ""},
        {"a folder named like a system one", {"/usrdata/bin", true, home, "", "", ""}, false, "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const platform::ProgramFolders f = DecideFolders(c.facts);
        EXPECT_EQ(f.installed, c.installed);
        EXPECT_EQ(f.settings, QDir::toNativeSeparators(c.settings));
        EXPECT_EQ(f.state, QDir::toNativeSeparators(c.state));
        EXPECT_EQ(f.work, QDir::toNativeSeparators(c.work));
    }
}

// The test programs run from their build folder: everything in the current
// directory, as the tests and the demo folder rely on.
TEST(ProgramFolder, aBuildCopyKeepsEverythingInTheCurrentDirectory) {
    const platform::ProgramFolders f = DecideFolders(platform::FolderFactsNow());
    EXPECT_FALSE(f.installed);
    EXPECT_EQ(platform::InFolder(f.settings, "kelvaro.cfg"), "kelvaro.cfg");
    EXPECT_EQ(platform::ShownFolder(f.work), QDir::toNativeSeparators(QDir::currentPath()));
    const QString sep = QDir::separator();
    for (const QString& folder : {QString("work"), "work" + sep})
        EXPECT_EQ(platform::InFolder(folder, "kelvaro.pwr"), "work" + sep + "kelvaro.pwr");
}

// Installed under /usr/bin the guide is in /usr/share/doc/kelvaro32; a build
// finds the one in its source tree.
TEST(UserGuide, installedCopyFirstThenTheSourceTree) {
    const QStringList c = platform::UserGuideCandidates("/usr/bin", "/src/kelvaro32");
    ASSERT_EQ(c,
              QStringList({"/usr/share/doc/kelvaro32/user-guide.md", "/src/kelvaro32/docs/user-guide.md"}));
    struct Case {
        std::set<QString> present;
        QString found;
    };
    const Case cases[] = {
        {{c[0], c[1]}, c[0]},
        {{c[1]}, c[1]},
        {{}, ""},
    };
    for (const Case& k : cases)
        EXPECT_EQ(platform::FirstExisting(c, [&](const QString& p) { return k.present.count(p) > 0; }),
                  k.found);
    EXPECT_TRUE(platform::UserGuidePath().endsWith("docs/user-guide.md")) << "this build's own guide";
}
