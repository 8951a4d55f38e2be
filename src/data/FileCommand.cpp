#include "data/FileCommand.h"

#include "data/DataFileSave.h"
#include "platform/Prompts.h"
#include "state/AppState.h"
#include "state/Mode.h"
#include "state/RecentFiles.h"
#include "state/StateReset.h"

#include <QFileInfo>
#include <QStringList>
#include <iterator>

namespace {

const QString kTitle = QStringLiteral("Kelvaro32");

// What the save dialog remembers between uses.
int g_filterIndex = 1;
QString g_fileName;
// A recent file to open instead of asking for one.
QString g_openWithoutDialog;
// The last command ended through its error handling.
bool g_failed = false;
// The last Save ended in a cancelled file dialog.
bool g_saveCancelled = false;

void Tell(const QString& text) {
    platform::prompts().Message(text, kTitle, platform::Icon::None);
}

// The file kind a mode saves, or 0 to keep the dialog's last choice.
int FilterIndexOfMode(int16_t mode) {
    switch (mode) {
        case ModePower:
            return 3;
        case ModeEnergy:
        case ModeRapidPulse:
            return 2;
        case ModePowerRatio:
        case ModePowerDifference:
            return 5;
        case ModeEnergyRatio:
            return 4;
        default:
            return 0;
    }
}

// The extension of what the mode saves; a viewer saves the kind it shows.
QString ExtensionOfMode(int16_t mode) {
    int index = FilterIndexOfMode(mode);
    if (mode == ModeDeviceFile || mode == ModePcFile) {
        static constexpr int kOfViewer[] = {3, 5, 5, 2, 4};  // by ViewerKind
        const int16_t kind = App().ViewerKind;
        if (kind >= 0 && kind < int16_t(std::size(kOfViewer))) index = kOfViewer[kind];
    }
    if (index < 2) return QString();
    return QString::fromLatin1(kDataFileKinds[index - 1].extension);
}

// Runs `body` with a power-type chart paused; it resumes however the body ends.
template <class Body>
void WithChartPaused(int16_t code, Mode* mode, Body body) {
    if (!mode || !mode->Traits(code).PausesForFiles) return body();
    mode->Pause(true);
    try {
        body();
    } catch (...) {
        try {
            mode->Pause(false);
        } catch (...) {
            // The first failure is the one reported.
        }
        throw;
    }
    mode->Pause(false);
}

class BusyCursor {
public:
    BusyCursor() { SetBusyCursor(true); }
    ~BusyCursor() { SetBusyCursor(false); }
};

// The file dialog, starting from what it remembers and keeping the choice;
// false when cancelled.
bool AskForFile(const QString& title, bool save, const QString& extension = QString()) {
    if (!save && !g_openWithoutDialog.isEmpty()) {
        g_fileName = g_openWithoutDialog;
        g_openWithoutDialog.clear();
        return true;
    }
    platform::FileDialogRequest request;
    request.defaultSuffix = extension;
    request.title = title;
    request.filter = DataFileFilter();
    request.filterIndex = g_filterIndex;
    request.fileName = g_fileName;
    request.overwritePrompt = save;
    request.fileMustExist = !save;
    const auto chosen = save ? platform::prompts().SaveFile(request) : platform::prompts().OpenFile(request);
    g_fileName = chosen ? chosen->fileName : QString();
    if (chosen) g_filterIndex = chosen->filterIndex;
    // A name without an extension gets the mode's, so that Open lists the file.
    if (!g_fileName.isEmpty() && !extension.isEmpty() && QFileInfo(g_fileName).suffix().isEmpty()) {
        if (!g_fileName.endsWith(QLatin1Char('.'))) g_fileName += QLatin1Char('.');
        g_fileName += extension;
    }
    return chosen.has_value();
}

void Save() {
    const int16_t mode = App().ActiveMode;
    if (mode == ModeNone) return Tell("Nothing to save.");
    if (mode == ModeTerminal) return Tell("Save in the Terminal mode is not supported yet");
    Mode* ops = Modes().Find(mode);
    WithChartPaused(mode, ops, [&] {
        if (const int index = FilterIndexOfMode(mode)) g_filterIndex = index;
        AskForFile("Save data in file", true, ExtensionOfMode(mode));
        g_saveCancelled = g_fileName.isEmpty();
        if (g_fileName.isEmpty()) return;

        const BusyCursor busy;
        if (!ops) return;
        ops->Save(g_fileName);
        // A save that ended with a message may have left no file.
        if (QFileInfo(g_fileName).isFile()) RememberDataFile(g_fileName, true);
    });
}

// Open: the file to load, then the PC-file view loads and shows it. Cancel
// leaves that view.
void Open() {
    const ShellHooks& shell = App().Shell;
    if (!AskForFile("Load data from file", false)) {
        if (shell.SwitchMode) shell.SwitchMode(ModeNone);
        return;
    }
    if (g_fileName.isEmpty()) return;
    if (App().ActiveMode == ModePcFile && shell.OpenPcFile) {
        shell.OpenPcFile(g_fileName);
        if (App().ViewerKind >= 0) RememberDataFile(g_fileName, false);
    }
}

void Print() {
    const int16_t mode = App().ActiveMode;
    if (mode == ModeNone) return Tell("Nothing to print.");
    if (mode == ModeTerminal) return Tell("Printing in the Terminal mode is not supported yet");
    Mode* ops = Modes().Find(mode);
    const BusyCursor busy;
    WithChartPaused(mode, ops, [&] {
        if (ops) ops->Print();
    });
}

void PrinterSetup() {
    int copies = 1;
    if (!platform::prompts().PrintDialog(copies)) return;
    for (int copy = 1; copy <= copies; ++copy) {
        FileCommand(FilePrint);
        // One report is enough: the copies left would fail the same way.
        if (g_failed) throw DataFileError("printing failed", true);
    }
}

}  // namespace

