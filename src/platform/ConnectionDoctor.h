#pragma once

#include "platform/SystemView.h"

#include <QString>

namespace platform {

// How a connection attempt or a connection ended.
enum class PortTrouble {
    OpenFailed,  // the device could not be opened
    InUse,       // another program holds it
    NoAnswer,    // opened, but the meter answered at no line speed
    Removed,     // the connected device went away
};

// The paragraph added to the message about `trouble` on COM n (`device`):
// what the system shows and what the user can do. Empty when there is
// nothing to add.
QString Diagnose(PortTrouble trouble, int n, const QString& device, const SystemView& system);

}  // namespace platform
