#include "state/StateReset.h"

#include <vector>

namespace {
std::vector<void (*)()>& Resets() {
    static std::vector<void (*)()> resets;
    return resets;
}
}  // namespace

ResetWithProgramState::ResetWithProgramState(void (*reset)()) {
    Resets().push_back(reset);
}

void ResetProgramState() {
    for (void (*reset)() : Resets()) reset();
}
