#include "state/RecentFiles.h"

#include "platform/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <optional>

namespace {

const QString kSavedIn = QStringLiteral("saved-in ");
constexpr qint64 kMaxFileBytes = 64 * 1024;

std::optional<RecentFiles>& Current() {
    static std::optional<RecentFiles> recent;
    return recent;
}

QString Absolute(const QString& path) {
    return QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
}

void Write(const RecentFiles& recent) {
    QSaveFile file(RecentFilesPath());
    if (!file.open(QIODevice::WriteOnly)) return;
    file.write(RecentFilesText(recent));
    file.commit();
}

}  // namespace

RecentFiles ParseRecentFiles(const QByteArray& text) {
    RecentFiles recent;
    for (QByteArray raw : text.split('\n')) {
        if (raw.endsWith('\r')) raw.chop(1);
        const QString line = QString::fromUtf8(raw);
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
        if (line.startsWith(kSavedIn)) {
            recent.lastSaveFolder = line.mid(kSavedIn.size());
        } else if (recent.files.size() < kMaxRecentFiles && !recent.files.contains(line)) {
            recent.files << line;
        }
    }
    return recent;
}

QByteArray RecentFilesText(const RecentFiles& recent) {
    QByteArray out = "# Kelvaro32 recent data files, newest first\n";
    if (!recent.lastSaveFolder.isEmpty()) out += (kSavedIn + recent.lastSaveFolder).toUtf8() + '\n';
    for (const QString& f : recent.files) out += f.toUtf8() + '\n';
    return out;
}

void AddRecentFile(RecentFiles& recent, const QString& path, bool saved) {
    if (path.isEmpty()) return;
    const QString file = Absolute(path);
    recent.files.removeAll(file);
    recent.files.prepend(file);
    while (recent.files.size() > kMaxRecentFiles) recent.files.removeLast();
    if (saved) recent.lastSaveFolder = QDir::toNativeSeparators(QFileInfo(file).absolutePath());
}

QString RecentFilesPath() {
    return platform::InFolder(platform::programFolders().settings, QStringLiteral("kelvaro.recent"));
}

const RecentFiles& Recent() {
    if (!Current()) {
        QFile file(RecentFilesPath());
        Current() =
            file.open(QIODevice::ReadOnly) ? ParseRecentFiles(file.read(kMaxFileBytes)) : RecentFiles{};
    }
    return *Current();
}

void RememberDataFile(const QString& path, bool saved) {
    Recent();
    AddRecentFile(*Current(), path, saved);
    Write(*Current());
}

void ForgetDataFile(const QString& path) {
    Recent();
    if (Current()->files.removeAll(path) > 0) Write(*Current());
}

void ResetRecentFiles() {
    Current().reset();
}

void SettleProgramFolders() {
    // The settings folder does not depend on the last save folder: read the
    // list from there, then decide the working folder with it.
    ResetRecentFiles();
    const QString saved = Recent().lastSaveFolder;
    const bool usable = !saved.isEmpty() && QFileInfo(saved).isDir();
    platform::SetProgramFolders(
        platform::DecideFolders(platform::FolderFactsNow(usable ? saved : QString())));
}
