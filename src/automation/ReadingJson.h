#pragma once

#include "state/Mode.h"

#include <string>

// One reading as one JSON object on one line (no line end):
// {"t":1.25,"value":0.0125,"unit":"W","channel":"A"}; "value" is null when
// over range. A result of two channels has "channel":"both" and adds
// "a" and "b" (null where that channel was over range) in "channel_unit".
// Numbers are written in the shortest form that reads back to the same double.
std::string ReadingJson(const Reading& reading);
