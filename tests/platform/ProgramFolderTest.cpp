#include "platform/Documents.h"
#include "platform/ProgramFolder.h"

#include <gtest/gtest.h>
#include <QDir>

using platform::FolderFacts;

// One rule for the settings, the traffic log and the working files: a copy
// of its own keeps them all in the folder it was started in ("here"); an
// installed program follows the desktop's folders.
TEST(ProgramFolder, installedProgramsUseTheDesktopFoldersOthersTheCurrentOne) {
    const QString home = "/home/ann", xdg = "/home/ann/.config/kelvaro32 /home/ann/.local/state/kelvaro32 ";
    // clang-format off
    const struct { FolderFacts facts; QString folders; } cases[] = {  // settings state work, or "here"
        {{"/home/ann/src/build/src/app", true, home, "", "", ""}, "here"},
        {{"/srv/k/build", true, home, "", "", "/data"}, "here"},
        {{"/home/ann/ro", false, home, "", "", ""}, xdg + home},                   // not writable
        {{"/usr/bin", true, home, "", "", ""}, xdg + home},                        // writable by root
        {{"/usr/local/bin", true, home, "/cfg", "/st/", "/data/runs"}, "/cfg/kelvaro32 /st/kelvaro32 /data/runs"},
        {{"/opt/kelvaro/bin", true, home, "cfg", "st", ""}, xdg + home},           // relative XDG: ignored
        {{"/usr/bin", false, "", "", "", ""}, "here"},                              // no home to go to
        {{"/usrdata/bin", true, home, "", "", ""}, "here"},                         // not a system folder
    };
    // clang-format on
    for (const auto& c : cases) {
        const platform::ProgramFolders f = platform::DecideFolders(c.facts);
        EXPECT_EQ(f.installed ? QStringList({f.settings, f.state, f.work}).join(' ') : "here",
                  QDir::toNativeSeparators(c.folders))
            << c.facts.executableFolder.toStdString();
        EXPECT_EQ(QStringList({f.settings, f.state, f.work}).join("").isEmpty(), !f.installed);
    }
}

// A file goes in its folder with one separator between, or in the current
// directory where the folder is none (a build copy: the tests find
// kelvaro.cfg and kelvaro.ports in theirs).
TEST(ProgramFolder, filesGoInTheirFolderWithOneSeparator) {
    const QString sep = QDir::separator();
    EXPECT_EQ(platform::InFolder("", "kelvaro.cfg"), "kelvaro.cfg");
    for (const QString& folder : {QString("work"), "work" + sep})
        EXPECT_EQ(platform::InFolder(folder, "kelvaro.pwr"), "work" + sep + "kelvaro.pwr");
}

// Installed under /usr/bin the guide is in /usr/share/doc/kelvaro32; a build
// finds the one in its source tree.
TEST(UserGuide, installedCopyFirstThenTheSourceTree) {
    const QStringList c = platform::UserGuideCandidates("/usr/bin", "/src/k");
    ASSERT_EQ(c, QStringList({"/usr/share/doc/kelvaro32/user-guide.md", "/src/k/docs/user-guide.md"}));
    EXPECT_EQ(platform::FirstExisting(c, [](const QString&) { return true; }), c[0]);
    EXPECT_EQ(platform::FirstExisting(c, [&](const QString& p) { return p == c[1]; }), c[1]);
    EXPECT_EQ(platform::FirstExisting(c, [](const QString&) { return false; }), "");
}
