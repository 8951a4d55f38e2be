#include "platform/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <optional>

namespace platform {

namespace {

const QString kProgramName = QStringLiteral("kelvaro32");

// XDG base folders must be absolute; anything else is ignored.
QString BaseFolder(const QString& set, const QString& home, const QString& fallback) {
    if (!set.isEmpty() && QDir::isAbsolutePath(set)) return QDir::cleanPath(set);
    return QDir::cleanPath(home + QLatin1Char('/') + fallback);
}

std::optional<ProgramFolders>& Current() {
    static std::optional<ProgramFolders> folders;
    return folders;
}

}  // namespace

bool IsSystemFolder(const QString& folder) {
    if (folder.isEmpty()) return false;
    const QString f = QDir::cleanPath(QDir::fromNativeSeparators(folder));
#ifdef Q_OS_WIN
    for (const char* env : {"ProgramFiles", "ProgramFiles(x86)", "SystemRoot"}) {
        const QString root = QDir::cleanPath(QDir::fromNativeSeparators(qEnvironmentVariable(env)));
        if (!root.isEmpty() && (f.compare(root, Qt::CaseInsensitive) == 0 ||
                                f.startsWith(root + QLatin1Char('/'), Qt::CaseInsensitive)))
            return true;
    }
    return false;
#else
    static const QStringList roots = {"/usr", "/bin", "/sbin", "/opt", "/snap", "/app", "/nix/store"};
    for (const QString& root : roots)
        if (f == root || f.startsWith(root + QLatin1Char('/'))) return true;
    return false;
#endif
}

ProgramFolders DecideFolders(const FolderFacts& facts) {
    ProgramFolders folders;
    folders.installed = !facts.executableFolderWritable || IsSystemFolder(facts.executableFolder);
    // Without a home folder there is nowhere of the user's own: stay here.
    if (!folders.installed || facts.homeFolder.isEmpty()) {
        folders.installed = false;
        return folders;
    }
    folders.settings = BaseFolder(facts.configHome, facts.homeFolder, QStringLiteral(".config")) +
                       QLatin1Char('/') + kProgramName;
    folders.state = BaseFolder(facts.stateHome, facts.homeFolder, QStringLiteral(".local/state")) +
                    QLatin1Char('/') + kProgramName;
    folders.work = facts.lastSaveFolder.isEmpty() ? QDir::cleanPath(facts.homeFolder)
                                                  : QDir::cleanPath(facts.lastSaveFolder);
    for (QString* f : {&folders.settings, &folders.state, &folders.work}) *f = QDir::toNativeSeparators(*f);
    return folders;
}

FolderFacts FolderFactsNow(const QString& lastSaveFolder) {
    FolderFacts facts;
    if (QCoreApplication::instance()) {
        facts.executableFolder = QCoreApplication::applicationDirPath();
    } else {
        // Before the application object (--help): the system names the executable.
        const QFileInfo self(QStringLiteral("/proc/self/exe"));
        if (self.exists()) facts.executableFolder = QFileInfo(self.canonicalFilePath()).absolutePath();
    }
    const QFileInfo info(facts.executableFolder);
    // Nothing known of the executable: stay in the current directory.
    facts.executableFolderWritable = facts.executableFolder.isEmpty() || (info.isDir() && info.isWritable());
    facts.homeFolder = QDir::homePath();
    facts.configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    facts.stateHome = qEnvironmentVariable("XDG_STATE_HOME");
    facts.lastSaveFolder = lastSaveFolder;
    return facts;
}

const ProgramFolders& programFolders() {
    if (!Current()) Current() = DecideFolders(FolderFactsNow());
    return *Current();
}

void SetProgramFolders(const ProgramFolders& folders) {
    Current() = folders;
}

void MakeProgramFolders() {
    for (const QString& f : {programFolders().settings, programFolders().state})
        if (!f.isEmpty()) QDir().mkpath(f);
}

QString ProgramFolder() {
    return programFolders().work;
}

QString InFolder(const QString& folder, const QString& name) {
    if (folder.isEmpty()) return name;
    if (folder.endsWith(QLatin1Char('/')) || folder.endsWith(QDir::separator())) return folder + name;
    return folder + QDir::separator() + name;
}

QString ShownFolder(const QString& folder) {
    return QDir::toNativeSeparators(folder.isEmpty() ? QDir::currentPath()
                                                     : QFileInfo(folder).absoluteFilePath());
}

QString FoldersText(const ProgramFolders& f) {
    return QStringLiteral(
               "Settings (kelvaro.cfg, kelvaro.ports): %1\nTraffic log (rs232.buf): %2\n"
               "Working data files: %3\n")
        .arg(ShownFolder(f.settings), ShownFolder(f.state), ShownFolder(f.work));
}

}  // namespace platform
