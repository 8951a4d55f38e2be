#include "platform/LogWindowParts.h"

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>

QLabel* MakeStatLabel(QWidget* parent, const char* name) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    QFont f = l->font();
    f.setPointSizeF(11);
    l->setFont(f);
    l->setMinimumWidth(170);
    return l;
}

QLabel* MakeReadout(QWidget* parent, const char* name) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    QFont big = l->font();
    big.setPointSizeF(30);
    big.setBold(true);
    l->setFont(big);
    l->setMinimumWidth(260);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l->setStyleSheet("QLabel { color: #0000a8; }");
    l->hide();
    return l;
}

RunButtons MakeRunButtons(QWidget* parent) {
    RunButtons b{new QPushButton(parent), new QPushButton("&Reset", parent),
                 new QPushButton("Set&up", parent)};
    b.StartStop->setObjectName("butStartStop");
    b.Reset->setObjectName("butReset");
    b.Setup->setObjectName("butSetup");
    return b;
}

QWidget* MdiFrame(QWidget* w) {
    auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget());
    return sub ? static_cast<QWidget*>(sub) : w;
}

void AddModeWindow(QMdiArea* area, QWidget* window) {
    QMdiSubWindow* sub = area->addSubWindow(window);
    sub->setAttribute(Qt::WA_DeleteOnClose, false);
    sub->setMinimumSize(sub->minimumSizeHint());
    sub->resize(sub->sizeHint().expandedTo(QSize(860, 560)));
    sub->hide();
}

void SetupReopen::DialogClosed(const QPushButton* reset, bool runInitialised) {
    if (reset->isDown() || reset->underMouse()) open_ = runInitialised;
}
