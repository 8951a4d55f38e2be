#pragma once

#include <QString>

namespace platform {

// What a path names, links followed. Only a regular file can be read to its
// end or replaced: a FIFO blocks its reader, a device may never end.
enum class FileKind { Missing, Regular, Directory, Other };

FileKind KindOfFile(const QString& path);

}  // namespace platform
