#include "platform/SameFile.h"

#include <QDir>
#include <QFileInfo>

namespace platform {
namespace {

#if defined(Q_OS_WIN) || defined(Q_OS_DARWIN)
constexpr Qt::CaseSensitivity kNameCase = Qt::CaseInsensitive;
#else
constexpr Qt::CaseSensitivity kNameCase = Qt::CaseSensitive;
#endif

QString Spelling(const QFileInfo& info) {
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

}  // namespace

bool SameFile(const QString& a, const QString& b) {
    return Spelling(QFileInfo(a)).compare(Spelling(QFileInfo(b)), kNameCase) == 0;
}

}  // namespace platform
