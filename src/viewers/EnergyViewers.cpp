#include "viewers/EnergyViewers.h"

#include "viewers/Viewers.h"
#include "viewers/frmViewEnergy.h"
#include "viewers/frmViewNrgRto.h"

#include <QSize>

namespace {

template <class Window>
StoredDataViewer* MakeIn(QMdiArea* area) {
    auto* w = new Window;
    AddViewerWindow(area, w, QSize(900, 560));
    return w;
}

}  // namespace

void InstallEnergyViewers(QMdiArea* area) {
    SetViewerFactory(ViewEnergy, [area] { return MakeIn<frmViewEnergy>(area); });
    SetViewerFactory(ViewEnergyRatio, [area] { return MakeIn<frmViewNrgRto>(area); });
}
