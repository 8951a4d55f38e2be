#pragma once

class QMdiArea;
class QMdiSubWindow;
class QWidget;

namespace platform {

// Where windows open: the main window within the screen's available area
// (the desktop less its panels), child windows inside the main window's
// area with their buttons reachable.

// Shrinks the window to the available area of its screen when it is larger
// and moves it so that it lies wholly inside (its title bar reachable).
void FitOnScreen(QWidget* window);

// Each time the child window is shown: never smaller than its layout needs
// (so that no control covers another), no larger than the area's view where
// it can be, and placed inside the view. A child that needs more room than
// the area has makes the area scroll.
void KeepInsideArea(QMdiSubWindow* sub);

// The area's scroll bars appear when a child reaches beyond its view.
void ScrollWhenNeeded(QMdiArea* area);

}  // namespace platform
