#pragma once

#include "state/AppState.h"

#include <QString>

// The status strip's run text: "Run 0:01:05 of 0:05:00, 1234 readings"
// while logging, "Stopped at ..." while a run is paused, "Run ended at ..."
// after its end; "" when there is no run to tell of. Times are whole
// seconds, cut, not rounded: the strip never runs ahead of the run.
QString RunStatusText(const RunProgress& progress);
