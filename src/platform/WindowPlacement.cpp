#include "platform/WindowPlacement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QScreen>
#include <algorithm>

namespace platform {

namespace {

// The top-left corner that keeps `size` inside `room`, as near `wanted` as
// it can; the room's corner when it does not fit.
QPoint Inside(QPoint wanted, QSize size, const QRect& room) {
    const int x = std::max(room.left(), std::min(wanted.x(), room.left() + room.width() - size.width()));
    const int y = std::max(room.top(), std::min(wanted.y(), room.top() + room.height() - size.height()));
    return {x, y};
}

QSize LayoutMinimum(const QWidget* w) {
    return w->minimumSizeHint().expandedTo(w->minimumSize());
}

class AreaFit : public QObject {
public:
    explicit AreaFit(QMdiSubWindow* sub) : QObject(sub), sub_(sub), content_(sub->widget()) {}

    // Events come while the window is being destroyed too: the event type is
    // checked first, and the window is asked nothing before it is known.
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched == sub_) Fit();
        // Statistics shown after a run or a load may need more room.
        if (event->type() == QEvent::LayoutRequest && content_ && watched == content_)
            sub_->setMinimumSize(LayoutMinimum(sub_));
        return false;
    }

private:
    void Fit() {
        QMdiArea* area = sub_->mdiArea();
        if (!area) return;
        const QSize least = LayoutMinimum(sub_);
        sub_->setMinimumSize(least);
        const QRect view = area->viewport()->rect();
        const QSize size = sub_->size().boundedTo(view.size()).expandedTo(least);
        if (size != sub_->size()) sub_->resize(size);
        const QPoint at = Inside(sub_->pos(), size, view);
        if (at != sub_->pos()) sub_->move(at);
    }

    QMdiSubWindow* sub_;
    QPointer<QWidget> content_;
};

}  // namespace

void FitOnScreen(QWidget* window) {
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect room = screen->availableGeometry();
    // The frame (title bar, borders) is known once shown; allow for it before.
    QSize frame = window->frameGeometry().size() - window->size();
    if (!window->isVisible() || frame.isEmpty()) frame = QSize(16, 40);
    const QSize inner = window->size().boundedTo(room.size() - frame).expandedTo(QSize(1, 1));
    if (inner != window->size()) window->resize(inner);
    const QSize outer = inner + frame;
    const QPoint centred(room.left() + (room.width() - outer.width()) / 2,
                         room.top() + (room.height() - outer.height()) / 2);
    const QPoint wanted = window->isVisible() ? window->frameGeometry().topLeft() : centred;
    window->move(Inside(wanted, outer, room));
}

void KeepInsideArea(QMdiSubWindow* sub) {
    auto* fit = new AreaFit(sub);
    sub->installEventFilter(fit);
    if (sub->widget()) sub->widget()->installEventFilter(fit);
    if (sub->mdiArea()) ScrollWhenNeeded(sub->mdiArea());
}

void ScrollWhenNeeded(QMdiArea* area) {
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    area->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

}  // namespace platform
