#include "viewers/EnergyViewers.h"

#include "viewers/EnergyRatioViewer.h"
#include "viewers/EnergyViewer.h"
#include "viewers/Viewers.h"

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
    SetViewerFactory(ViewEnergy, [area] { return MakeIn<EnergyViewer>(area); });
    SetViewerFactory(ViewEnergyRatio, [area] { return MakeIn<EnergyRatioViewer>(area); });
}
