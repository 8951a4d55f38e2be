#pragma once

#include "link/MeterIdentity.h"

#include <QString>

// A run cut by a lost (or closed) line and the meter that comes back.

// Keeps the meter on the line as the one the cut left; the link calls it
// as it closes a connection.
void RememberMeter();

// The line is about to be cut: the active mode's run is interrupted, so
// that nothing it hears before ResumeAfterCut sets it polling again.
// `resumable`: a loss, after which a run that was logging goes on by itself
// (a disconnect by the user leaves that to Start).
void CutRun(bool resumable);

// What differs between the meter the line lost and the one now identified,
// for a run on the current channel or on both: "The meter is back with head
// PE25 s/n 999 on channel A instead of XLP12 s/n 123456"; empty when the
// model and the heads (type, name, serial) are the same.
QString ReplugDifference(const MeterIdentity& before, const MeterIdentity& now, bool bothChannels);

// After a connect that followed a cut, with the meter identified: the
// active mode's run goes on when it is the same meter with the same heads
// (the channel selected again, the mode command sent, then the mode's own
// Resume). Otherwise a run is interrupted and the user told what differs.
void ResumeAfterCut();
