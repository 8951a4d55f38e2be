#include "power/PowerStability.h"

#include "auxiliary/StabilityWindow.h"
#include "data/Overrange.h"
#include "power/PowerWindow.h"
#include "state/AppState.h"

#include <limits>

namespace {

// The stored points of the direction on show; empty points keep time -1.
class StoreSeries : public analysis::PowerSeries {
public:
    explicit StoreSeries(const PowerEngine& engine) : engine_(engine), count_(engine.PointsOnShow()) {}
    int64_t Count() const override { return count_; }
    Block Read(int64_t first, int64_t n, double* times, double* values) const override {
        const std::vector<PowerPoint>& points = engine_.Store().PowerData;
        for (int64_t k = 0; k < n; ++k) {
            const size_t i = size_t(first + k + 1);  // index 0 holds no point
            if (i >= points.size()) {
                times[k] = -1;
                values[k] = std::numeric_limits<double>::quiet_NaN();
                continue;
            }
            const double v = PowerStore::PointValue(points[i]);
            times[k] = points[i].PointTime;
            values[k] = IsOverrange(std::fabs(v)) ? v : engine_.Shown(v);
        }
        return {times, values};
    }

private:
    const PowerEngine& engine_;
    int64_t count_;
};

}  // namespace

void ShowPowerStability(PowerWindow& window) {
    const PowerEngine& engine = window.Engine;
    const auto source = [&engine] {
        StabilitySnapshot s;
        s.Title = engine.Display.Caption + QStringLiteral(": the run so far");
        s.Unit = engine.Chart.YLabelMode == 1 ? engine.Chart.Units.BaseUnit : QString();
        s.Power = analysis::AnalysePower(StoreSeries(engine));
        return s;
    };
    // Refreshed while the run goes on, and once more after it stopped.
    const auto due = [&engine, wasRunning = engine.RunActive]() mutable {
        const bool refresh = engine.RunActive || wasRunning;
        wasRunning = engine.RunActive;
        return refresh;
    };
    const ChartSettings& c = engine.Chart;
    StabilityWindow::ShowFor(&window, source, due, {c.BackColor, c.AxisColor, c.TraceColor, c.GridColor});
}
