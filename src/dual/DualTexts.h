#pragma once

#include "data/Units.h"

#include <QString>

// The texts a window or viewer of two-channel power data shows, without
// widgets. Values are in the base unit; ratios are plain numbers.

// The ratio read-out: "Overrange" for an over-range ratio; "LOW" for a ratio
// that vanishes at six decimals or is negative; otherwise the ratio times
// `normFactor` as "####.00", with "E" and the decade when that is not 0
// (2.50E-3).
QString RatioDisplayText(double ratio, double normFactor);

// A ratio statistics line: the prefix ("Min:  ") and the value times
// `normFactor` in the scientific form ("2.50 E-01"), no unit.
QString RatioStatisticsText(const QString& prefix, double value, double normFactor);

// The normalisation factor as shown: "None" when not normalised.
QString NormFactorText(bool normalized, double normFactor);

// The difference read-out: "Overrange" / "Underrange" for a difference over
// range with either sign; otherwise `difference` - `offset` with "###0.0" in
// its automatic prefix ("-12.5mW"), or "0W" when it vanishes at six decimals.
QString DifferenceDisplayText(double difference, double offset, const UnitScale& units);

// The offset as shown: "Zero" when off, otherwise "###0.00" in its
// automatic prefix with the unit ("2.00mW").
QString OffsetText(bool offsetOn, double offset, const UnitScale& units);

// First line of a two-channel power file: "Power, " + the base unit +
// " Channel A" TAB " Channel B " TAB " Time, in Seconds " TAB " Head A: " +
// head A name and serial, TAB " Head B: " + head B name and serial.
QString DualPowerFileHeader(const QString& baseUnit, const QString& headA, const QString& headB);
