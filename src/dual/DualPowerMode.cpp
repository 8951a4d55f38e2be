// The power ratio and power difference windows and their installation.
#include "dual/DualPowerProfiles.h"
#include "dual/PowerDifferenceWindow.h"
#include "dual/PowerRatioWindow.h"
#include "power/PowerMode.h"

PowerRatioWindow::PowerRatioWindow(QWidget* parent) : PowerWindow(kPowerRatioWindow, parent) {}

PowerDifferenceWindow::PowerDifferenceWindow(QWidget* parent) : PowerWindow(kPowerDifferenceWindow, parent) {}

PowerRatioWindow* InstallPowerRatioMode(QMdiArea* area) {
    auto* w = new PowerRatioWindow;
    InstallPowerWindow(area, w);
    return w;
}

PowerDifferenceWindow* InstallPowerDifferenceMode(QMdiArea* area) {
    auto* w = new PowerDifferenceWindow;
    InstallPowerWindow(area, w);
    return w;
}
