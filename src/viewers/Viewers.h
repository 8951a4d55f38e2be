#pragma once

#include "state/Mode.h"

#include "state/AppState.h"

#include <cstdint>
#include <functional>

class QMdiArea;
class QSize;
class QWidget;
class StoredDataViewer;

inline constexpr int kViewerKinds = 5;

// Each viewer's window is made on first use by the factory its install
// routine registers (the window is owned by the main window's area).
void SetViewerFactory(int16_t kind, std::function<StoredDataViewer*()> make);

// Places a viewer's window in the main window's area, at least `least` in
// size and hidden until it shows data. Closing it only hides it: the loaders
// and the File menu keep reaching it.
void AddViewerWindow(QMdiArea* area, QWidget* window, const QSize& least);

// The viewer of a kind, made when first asked for; nullptr for a kind
// without a registered viewer.
StoredDataViewer* Viewer(int16_t kind);

// The viewer named by App().ViewerKind, nullptr when none is.
StoredDataViewer* CurrentViewer();

// The PC-file and device-file views: the File menu's Save and Print go to
// the viewer named by App().ViewerKind.
class ViewerMode : public Mode {
public:
    void Save(const QString& fileName) override;
    void Print() override;
};

// Tests start from no viewers.
void ForgetViewers();
