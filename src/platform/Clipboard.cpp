#include "platform/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace platform {

void SetClipboardText(const QString& text) {
    if (QClipboard* c = QGuiApplication::clipboard()) c->setText(text);
}

}  // namespace platform
