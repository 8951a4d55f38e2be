#pragma once

#include <QString>

namespace platform {

// Both names reach the same file, compared as the file system compares
// names: letter case counts where it tells files apart (Linux) and not
// where it does not (Windows, macOS). Relative names count from the
// current folder; links are followed when both files exist.
bool SameFile(const QString& a, const QString& b);

}  // namespace platform
