#pragma once

#include <QString>
#include <array>

class QComboBox;
class QDialog;
class QGroupBox;
class QEvent;
class QLabel;
class QLineEdit;
class QObject;
class QScrollBar;
class QWidget;

// What the setup dialogs share: limit bars with their boxes and the rules of
// typing into them, setting a control without its change handler, and
// staying above the window that opened the dialog until it loses the focus.

// The frame of the two limit bars with their boxes (which report their focus
// to the dialog's event filter), and the Units and Scale lists.
struct LimitControls {
    QGroupBox* Frame = nullptr;
    std::array<QScrollBar*, 2> Bars{};
    std::array<QLineEdit*, 2> Boxes{};
    QComboBox* Units = nullptr;
    QComboBox* Scale = nullptr;  // "x 1", "x 10", "x 100"
};
struct LimitNames {
    const char* Title;
    std::array<const char*, 2> Captions;  // low, high
    std::array<const char*, 2> Bars;
    std::array<const char*, 2> Boxes;
    const char* Units;  // null: no Units and Scale lists
    const char* Scale;
    int Minimum = 0;  // of both bars
    int Maximum = 999;
};
LimitControls MakeLimitControls(QWidget* dialog, const LimitNames& names);
// Both bars from the two values (nearest whole positions within each bar's
// range), and both boxes from the bars.
void ShowLimitBars(const std::array<QScrollBar*, 2>& bars, const std::array<QLineEdit*, 2>& boxes, double low,
                   double high);

QScrollBar* MakeSetupBar(QWidget* parent, int minimum, int maximum, const char* name);
QLineEdit* MakeLimitBox(QWidget* parent, const char* name);

// lblReminder: shown while a run keeps controls greyed out.
QLabel* MakeReminder(QWidget* parent);

void SetBarQuietly(QScrollBar* bar, int value);
void SetTextQuietly(QLineEdit* box, const QString& text);  // caret at the end
void SetIndexQuietly(QComboBox* list, int index);

// While typing: more than 3 digits (4 characters with a leading minus)
// before a decimal separator, or more than two decimals after it, beep and
// are cut back.
void CutLimitText(QLineEdit* box);
// On leaving the box: a typed whole number within the bar's range moves the
// bar (a minus sign only where the bar goes below 0), anything else beeps;
// the box then shows the bar's value.
void TakeLimitText(QLineEdit* box, QScrollBar* bar);
// On leaving a box whose limit may carry decimals: a typed number within
// the bar's range (or up to `maximum`) becomes `value` in the unit shown,
// the bar moves to its nearest whole position and the box shows it again.
// Anything else beeps and marks the box, keeping what was typed and
// `value`; false then.
bool TakeLimitValue(QLineEdit* box, QScrollBar* bar, double& value);
bool TakeLimitValue(QLineEdit* box, QScrollBar* bar, double& value, double maximum);
// A box whose text was refused is marked until it is taken or set again.
void MarkRefused(QLineEdit* box, bool refused);
bool IsRefused(const QLineEdit* box);

// OK takes what is still being typed (Enter reaches OK without leaving the box).
void TakePendingLimits(const std::array<QLineEdit*, 2>& boxes, const std::array<QScrollBar*, 2>& bars);
// The limit box (0 or 1) that the focus left by a click or Tab, for the
// dialog's event filter; -1 otherwise, also when the dialog lost the focus
// (it cancels then) or a list dropped down.
int LimitBoxLeft(const std::array<QLineEdit*, 2>& boxes, const QObject* watched, const QEvent* event);

// Showing and closing a setup dialog: modeless, above the window that opened
// it; Open while shown during a run; losing the focus cancels it, but only
// once it had the focus since it was shown.
class SetupLifecycle {
public:
    void Show(QDialog* dialog, bool runActive);
    bool Hide(QDialog* dialog);  // true when it was shown
    bool Open() const { return open_; }
    // For changeEvent: true when this activation change took the focus away.
    bool LostFocus(const QWidget* dialog, const QEvent* event);

private:
    bool open_ = false;
    bool wasActive_ = false;
};
