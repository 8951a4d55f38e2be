#pragma once

#include <QString>
#include <cstdint>

// Loads a PC data file into the viewer its header and the view-mode dialog
// choose, line by line through the viewers' Load(0, line), and returns the
// kind loaded (LoadKindCode; 3 nothing). Notes lines go to the notes window.
//
// - A missing or empty file loads nothing, silently.
// - A file that cannot be opened: the file-opening message, then a beep and
//   "Data file <name> failed. Operation canceled.".
// - A header without "Power" and "Energy": a beep and "Unknown file format.".
// - A line the viewer cannot read (it throws, see StoredDataViewer.h) ends
//   the load with a beep and "Program internal trap. Notify supplier."
//   followed by the line's number and the file's name; the lines read until
//   then stay in the viewer, and nothing is shown.
//
// The file is read in large blocks; window events run about every 20 ms
// (the clock's monotonic time), so the loading window's Cancel and redraws
// work during a load. `fileName` containing "cancel retrieve" aborts the
// load in progress instead: the receiving viewer is closed with Load(1, ""),
// and the running load returns 3 at its next line. A load started while
// another is running (a nested Open) ends the older one the same way.
int16_t LoadPcFile(const QString& fileName);

// The viewer (ViewerKindCode) that receives the lines of the file being
// loaded or loaded last; -1 none.
int16_t ReceivingViewerOfLoad();
