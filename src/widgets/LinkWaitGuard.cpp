#include "widgets/LinkWaitGuard.h"

#include "link/Transaction.h"
#include "platform/Prompts.h"

#include <QApplication>
#include <QWidget>
#include <QWindow>

namespace {

bool IsPress(QEvent::Type t) {
    return t == QEvent::MouseButtonPress || t == QEvent::MouseButtonDblClick || t == QEvent::KeyPress ||
           t == QEvent::Shortcut;
}

bool IsUserInput(QEvent::Type t) {
    return IsPress(t) || t == QEvent::MouseButtonRelease || t == QEvent::KeyRelease || t == QEvent::Wheel ||
           t == QEvent::ContextMenu;
}

bool InModalWindow(QObject* target) {
    if (auto* w = qobject_cast<QWidget*>(target)) return w->window()->isModal();
    if (auto* w = qobject_cast<QWindow*>(target)) return w->modality() != Qt::NonModal;
    return false;
}

class Guard : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* target, QEvent* e) override {
        if (!IsUserInput(e->type()) || !LinkBusy() || InModalWindow(target)) return false;
        // Held back here, a press reaches no widget of the window behind it: one beep.
        if (IsPress(e->type())) platform::prompts().Beep();
        return true;
    }
};

}  // namespace

void GuardInputDuringLinkWaits() {
    static Guard* guard = nullptr;
    if (guard || !qApp) return;
    guard = new Guard(qApp);
    qApp->installEventFilter(guard);
}
