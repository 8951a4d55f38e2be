#include "widgets/LinkWaitGuard.h"

#include "link/Transaction.h"
#include "platform/Prompts.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
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

// Disconnect ends every wait, so it stays at hand (through the menu bar): a
// meter that never answers a patient wait would otherwise hold the program.
bool ReachesDisconnect(QObject* target, QEvent* e) {
    if (qobject_cast<QMenuBar*>(target)) return e->type() != QEvent::KeyPress && e->type() != QEvent::Shortcut;
    auto* menu = qobject_cast<QMenu*>(target);
    if (!menu || (e->type() != QEvent::MouseButtonPress && e->type() != QEvent::MouseButtonRelease)) return false;
    const QAction* item = menu->actionAt(static_cast<QMouseEvent*>(e)->position().toPoint());
    return item && item->objectName() == QLatin1String("mnuConnect");
}

class Guard : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* target, QEvent* e) override {
        if (!IsUserInput(e->type()) || !LinkBusy() || InModalWindow(target) || ReachesDisconnect(target, e))
            return false;
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
