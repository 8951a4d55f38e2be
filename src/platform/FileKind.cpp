#include "platform/FileKind.h"

#include <QFileInfo>

namespace platform {

FileKind KindOfFile(const QString& path) {
    if (path.isEmpty()) return FileKind::Missing;
    const QFileInfo info(path);
    if (!info.exists()) return FileKind::Missing;
    if (info.isDir()) return FileKind::Directory;
    // Qt counts only regular files as files; FIFOs, devices and sockets are not.
    return info.isFile() ? FileKind::Regular : FileKind::Other;
}

}  // namespace platform
