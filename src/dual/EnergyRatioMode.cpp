#include "dual/EnergyRatioMode.h"

#include "dual/EnergyRatioWindow.h"
#include "widgets/LogWindowParts.h"

EnergyRatioWindow* InstallEnergyRatioMode(QMdiArea* area) {
    auto* w = new EnergyRatioWindow;
    AddModeWindow(area, w);
    return w;
}
