#include "platform/ProgramFolder.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDir>

TEST(ProgramFolder, isTheWritableExecutableFolderAndJoinsWithOneSeparator) {
    // The test program's folder is the build tree, which is writable.
    EXPECT_EQ(platform::ProgramFolder(), QDir::toNativeSeparators(QCoreApplication::applicationDirPath()));
    const QString sep = QDir::separator();
    EXPECT_EQ(platform::InFolder("work", "kelvaro.pwr"), "work" + sep + "kelvaro.pwr");
    EXPECT_EQ(platform::InFolder("work" + sep, "kelvaro.pwr"), "work" + sep + "kelvaro.pwr");
    EXPECT_EQ(platform::InFolder("/", "kelvaro.pwr"), "/kelvaro.pwr");
}
