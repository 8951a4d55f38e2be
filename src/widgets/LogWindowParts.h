#pragma once

#include <QCloseEvent>
#include <initializer_list>

class QLabel;
class QGridLayout;
class QLayout;
class QMdiArea;
class QVBoxLayout;

namespace widgets {
class SurfaceWidget;
}
class QPushButton;
class QWidget;

// Controls every logging window has, made alike.

// A statistics line ("Min:  ..."), 11 points.
QLabel* MakeStatLabel(QWidget* parent, const char* name);
// Statistics lines two to a column, in the order given.
QGridLayout* StatisticsGrid(std::initializer_list<QLabel*> labels);

// The large read-out in dark blue, right-aligned, hidden until a run shows it.
QLabel* MakeReadout(QWidget* parent, const char* name);

// "&Start"/"&Stop", "&Reset" and "Set&up".
struct RunButtons {
    QPushButton* StartStop;
    QPushButton* Reset;
    QPushButton* Setup;
};
RunButtons MakeRunButtons(QWidget* parent);

// The window itself, or the MDI frame around it.
QWidget* MdiFrame(QWidget* w);
// Shows a mode's window and its MDI frame.
void ShowModeWindow(QWidget* w);

// The chart area of a logging window ("Picture1").
widgets::SurfaceWidget* MakePicture(QWidget* parent);
// A logging window's layout: `left` (read-out and statistics), `middle`
// when given, and the column of run buttons, over the chart area.
QVBoxLayout* ArrangeLogWindow(QWidget* window, QLayout* left, QLayout* middle, const RunButtons& run,
                              QWidget* picture);

// Puts a mode's window into the main window's area, hidden; closing it only
// hides it, since the shell keeps calling the window.
void AddModeWindow(QMdiArea* area, QWidget* window);

// Closed by the user: the window leaves its mode through `unload` (which
// asks the save reminder) while `leaving` is set; Cancel at the reminder
// keeps the window and its run.
template <class Unload>
void CloseUnlessKept(QCloseEvent* e, bool& leaving, Unload unload) {
    leaving = true;
    const bool closed = unload();
    leaving = false;
    if (closed)
        e->accept();
    else
        e->ignore();
}

// Reset pressed while the run's setup dialog is open reopens the dialog after
// the reset. The press takes the focus from the dialog, which may close
// itself before the press arrives; both orders count.
class SetupReopen {
public:
    // The dialog closed: by the press on `reset` when that is down or under the mouse.
    void DialogClosed(const QPushButton* reset, bool runInitialised);
    void ResetPressed(bool dialogOpen) { open_ = open_ || dialogOpen; }
    // The click on Reset: whether to reopen the dialog after the reset.
    bool TakeOnReset() {
        const bool reopen = open_;
        open_ = false;
        return reopen;
    }

private:
    bool open_ = false;
};
