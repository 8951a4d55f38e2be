#include "energy/EnergyStability.h"

#include "auxiliary/StabilityWindow.h"
#include "energy/EnergyWindow.h"

#include <limits>

void ShowEnergyStability(EnergyWindow& window) {
    const EnergyEngine& engine = window.Engine;
    const auto source = [&engine] {
        StabilitySnapshot s;
        s.Title = engine.WindowTitle + QStringLiteral(": the run so far");
        s.Unit = engine.RelativeUnits ? QStringLiteral("RP-Units") : QStringLiteral("J");
        std::vector<float> values;
        values.reserve(size_t(engine.Store().Count()));
        engine.Store().ForEachOldestFirst([&values](const EnergyRecord& r) { values.push_back(r.Value); });
        // A live run has no missed-pulse marks: none matches NaN.
        s.Energy =
            analysis::AnalyseEnergy(std::span<const float>(values), std::numeric_limits<float>::quiet_NaN());
        return s;
    };
    const auto due = [&engine, wasRunning = !engine.Stopped]() mutable {
        const bool refresh = !engine.Stopped || wasRunning;
        wasRunning = !engine.Stopped;
        return refresh;
    };
    StabilityWindow::ShowFor(&window, source, due, {});
}
