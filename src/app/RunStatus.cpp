#include "app/RunStatus.h"

#include <cmath>

namespace {
// Whole seconds of the time as the data file writes it (hundredths): a
// reading the file puts at 2.00 s is not shown as 0:00:01.
QString Duration(double seconds) {
    const qint64 s =
        seconds > 0 && std::isfinite(seconds) ? qint64(std::floor(std::round(seconds * 100) / 100)) : 0;
    return QStringLiteral("%1:%2:%3")
        .arg(s / 3600)
        .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(s % 60, 2, 10, QLatin1Char('0'));
}
}  // namespace

QString RunStatusText(const RunProgress& p) {
    if (p.Readings == 0 && !p.Logging) return QString();
    QString text = p.Logging  ? QStringLiteral("Run ")
                   : p.Active ? QStringLiteral("Stopped at ")
                              : QStringLiteral("Run ended at ");
    // The run stops at the first reading past its log time.
    const double elapsed = p.LogTime > 0 && p.Logging ? std::min(p.Elapsed, p.LogTime) : p.Elapsed;
    text += Duration(elapsed);
    if (p.LogTime > 0) text += QStringLiteral(" of ") + Duration(p.LogTime);
    text += QStringLiteral(", %1 %2").arg(p.Readings).arg(p.Readings == 1 ? "reading" : "readings");
    return text;
}