QString DataFileFilter() {
    QStringList kinds;
    for (const DataFileKind& kind : kDataFileKinds) {
        QString shown = QString::fromLatin1(kind.extension);
        shown[0] = shown[0].toUpper();
        kinds << QStringLiteral("%1(*.%2)|*.%3")
                     .arg(QLatin1String(kind.description), shown, QLatin1String(kind.extension));
    }
    return kinds.join('|');
}

QString FileCommand(int16_t operation) {
    g_failed = true;
    try {
        switch (operation) {
            case FileSave:
                Save();
                break;
            case FileOpen:
                Open();
                break;
            case FilePrint:
                Print();
                break;
            case FilePrinterSetup:
                PrinterSetup();
                break;
            default:
                break;
        }
        g_failed = false;
    } catch (const DataFileError& e) {
        if (!e.Reported()) {
            platform::prompts().Beep();
            Tell("Program internal trap. Notify supplier.");
        }
    } catch (...) {
        platform::prompts().Beep();
        Tell("Program internal trap. Notify supplier.");
    }
    return QString();
}

bool RemindToSave(bool& notSaved) {
    const auto& save = App().Shell.SaveFile;
    while (notSaved) {
        const platform::Answer answer = platform::prompts().AskYesNoCancel(
            QStringLiteral("The logged data has not been saved. Save it now?"), QStringLiteral("Reminder."),
            platform::Icon::Question);
        if (answer == platform::Answer::Cancel) return false;
        if (answer == platform::Answer::No) break;
        g_failed = false;
        g_saveCancelled = false;
        if (save) save();
        if (g_saveCancelled) return false;
        if (!g_failed) break;
    }
    notSaved = false;
    return true;
}

void OpenRecentFile(const QString& fileName) {
    const ShellHooks& shell = App().Shell;
    if (!QFileInfo(fileName).isFile()) {
        platform::prompts().Message(
            QStringLiteral("The file ") + fileName + QStringLiteral(" is no longer there."), kTitle,
            platform::Icon::Exclamation);
        ForgetDataFile(fileName);
        return;
    }
    if (!shell.SwitchMode || !Modes().Find(ModePcFile)) return;
    g_openWithoutDialog = fileName;
    shell.SwitchMode(ModePcFile);
    g_openWithoutDialog.clear();
}

void ResetFileDialogMemory() {
    g_filterIndex = 1;
    g_fileName.clear();
    g_openWithoutDialog.clear();
}

namespace {
const ResetWithProgramState kReset{&ResetFileDialogMemory};
}  // namespace
