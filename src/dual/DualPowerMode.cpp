// The power ratio and power difference windows and their installation.
#include "dual/DualPowerProfiles.h"
#include "dual/frmPwrDiff.h"
#include "dual/frmPwrRto.h"
#include "power/PowerMode.h"
#include "state/AppState.h"

frmPwrRto::frmPwrRto(QWidget* parent) : frmPower(kPwrRtoWindow, parent) {}

frmPwrDiff::frmPwrDiff(QWidget* parent) : frmPower(kPwrDiffWindow, parent) {}

frmPwrRto* InstallPwrRtoMode(QMdiArea* area) {
    auto* w = new frmPwrRto;
    InstallPowerWindow(area, w, ModePowerRatio);
    return w;
}

frmPwrDiff* InstallPwrDiffMode(QMdiArea* area) {
    auto* w = new frmPwrDiff;
    InstallPowerWindow(area, w, ModePowerDifference);
    return w;
}
