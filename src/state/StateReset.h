#pragma once

// Program-wide state returns to its start value in one call. Each owner of
// such state registers its reset beside the state itself, so whatever is
// linked in is reset and nothing else is named here.
class ResetWithProgramState {
public:
    explicit ResetWithProgramState(void (*reset)());
};

// Runs every registered reset (program start, and tests between cases).
void ResetProgramState();
