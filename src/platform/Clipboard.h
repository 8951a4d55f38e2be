#pragma once

#include <QString>

namespace platform {

// Puts text on the system clipboard.
void SetClipboardText(const QString& text);

}  // namespace platform
