#include "state/AppState.h"

#include "platform/Prompts.h"
#include "state/StateReset.h"

namespace {
AppState g_state;
const ResetWithProgramState kReset{&ResetAppState};
}  // namespace

AppState& App() {
    return g_state;
}

void ResetAppState() {
    g_state = AppState{};

    g_state.EnergyUnits = {"pJ", "nJ", "uJ", "mJ", "J", "kJ"};
    g_state.EnergyUnitFactors = {1e12, 1e9, 1e6, 1e3, 1, 1e-3};
    g_state.PowerUnits = {"pW", "nW", "uW", "mW", "W", "kW", "MW"};
    g_state.PowerUnitFactors = {1e12, 1e9, 1e6, 1e3, 1, 1e-3, 1e-6};
}

void SetBusyCursor(bool busy) {
    platform::prompts().SetBusy(busy);
}
