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
    Modes().Clear();
}

void SetBusyCursor(bool busy) {
    platform::prompts().SetBusy(busy);
}
