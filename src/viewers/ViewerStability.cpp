#include "viewers/ViewerStability.h"

#include "auxiliary/StabilityWindow.h"
#include "state/AppState.h"
#include "viewers/EnergyRatioViewer.h"
#include "viewers/EnergyViewer.h"
#include "viewers/PowerViewer.h"
#include "viewers/StabilitySource.h"

#include <QPointer>
#include <array>

namespace {

// The interval a power viewer shows: the zoom, or the whole record.
std::array<int64_t, 2> ShownInterval(const PowerViewer& v) {
    if (v.Zoomed) return {v.ZoomFirst, v.ZoomLast};
    return {0, v.Data.Count() - 1};
}

}  // namespace

void ShowViewerStability(PowerViewer& viewer) {
    QPointer<PowerViewer> v(&viewer);
    const bool ratio = viewer.Profile.Combine == PowerCombine::Ratio;
    const auto source = [v, ratio] {
        StabilitySnapshot s;
        if (!v) return s;
        const auto [first, last] = ShownInterval(*v);
        s.Unit = ratio ? QString() : v->Units.BaseUnit;
        s.Power = analysis::AnalysePower(PowerViewSeries(v->Data, first, last, v->ViewDirection));
        s.Title = v->windowTitle();
        if (last >= first && last < v->Data.Count())
            s.Title += QStringLiteral("\n%1 s to %2 s")
                           .arg(v->Data.Time(first), 0, 'f', 2)
                           .arg(v->Data.Time(last), 0, 'f', 2);
        return s;
    };
    // A zoom, a zoom out, a change of direction or a new load: once more.
    const auto key = [v] {
        const auto [first, last] = ShownInterval(*v);
        return std::array<int64_t, 4>{first, last, v->ViewDirection, v->Data.Count()};
    };
    const auto due = [v, key, last = key()]() mutable {
        if (!v) return false;
        const auto now = key();
        return std::exchange(last, now) != now;
    };
    const ChartSettings& c = viewer.Chart;
    StabilityWindow::ShowFor(&viewer, source, due, {c.BackColor, c.AxisColor, c.TraceColor, c.GridColor});
}

void ShowViewerStability(EnergyViewer& viewer) {
    QPointer<EnergyViewer> v(&viewer);
    const auto source = [v] {
        StabilitySnapshot s;
        if (!v) return s;
        s.Title = v->windowTitle();
        s.Unit = v->Data.RelativeUnits ? QStringLiteral("RP-Units") : QStringLiteral("J");
        s.Energy = EnergyFiguresOf(v->Data);
        return s;
    };
    const auto due = [v, last = viewer.Data.Values.size()]() mutable {
        return v && std::exchange(last, v->Data.Values.size()) != v->Data.Values.size();
    };
    StabilityWindow::ShowFor(&viewer, source, due, {});
}

void ShowViewerStability(EnergyRatioViewer& viewer) {
    QPointer<EnergyRatioViewer> v(&viewer);
    const auto source = [v] {
        StabilitySnapshot s;
        if (!v) return s;
        s.Title = v->windowTitle();
        s.Energy = EnergyFiguresOf(v->Data);
        return s;
    };
    const auto due = [v, last = std::array<size_t, 2>{viewer.Data.Points.size(),
                                                      size_t(viewer.Data.ViewDirection)}]() mutable {
        if (!v) return false;
        const std::array<size_t, 2> now{v->Data.Points.size(), size_t(v->Data.ViewDirection)};
        return std::exchange(last, now) != now;
    };
    StabilityWindow::ShowFor(&viewer, source, due, {});
}
