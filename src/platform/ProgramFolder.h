#pragma once

#include <QString>

namespace platform {

// Folder of the working data files: the executable's folder when it is
// writable, otherwise the current directory. No trailing separator.
QString ProgramFolder();

// folder + native separator + name
QString InFolder(const QString& folder, const QString& name);

}  // namespace platform
