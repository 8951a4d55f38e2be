#pragma once

#include <QString>

namespace platform {

// The local date and time for a file name, "2026-12-06-231500": names made
// with it sort in time order and need no characters a file system refuses.
QString FileStamp();

}  // namespace platform
