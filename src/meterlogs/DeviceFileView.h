#pragma once

class QWidget;

class Mode;

// Device-file view (ActiveMode 5): connects the download to the selection
// window (made with `parent`), the loading window and the view-mode dialog,
// and returns the view's mode to register (Begin starts the retrieval, a
// reply goes to it, End leaves the view).
Mode& InstallDeviceFileView(QWidget* parent);
