#include "auxiliary/SetupControls.h"

#include "data/LimitBars.h"
#include "platform/Prompts.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QFocusEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QWindow>

QScrollBar* MakeSetupBar(QWidget* parent, int minimum, int maximum, const char* name) {
    auto* bar = new QScrollBar(Qt::Horizontal, parent);
    bar->setObjectName(name);
    bar->setRange(minimum, maximum);
    bar->setSingleStep(1);
    bar->setPageStep(maximum >= 100 ? 10 : 5);
    bar->setMinimumWidth(150);
    return bar;
}

QLineEdit* MakeLimitBox(QWidget* parent, const char* name) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setFixedWidth(46);
    box->setAlignment(Qt::AlignRight);
    return box;
}

void SetBarQuietly(QScrollBar* bar, int value) {
    const QSignalBlocker block(bar);
    bar->setValue(value);
}

void SetTextQuietly(QLineEdit* box, const QString& text) {
    const QSignalBlocker block(box);
    box->setText(text);
    box->setCursorPosition(int(text.size()));
}

void CutLimitText(QLineEdit* box) {
    if (box->text().size() <= kLimitTextMax) return;
    platform::prompts().Beep();
    SetTextQuietly(box, box->text().left(kLimitTextMax));
}

void TakeLimitText(QLineEdit* box, QScrollBar* bar) {
    if (const auto typed = TypedLimit(box->text()))
        bar->setValue(*typed);
    else
        platform::prompts().Beep();
    SetTextQuietly(box, QString::number(bar->value()));
}

bool LeftByUser(const QEvent* event) {
    if (event->type() != QEvent::FocusOut) return false;
    const auto reason = static_cast<const QFocusEvent*>(event)->reason();
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

void KeepAboveCaller(QDialog* dialog) {
    QWidget* caller = QApplication::activeWindow();
    if (dialog->parentWidget() || !caller || caller->window() == dialog) return;
    dialog->winId();
    QWindow* callerWindow = caller->window()->windowHandle();
    if (dialog->windowHandle() && callerWindow) dialog->windowHandle()->setTransientParent(callerWindow);
}

bool DeactivationWatch::LostFocus(const QWidget* dialog, const QEvent* event) {
    if (event->type() != QEvent::ActivationChange || !dialog->isVisible()) return false;
    if (dialog->isActiveWindow()) {
        wasActive_ = true;
        return false;
    }
    const bool lost = wasActive_;
    wasActive_ = false;
    return lost;
}
