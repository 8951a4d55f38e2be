#include "dual/DualTexts.h"

#include "data/Arithmetic.h"
#include "data/LogLines.h"
#include "data/NumberFormat.h"
#include "data/Overrange.h"
#include "data/Units.h"
#include "power/PowerTexts.h"
#include "state/AppState.h"

#include <cmath>

QString RatioDisplayText(double ratio, double normFactor) {
    if (IsOverrange(ratio)) return QStringLiteral("Overrange");
    if (RoundDecimals(ratio, 6) == 0 || ratio < 0) return QStringLiteral("LOW");
    const double v = ratio * normFactor;
    const int e = RoundedDecade(v, 2);
    const QString pattern = QStringLiteral("####.00");
    if (e == 0) return FormatNumber(v, pattern);
    return FormatNumber(v / std::pow(10.0, e), pattern) + QStringLiteral("E") + QString::number(e);
}

QString RatioStatisticsText(const QString& prefix, double value, double normFactor) {
    return prefix + FormatScientific(value * normFactor);
}

QString NormFactorText(bool normalized, double normFactor) {
    return normalized ? FormatScientific(normFactor) : QStringLiteral("None");
}

QString DifferenceDisplayText(double difference, double offset, const UnitScale& units) {
    if (IsOverrange(difference)) return QStringLiteral("Overrange");
    if (IsOverrange(-difference)) return QStringLiteral("Underrange");
    const double v = difference - offset;
    if (RoundDecimals(v, 6) == 0) return QStringLiteral("0") + units.PowerUnit(4);
    const int i = IndexPowerLabel(v);
    return FormatNumber(v * UnitScale::PowerFactors[size_t(i)], QStringLiteral("###0.0")) +
           units.PowerUnit(i);
}

QString OffsetText(bool offsetOn, double offset, const UnitScale& units) {
    return offsetOn ? StatisticsText(QString(), offset, units) : QStringLiteral("Zero");
}

QString DualPowerFileHeader(const QString& baseUnit, const QString& headA, const QString& headB) {
    return QStringLiteral("Power, ") + baseUnit +
           QStringLiteral(" Channel A\t Channel B \t Time, in Seconds \t Head A: ") + headA +
           QStringLiteral("\t Head B: ") + headB;
}
