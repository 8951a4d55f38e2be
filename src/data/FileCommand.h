#pragma once

#include <QString>
#include <cstdint>

// The File menu's operations, by their codes.
enum FileOperation : int16_t { FileSave = 0, FileOpen = 1, FilePrint = 2, FilePrinterSetup = 3 };

// The File menu's commands for the active mode window (FileOperation).
// Pauses a power-type chart around the dialog, shows the file or printer
// dialog, and calls the window's save or print operation (the registered
// mode of ActiveMode). Open asks for the file
// ("Load data from file") and, in PC-file view, has it loaded and shown
// (App().Shell.OpenPcFile); its Cancel leaves that view (mode 0). Any error
// inside ends the operation with a beep and "Program internal trap. Notify
// supplier.". Returns "".
QString FileCommand(int16_t operation);

// The question a logging window asks before a run with unsaved data
// (`notSaved`, which its save clears) is left or discarded: "The logged data
// has not been saved. Save it now?" (title "Reminder.", Yes, No, Cancel).
// Yes runs the File menu's Save (the SaveFile hook). When that save
// fails the data is kept and the question comes again, so the user can choose
// another place; No or a save that worked end it, `notSaved` False. Cancel,
// here or in the save dialog, returns false with everything as it was: the
// caller keeps the run and its window.
bool RemindToSave(bool& notSaved);

// The save dialog's file kinds, numbered 1 to 5: what the dialog shows and
// the extension it lists. The shown pattern spells the extension with a
// capital first letter ("Power data files(*.Power)|*.pwr").
struct DataFileKind {
    const char* description;
    const char* extension;
};
inline constexpr DataFileKind kDataFileKinds[] = {
    {"All files", "*"},
    {"Energy data files", "nrg"},
    {"Power data files", "pwr"},
    {"Energy dual-channel files", "dnr"},
    {"Power dual-channel  files", "dpw"},
};
QString DataFileFilter();

// File ▸ Recent files: the same way as Open (PC-file view, loaded and shown),
// with this file instead of the dialog's choice. A file that is gone is
// reported and taken off the list.
void OpenRecentFile(const QString& fileName);

// The file dialog's memory (last filter index and file name); tests start
// from a fresh dialog.
void ResetFileDialogMemory();
