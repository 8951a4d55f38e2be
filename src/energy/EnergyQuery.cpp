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

EnergyQuery NextEnergyQuery(bool rapidPulse, int16_t headType, int16_t deviceType, bool afterReading) {
    if (rapidPulse) {
        switch (headType) {
            case 5:
                return Ask(2, "EF", kQueryTimeout);
            case 1:
                return Refuse(NoRapidPulse("Thermopile", "!"));
            case 2:
                return Refuse(NoRapidPulse("Pyroelectric", "!"));
            case 3:
                return Refuse(NoRapidPulse("Photodiode", " !"));
            case 4:
                return Refuse(NoRapidPulse("nJ-meter", "!"));
            case 6:
                return Refuse(NoRapidPulse("Photometer", " !"));
            default:
                return {};
        }
    }
    switch (headType) {
        case 1:
        case 5:
            return Ask(1, "ER", kQueryTimeout);
        case 2:
        case 4:
            // The TALON answers "SE" when a pulse came; the others report the pulse first.
            return deviceType == 0 ? Ask(3, "SE", 1.0) : Ask(2, "EF", kQueryTimeout);
        case 3:
        case 6:
            if (!afterReading) return Refuse(kNoEnergyHead);
            return Refuse(QStringLiteral("You are using the ") +
                          (headType == 3 ? QStringLiteral("Photodiode") : QStringLiteral("Photometer")) +
                          QStringLiteral(" head, which does not support Energy!"));
        default:
            return {};
    }
}
