#pragma once

class QLabel;
class QPushButton;
class QWidget;

// Controls every logging window has, made alike.

// A statistics line ("Min:  ..."), 11 points.
QLabel* MakeStatLabel(QWidget* parent, const char* name);
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
