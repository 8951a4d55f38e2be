#include "platform/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace platform {

QString ProgramFolder() {
    if (QCoreApplication::instance()) {
        const QString exeDir = QCoreApplication::applicationDirPath();
        const QFileInfo info(exeDir);
        if (!exeDir.isEmpty() && info.isDir() && info.isWritable()) return QDir::toNativeSeparators(exeDir);
    }
    return QDir::toNativeSeparators(QDir::currentPath());
}

QString InFolder(const QString& folder, const QString& name) {
    if (folder.isEmpty()) return name;
    if (folder.endsWith(QLatin1Char('/')) || folder.endsWith(QDir::separator())) return folder + name;
    return folder + QDir::separator() + name;
}

}  // namespace platform
