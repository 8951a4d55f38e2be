#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The File menu's recent data files, kept in "kelvaro.recent" beside
// kelvaro.cfg (never in it: its layout is fixed). One absolute path a line,
// newest first; a line "saved-in <folder>" names the folder last saved into,
// where an installed program puts its working files.
inline constexpr int kMaxRecentFiles = 5;

struct RecentFiles {
    QStringList files;  // newest first, at most kMaxRecentFiles
    QString lastSaveFolder;
};

RecentFiles ParseRecentFiles(const QByteArray& text);
QByteArray RecentFilesText(const RecentFiles& recent);

// A file opened or saved goes first, once (the same path further down goes);
// a save also makes its folder the last save folder.
void AddRecentFile(RecentFiles& recent, const QString& path, bool saved);

// The list of this run, read from the settings folder on first use.
const RecentFiles& Recent();
QString RecentFilesPath();
// Adds the file and rewrites kelvaro.recent (a failed write only loses the list).
void RememberDataFile(const QString& path, bool saved);
// Takes a file that is gone off the list.
void ForgetDataFile(const QString& path);
// Tests start from an empty list that is read again on next use.
void ResetRecentFiles();

// Decides the folders of this run (settings, traffic log, working files),
// with the last save folder when it still exists. Called at start-up.
void SettleProgramFolders();
