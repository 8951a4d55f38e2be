#pragma once

#include <QString>
#include <array>

// The unit in force of one run or one loaded record, carried with its data:
// the base unit of power readings and whether energies are in the meter's
// relative (RP) units. Its owner (the engine or viewer of the data) hands it
// to whatever formats or draws the data. A value in the base unit times the
// factor of a prefix is the value in the prefixed unit.
struct UnitScale {
    QString BaseUnit = QStringLiteral("W");  // "W", "Lx", "Fc", "A" or "V"
    bool RelativeEnergy = false;

    static constexpr std::array<double, 7> PowerFactors{1e12, 1e9, 1e6, 1e3, 1, 1e-3, 1e-6};  // p .. M
    static constexpr std::array<double, 6> EnergyFactors{1e12, 1e9, 1e6, 1e3, 1, 1e-3};       // p .. k

    // "mW", "uLx": prefix `i` (0 p .. 6 M) and the base unit.
    QString PowerUnit(int i) const;
    // "mJ", or in relative units the bare prefix ("m"): prefix `i` (0 p .. 5 k).
    QString EnergyUnit(int i) const;

    bool operator==(const UnitScale&) const = default;
};

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
