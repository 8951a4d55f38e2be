#include "widgets/LogWindowParts.h"

#include "widgets/SurfaceWidget.h"
#include "platform/WindowPlacement.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QVBoxLayout>

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
    sub->resize(sub->sizeHint().expandedTo(QSize(860, 560)));
    sub->hide();
    platform::KeepInsideArea(sub);
}

void SetupReopen::DialogClosed(const QPushButton* reset, bool runInitialised) {
    if (reset->isDown() || reset->underMouse()) open_ = runInitialised;
}

void ShowModeWindow(QWidget* w) {
    MdiFrame(w)->show();
    w->show();
}

widgets::SurfaceWidget* MakePicture(QWidget* parent) {
    auto* picture = new widgets::SurfaceWidget(parent);
    picture->setObjectName("Picture1");
    picture->setMinimumSize(240, 160);
    return picture;
}

QVBoxLayout* ArrangeLogWindow(QWidget* window, QLayout* left, QLayout* middle, const RunButtons& run,
                              QWidget* picture) {
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(run.StartStop);
    buttons->addWidget(run.Reset);
    buttons->addWidget(run.Setup);
    buttons->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addLayout(left, 1);
    top->addSpacing(12);
    if (middle) {
        top->addLayout(middle);
        top->addSpacing(12);
    }
    top->addLayout(buttons);
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(top);
    layout->addWidget(picture, 1);
    return layout;
}

QGridLayout* StatisticsGrid(std::initializer_list<QLabel*> labels) {
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(16);
    int i = 0;
    for (QLabel* label : labels) {
        grid->addWidget(label, i % 2, i / 2);
        ++i;
    }
    return grid;
}
