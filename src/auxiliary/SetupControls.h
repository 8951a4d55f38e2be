#pragma once

#include <QString>
#include <array>

class QComboBox;
class QDialog;
class QGroupBox;
class QEvent;
class QLabel;
class QLineEdit;
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
    const char* Units;
    const char* Scale;
};
LimitControls MakeLimitControls(QDialog* dialog, const LimitNames& names);
// Both bars from the two values, and both boxes from the bars.
void ShowLimitBars(const std::array<QScrollBar*, 2>& bars, const std::array<QLineEdit*, 2>& boxes, double low,
                   double high);

QScrollBar* MakeSetupBar(QWidget* parent, int minimum, int maximum, const char* name);
QLineEdit* MakeLimitBox(QWidget* parent, const char* name);

// lblReminder: shown while a run keeps controls greyed out.
QLabel* MakeReminder(QWidget* parent);

void SetBarQuietly(QScrollBar* bar, int value);
void SetTextQuietly(QLineEdit* box, const QString& text);  // caret at the end
void SetIndexQuietly(QComboBox* list, int index);

// While typing: more than 3 characters beep and are cut to the first 3.
void CutLimitText(QLineEdit* box);
// On leaving the box: a typed limit moves the bar, anything else beeps;
// the box then shows the bar's value.
void TakeLimitText(QLineEdit* box, QScrollBar* bar);
// The focus left a box by a click or Tab, not because the dialog lost the
// focus (it cancels then) or a list dropped down.
bool LeftByUser(const QEvent* event);

// A dialog without a parent widget would go behind the main window; the
// window that opens it carries it without owning it.
void KeepAboveCaller(QDialog* dialog);

// Losing the focus cancels a setup dialog, but only once it had the focus
// since it was shown.
class DeactivationWatch {
public:
    void Reset() { wasActive_ = false; }  // when shown and when unloaded
    // For changeEvent: true when this activation change took the focus away.
    bool LostFocus(const QWidget* dialog, const QEvent* event);

private:
    bool wasActive_ = false;
};
