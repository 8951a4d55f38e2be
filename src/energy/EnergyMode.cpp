#include "energy/EnergyMode.h"

#include "energy/EnergyWindow.h"
#include "widgets/LogWindowParts.h"

EnergyWindow* InstallEnergyMode(QMdiArea* area) {
    auto* w = new EnergyWindow;
    AddModeWindow(area, w);
    return w;
}
