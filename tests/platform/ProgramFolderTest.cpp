#include "platform/ProgramFolder.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDir>

TEST(ProgramFolder, isTheExecutableFolderAndJoinsWithOneSeparator) {
    EXPECT_EQ(platform::ProgramFolder(), QDir::toNativeSeparators(QCoreApplication::applicationDirPath()));
    const QString sep = QDir::separator();
    for (const QString& folder : {QString("work"), "work" + sep})
        EXPECT_EQ(platform::InFolder(folder, "kelvaro.pwr"), "work" + sep + "kelvaro.pwr");
    EXPECT_EQ(platform::InFolder("/", "kelvaro.pwr"), "/kelvaro.pwr");
}
