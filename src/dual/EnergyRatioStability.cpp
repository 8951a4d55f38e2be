#include "dual/EnergyRatioStability.h"

#include "auxiliary/StabilityWindow.h"
#include "data/Arithmetic.h"
#include "data/Overrange.h"
#include "dual/EnergyRatioWindow.h"

#include <array>
#include <limits>
#include <utility>

void ShowEnergyRatioStability(EnergyRatioWindow& window) {
    const EnergyRatioEngine& engine = window.Engine;
    const auto source = [&engine] {
        StabilitySnapshot s;
        s.Title = engine.Display.Caption + QStringLiteral(": the ratio of the run so far");
        std::vector<double> ratios;
        ratios.reserve(size_t(engine.Store().Count()));
        engine.Store().ForEachOldestFirst([&](const PairRecord& r) {
            double y = 0;
            if (IsOverrange(r.A) || IsOverrange(r.B))
                ratios.push_back(OverrangeValue);  // the ratio of an unknown energy is unknown
            else
                ratios.push_back(RatioOf(engine.RatioMode, engine.NormFactor, r.A, r.B, y)
                                     ? y
                                     : std::numeric_limits<double>::quiet_NaN());
        });
        s.Energy = analysis::AnalyseEnergy(std::span<const double>(ratios),
                                           std::numeric_limits<double>::quiet_NaN());
        return s;
    };
    const auto due = [&engine, last = std::array<double, 3>{}]() mutable {
        const std::array<double, 3> now{double(engine.Store().Count()), double(engine.RatioMode),
                                        engine.NormFactor};
        return std::exchange(last, now) != now || !engine.Stopped;
    };
    StabilityWindow::ShowFor(&window, source, due, {});
}
