#pragma once

#include <QString>

class QDialog;
class QEvent;
class QLineEdit;
class QScrollBar;
class QWidget;

// What the setup dialogs share: limit bars with their boxes and the rules of
// typing into them, setting a control without its change handler, and
// staying above the window that opened the dialog until it loses the focus.

QScrollBar* MakeSetupBar(QWidget* parent, int minimum, int maximum, const char* name);
QLineEdit* MakeLimitBox(QWidget* parent, const char* name);

void SetBarQuietly(QScrollBar* bar, int value);
void SetTextQuietly(QLineEdit* box, const QString& text);  // caret at the end

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
