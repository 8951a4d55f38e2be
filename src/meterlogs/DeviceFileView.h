#pragma once

class QWidget;

// Device-file view (ActiveMode 5): installs ModeEntry[ModeDeviceFile]
// (-1 starts the retrieval, 0 hands it a reply, 1 leaves the view) and
// connects the download to the selection window (made with `parent`), the
// loading window and the view-mode dialog.
void InstallDeviceFileView(QWidget* parent);
