#include "platform/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <gtest/gtest.h>

namespace {

TEST(ProgramFolder, isTheWritableExecutableFolderWithoutTrailingSeparator) {
    // The test program's own folder is the build tree, which is writable.
    EXPECT_EQ(platform::ProgramFolder(), QDir::toNativeSeparators(QCoreApplication::applicationDirPath()));
    EXPECT_FALSE(platform::ProgramFolder().endsWith(QDir::separator()));
}

TEST(ProgramFolder, inFolderJoinsWithOneSeparator) {
    const QString sep = QDir::separator();
    const struct {
        QString folder, name, expected;
    } cases[] = {
        {"work", "kelvaro.pwr", "work" + sep + "kelvaro.pwr"},
        {"work" + sep, "kelvaro.pwr", "work" + sep + "kelvaro.pwr"},
        {"/", "kelvaro.pwr", "/kelvaro.pwr"},
        {"", "kelvaro.pwr", "kelvaro.pwr"},
    };
    for (const auto& c : cases) EXPECT_EQ(platform::InFolder(c.folder, c.name), c.expected) << c.folder.toStdString();
}

}  // namespace
