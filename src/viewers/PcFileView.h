#pragma once

#include <QString>

class QMdiArea;
class Mode;

// PC-file view (mode 6). Entering it runs the File menu's Open, which loads
// the chosen file (LoadPcFile) and has the receiving viewer draw it; leaving
// it cancels a running load and closes the viewer named by App().ViewerKind
// with its load step 1. Installs App().Shell.OpenPcFile, places the loading
// window over `area`'s window, and returns the view's mode to register.
Mode& InstallPcFileView(QMdiArea* area);

// Loads a file and shows it in its viewer (the Open's last step).
void ShowPcFile(const QString& fileName);
