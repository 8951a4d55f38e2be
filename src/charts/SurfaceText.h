#pragma once

#include "platform/Surface.h"

#include <QString>

// Text at a position: the surface's current position set, then printed.
inline void PrintAt(platform::Surface& surface, double x, double y, const QString& text) {
    surface.SetCurrentX(x);
    surface.SetCurrentY(y);
    surface.Print(text);
}
