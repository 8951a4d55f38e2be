#include "viewers/PowerViewers.h"

#include "viewers/PowerViewer.h"
#include "viewers/Viewers.h"

#include <QSize>

namespace {

const PowerViewProfile kViewPower{
    "PowerViewer", "Power Data", ViewPower, PowerCombine::Single, nullptr, {"", ""}, "Points Overrange:  "};
const PowerViewProfile kViewPowerRatio{"PowerRatioViewer",   "Power Ratio",  ViewPowerRatio,
                                       PowerCombine::Ratio,  "cmbRatioMode", {"A/B", "B/A"},
                                       "Points Overrange:  "};
const PowerViewProfile kViewPowerDifference{
    "PowerDifferenceViewer", "Power Difference", ViewPowerDifference, PowerCombine::Difference,
    "cmbDifferenceMode",     {"A-B", "B-A"},     "Out of Range:  "};

void Register(QMdiArea* area, const PowerViewProfile& profile) {
    SetViewerFactory(profile.Kind, [area, &profile]() -> StoredDataViewer* {
        auto* w = new PowerViewer(profile);
        AddViewerWindow(area, w, QSize(960, 600));
        return w;
    });
}

}  // namespace

void InstallPowerViewers(QMdiArea* area) {
    for (const PowerViewProfile* p : {&kViewPower, &kViewPowerRatio, &kViewPowerDifference})
        Register(area, *p);
}
