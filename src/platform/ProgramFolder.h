#pragma once

#include <QString>

namespace platform {

// What decides where the program keeps its files.
struct FolderFacts {
    QString executableFolder;
    bool executableFolderWritable = false;
    QString homeFolder;
    QString configHome;      // XDG_CONFIG_HOME as set; empty or relative counts as unset
    QString stateHome;       // XDG_STATE_HOME, the same way
    QString lastSaveFolder;  // the folder the user last saved a data file into, empty if none
};

// Where the files go. An empty folder is the current directory at the time
// of use, so a copy run from a build or demo folder keeps everything in the
// folder it was started in.
struct ProgramFolders {
    bool installed = false;
    QString settings;  // kelvaro.cfg, kelvaro.ports, kelvaro.recent
    QString state;     // rs232.buf
    QString work;      // the working data files
};

// Installed (the executable's folder is not writable, or is a system folder
// such as /usr/bin): settings under XDG_CONFIG_HOME/kelvaro32 (default
// ~/.config), the traffic log under XDG_STATE_HOME/kelvaro32 (default
// ~/.local/state), working files in the folder last saved into or the home
// folder. Otherwise everything in the current directory.
ProgramFolders DecideFolders(const FolderFacts& facts);

// Folders that belong to the system rather than to a copy of the program.
bool IsSystemFolder(const QString& folder);

// The facts of this process (executable, environment, home folder).
FolderFacts FolderFactsNow(const QString& lastSaveFolder = QString());

// The folders of this run, decided on first use; SetProgramFolders replaces
// them (start-up, once the last save folder is known).
const ProgramFolders& programFolders();
void SetProgramFolders(const ProgramFolders& folders);
// Creates the settings and state folders when they are missing.
void MakeProgramFolders();

// Folder of the working data files (the current directory when empty).
QString ProgramFolder();

// folder + native separator + name; the bare name for an empty folder.
QString InFolder(const QString& folder, const QString& name);

// A folder as the user should read it: absolute, the current directory for "".
QString ShownFolder(const QString& folder);

// The folders in use, one "what: folder" line each, for --help and the
// Information window.
QString FoldersText(const ProgramFolders& folders);

}  // namespace platform
