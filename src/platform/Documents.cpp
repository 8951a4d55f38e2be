#include "platform/Documents.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace platform {

namespace {
DocumentOpener& Opener() {
    static DocumentOpener opener;
    return opener;
}
}  // namespace

bool OpenDocument(const QString& path) {
    if (Opener()) return Opener()(path);
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void setDocumentOpener(DocumentOpener opener) {
    Opener() = std::move(opener);
}

QStringList UserGuideCandidates(const QString& executableFolder, const QString& sourceFolder) {
    QStringList candidates;
    const QString name = QStringLiteral("user-guide.md");
    if (!executableFolder.isEmpty())
        candidates << QDir::cleanPath(executableFolder + QStringLiteral("/../share/doc/kelvaro32/") + name);
    if (!sourceFolder.isEmpty())
        candidates << QDir::cleanPath(sourceFolder + QStringLiteral("/docs/") + name);
    return candidates;
}

QString FirstExisting(const QStringList& candidates, const std::function<bool(const QString&)>& exists) {
    for (const QString& c : candidates)
        if (exists(c)) return c;
    return QString();
}

QString UserGuidePath() {
#ifdef KELVARO_SOURCE_DIR
    const QString source = QStringLiteral(KELVARO_SOURCE_DIR);
#else
    const QString source;
#endif
    const QString exe = QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
    return FirstExisting(UserGuideCandidates(exe, source),
                         [](const QString& p) { return QFileInfo(p).isFile(); });
}

}  // namespace platform
