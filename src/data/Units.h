#pragma once

#include <QString>

// Rebuilds App().PowerUnits from App().BaseUnit (pLx ... MLx for lux).
void BuildPowerUnits();

// Long name of a base unit for headings: Lux, Footcandles, Amperes, Volts,
// otherwise Watts.
QString UnitLongName(const QString& abbreviation);

// Index of the unit prefix for a value in the base unit: |value| rounded to
// nine decimals, then p (below 1E-9), n, u, m, none, k, M (1E+6 and above),
// limited to `unitCount` - 1 (7 power units, 6 energy units).
int AutoPrefixIndex(double value, int unitCount);

// AutoPrefixIndex over the seven power units.
int IndexPowerLabel(double value);

// AutoPrefixIndex over the six energy units (pJ .. kJ).
int IndexEnergyLabel(double value);
