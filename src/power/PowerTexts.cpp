#include "power/PowerTexts.h"

#include "data/LogLines.h"
#include "data/NumberFormat.h"
#include "data/Units.h"
#include "link/LinkState.h"

QString ReadingText(double reading, bool limitsOn, double graphLow, double graphHigh,
                    const UnitScale& units) {
    if (limitsOn && reading < graphLow) return QStringLiteral("UNDER");
    if (limitsOn && reading > graphHigh) return QStringLiteral("OVER");
    if (RoundDecimals(reading, 6) == 0) return QStringLiteral("0") + units.PowerUnit(4);
    const int i = IndexPowerLabel(reading);
    return FormatFourDigits(reading * UnitScale::PowerFactors[size_t(i)]) + units.PowerUnit(i);
}

QString OverrangeText(bool limitsOn) {
    return limitsOn ? QStringLiteral("OVER") : QStringLiteral("Overrange");
}

QString StatisticsText(const QString& prefix, double value, const UnitScale& units) {
    const int i = IndexPowerLabel(value);
    return prefix + FormatNumber(value * UnitScale::PowerFactors[size_t(i)], QStringLiteral("###0.00")) +
           units.PowerUnit(i);
}

PollStep NextPoll(HeadKind headType, MeterModel deviceType) {
    switch (headType) {
        case HeadKind::Thermopile:
        case HeadKind::Photodiode:
        case HeadKind::RapidPulse:
        case HeadKind::Photometer:
            return {true, 3, "SP", 5.0};
        case HeadKind::Pyroelectric:
        case HeadKind::NanoJoule:
            // Pyroelectric heads: the TALON answers "SP" directly; the others
            // are asked for the pulse-ready flag first.
            if (deviceType == MeterModel::Talon) return {true, 3, "SP", 1.0};
            if (deviceType == MeterModel::MeridelOne || deviceType == MeterModel::MeridelTwo ||
                deviceType == MeterModel::Talon2 || deviceType == MeterModel::Sirka)
                return {true, 2, "EF", kQueryTimeout};
            return {};
        default:
            return {};
    }
}
