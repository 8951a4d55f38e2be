#include "platform/FileStamp.h"

#include <QDateTime>

namespace platform {

QString FileStamp() {
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
}

}  // namespace platform
