#pragma once

#include "data/Units.h"

#include <QString>

// First line of a single-channel power file written by a logging window:
// "Power, in Watts " TAB " Time, in Seconds " TAB " Head: " + head name and serial.
QString PowerFileHeader(const UnitScale& units, const QString& headNameAndSerial);
