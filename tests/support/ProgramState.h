#pragma once

// The one way tests put program-wide state in place: back to the start of a
// run, and a meter as identification would leave it.

#include "link/MeterIdentityWrite.h"
#include "state/StateReset.h"

// Everything a previous case left behind goes: application and link state,
// meter identity, working file, file dialogs, meter-log transfer, loaded data.
inline void FreshProgramState() {
    ResetProgramState();
}

// Fresh program state for its lifetime and again after it.
struct ProgramStateScope {
    ProgramStateScope() { FreshProgramState(); }
    ~ProgramStateScope() { FreshProgramState(); }
};

// The meter identity, writable, for a case that needs a meter without a line.
inline MeterIdentity& TestMeter() {
    return WritableMeter();
}
