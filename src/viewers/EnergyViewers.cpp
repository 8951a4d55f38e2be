#include "viewers/EnergyViewers.h"

#include "viewers/Viewers.h"
#include "viewers/frmViewEnergy.h"
#include "viewers/frmViewNrgRto.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace {

template <class Window>
StoredDataViewer* MakeIn(QMdiArea* area) {
    auto* w = new Window;
    QMdiSubWindow* sub = area->addSubWindow(w);
    // Closing only hides: the loaders keep feeding this window.
    sub->setAttribute(Qt::WA_DeleteOnClose, false);
    sub->resize(sub->sizeHint().expandedTo(QSize(900, 560)));
    sub->hide();
    return w;
}

}  // namespace

void InstallEnergyViewers(QMdiArea* area) {
    SetViewerFactory(ViewEnergy, [area] { return MakeIn<frmViewEnergy>(area); });
    SetViewerFactory(ViewEnergyRatio, [area] { return MakeIn<frmViewNrgRto>(area); });
}
