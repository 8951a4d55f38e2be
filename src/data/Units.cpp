#include "data/Units.h"

#include "data/NumberFormat.h"

#include <cmath>

namespace {
constexpr std::array<const char*, 7> kPrefixes{"p", "n", "u", "m", "", "k", "M"};

QLatin1String Prefix(int i, int count) {
    return QLatin1String(kPrefixes[size_t(i < 0 ? 0 : i >= count ? count - 1 : i)]);
}
}  // namespace

QString UnitScale::PowerUnit(int i) const {
    return Prefix(i, int(PowerFactors.size())) + BaseUnit;
}

QString UnitScale::EnergyUnit(int i) const {
    const QLatin1String prefix = Prefix(i, int(EnergyFactors.size()));
    return RelativeEnergy ? QString(prefix) : prefix + QLatin1Char('J');
}

QString UnitLongName(const QString& abbreviation) {
    if (abbreviation == QLatin1String("Lx")) return QStringLiteral("Lux");
    if (abbreviation == QLatin1String("Fc")) return QStringLiteral("Footcandles");
    if (abbreviation == QLatin1String("A")) return QStringLiteral("Amperes");
    if (abbreviation == QLatin1String("V")) return QStringLiteral("Volts");
    return QStringLiteral("Watts");
}

int AutoPrefixIndex(double value, int unitCount) {
    // Nine decimals first, so 999.9999999996 counts as 1000 and 4E-10 as 0.
    const double v = RoundDecimals(std::fabs(value), 9);
    static const double lowerBounds[] = {1e-9, 1e-6, 1e-3, 1, 1e3, 1e6};
    int index = 0;
    for (double bound : lowerBounds)
        if (v >= bound) ++index;
    if (index > unitCount - 1) index = unitCount - 1;
    return index < 0 ? 0 : index;
}

int IndexPowerLabel(double value) {
    return AutoPrefixIndex(value, 7);
}

int IndexEnergyLabel(double value) {
    return AutoPrefixIndex(value, 6);
}
