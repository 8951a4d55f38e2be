#include "viewers/PowerViewers.h"

#include "viewers/PowerViewerWindow.h"
#include "viewers/Viewers.h"

#include <QSize>

namespace {

const PowerViewProfile kViewPower{
    "frmViewPower", "Power Data", ViewPower, PowerCombine::Single, nullptr, {"", ""}, "Points Overrange:  "};
const PowerViewProfile kViewPwrRto{"frmViewPwrRto", "Power Ratio",  ViewPowerRatio,       PowerCombine::Ratio,
                                   "cmbRatioMode",  {"A/B", "B/A"}, "Points Overrange:  "};
const PowerViewProfile kViewPwrDiff{"frmViewPwrDiff",         "Power Difference", ViewPowerDiff,
                                    PowerCombine::Difference, "cmbDifferMode",    {"A-B", "B-A"},
                                    "Out of Range:  "};

void Register(QMdiArea* area, const PowerViewProfile& profile) {
    SetViewerFactory(profile.Kind, [area, &profile]() -> StoredDataViewer* {
        auto* w = new PowerViewerWindow(profile);
        AddViewerWindow(area, w, QSize(960, 600));
        return w;
    });
}

}  // namespace

void InstallPowerViewers(QMdiArea* area) {
    for (const PowerViewProfile* p : {&kViewPower, &kViewPwrRto, &kViewPwrDiff}) Register(area, *p);
}
