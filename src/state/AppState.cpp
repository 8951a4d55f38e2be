#include "state/AppState.h"

#include "platform/Prompts.h"

namespace {
AppState g_state;
}

AppState& App() {
    return g_state;
}

void ResetAppState() {
    g_state = AppState{};
    Modes().Clear();

    g_state.HeadTypeNames = {"No head connected", "Thermopile head",  "Pyroelectric head", "Photodiode head",
                             "Pyroelectric head", "Rapid Pulse head", "Photometer head"};
    g_state.DeviceNames = {"TALON",     "Meridel",   "Meridel",      "Talon2", "KORVEN-TH",
                           "KORVEN-PD", "KORVEN-PE", "KORVEN-QX450", "Sirka"};
    g_state.EnergyUnits = {"pJ", "nJ", "uJ", "mJ", "J", "kJ"};
    g_state.EnergyUnitFactors = {1e12, 1e9, 1e6, 1e3, 1, 1e-3};
    g_state.PowerUnits = {"pW", "nW", "uW", "mW", "W", "kW", "MW"};
    g_state.PowerUnitFactors = {1e12, 1e9, 1e6, 1e3, 1, 1e-3, 1e-6};
}

bool HeadPresent(int16_t channel) {
    if (channel < 0 || channel > 2) return false;
    return g_state.Channels[channel].HeadType != 0;
}

void SetBusyCursor(bool busy) {
    platform::prompts().SetBusy(busy);
}
