#include "energy/EnergyQuery.h"

#include "link/LinkState.h"

namespace {

EnergyQuery Ask(int16_t state, const char* command, double timeout) {
    return {true, state, command, timeout, {}};
}

EnergyQuery Refuse(const QString& message) {
    EnergyQuery q;
    q.Message = message;
    return q;
}

QString NoRapidPulse(const char* head, const char* ending) {
    return QStringLiteral("You are using the ") + QLatin1String(head) +
           QStringLiteral(" head, which does not support Rapid Pulse") + QLatin1String(ending);
}

}  // namespace

EnergyQuery NextEnergyQuery(bool rapidPulse, HeadKind headType, MeterModel deviceType, bool afterReading) {
    if (rapidPulse) {
        switch (headType) {
            case HeadKind::RapidPulse:
                return Ask(2, "EF", kQueryTimeout);
            case HeadKind::Thermopile:
                return Refuse(NoRapidPulse("Thermopile", "!"));
            case HeadKind::Pyroelectric:
                return Refuse(NoRapidPulse("Pyroelectric", "!"));
            case HeadKind::Photodiode:
                return Refuse(NoRapidPulse("Photodiode", " !"));
            case HeadKind::NanoJoule:
                return Refuse(NoRapidPulse("nJ-meter", "!"));
            case HeadKind::Photometer:
                return Refuse(NoRapidPulse("Photometer", " !"));
            default:
                return {};
        }
    }
    switch (headType) {
        case HeadKind::Thermopile:
        case HeadKind::RapidPulse:
            return Ask(1, "ER", kQueryTimeout);
        case HeadKind::Pyroelectric:
        case HeadKind::NanoJoule:
            // The TALON answers "SE" when a pulse came; the others report the pulse first.
            return deviceType == MeterModel::Talon ? Ask(3, "SE", 1.0) : Ask(2, "EF", kQueryTimeout);
        case HeadKind::Photodiode:
        case HeadKind::Photometer:
            if (!afterReading) return Refuse(kNoEnergyHead);
            return Refuse(QStringLiteral("You are using the ") +
                          (headType == HeadKind::Photodiode ? QStringLiteral("Photodiode")
                                                            : QStringLiteral("Photometer")) +
                          QStringLiteral(" head, which does not support Energy!"));
        default:
            return {};
    }
}
