#include "automation/RunLimits.h"

#include <cmath>

std::optional<double> ParseDuration(const QString& text) {
    QString number = text.trimmed();
    double unit = 1;
    if (!number.isEmpty()) {
        switch (number.back().toLatin1()) {
            case 's':
                unit = 1;
                break;
            case 'm':
                unit = 60;
                break;
            case 'h':
                unit = 3600;
                break;
            case 'd':
                unit = 86400;
                break;
            default:
                unit = 0;
                break;
        }
        if (unit != 0)
            number.chop(1);
        else
            unit = 1;
    }
    bool ok = false;
    const double value = number.toDouble(&ok) * unit;
    // A year of logging is far beyond any run; the bound keeps timers in range.
    if (!ok || !std::isfinite(value) || value <= 0 || value > 366 * 86400.0) return std::nullopt;
    return value;
}

QString ProgressLine(int64_t readings, double elapsed, const QString& last) {
    const double rate = elapsed > 0 ? double(readings) / elapsed : 0;
    QString line =
        QStringLiteral("%1 readings  %2/s  %3 s").arg(readings).arg(rate, 0, 'f', 1).arg(elapsed, 0, 'f', 1);
    if (!last.isEmpty()) line += QStringLiteral("  last ") + last;
    return line;
}
