#include "power/PowerMode.h"

#include "platform/WindowPlacement.h"
#include "power/PowerWindow.h"

#include <QMdiArea>
#include <QMdiSubWindow>

PowerWindow* InstallPowerMode(QMdiArea* area) {
    auto* w = new PowerWindow;
    InstallPowerWindow(area, w);
    return w;
}

void InstallPowerWindow(QMdiArea* area, PowerWindow* w) {
    QMdiSubWindow* sub = area->addSubWindow(w);
    // Closing only hides: the shell keeps calling this window.
    sub->setAttribute(Qt::WA_DeleteOnClose, false);
    // Open at a size where the read-out, statistics and chart all fit; once
    // shown, the layout's minimum keeps the controls from overlapping.
    sub->resize(sub->sizeHint().expandedTo(QSize(900, 580)));
    sub->hide();
    platform::KeepInsideArea(sub);
}
