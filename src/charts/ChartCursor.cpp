#include "charts/ChartCursor.h"

#include "data/LogLines.h"
#include "data/NumberFormat.h"
#include "data/Units.h"

#include <cmath>

std::optional<ChartCursor> CursorAt(const ChartGeometry& g, float yMin, double x, double y) {
    if (g.XPerSecond <= 0 || g.YPerUnit <= 0) return std::nullopt;
    if (x < g.PlotLeft || x > g.PlotRight || y < g.PlotTop || y > g.PlotBottom) return std::nullopt;
    double value = yMin + (g.PlotBottom - y) / g.YPerUnit;
    // Rounding leaves a trace of a value at the zero line; it reads as 0.
    if (std::fabs(value) < 1e-9 * (g.PlotBottom - g.PlotTop) / g.YPerUnit) value = 0;
    return ChartCursor{(x - g.PlotLeft) / g.XPerSecond + g.ChartStart, value};
}

QString CursorText(const ChartSettings& settings, const ChartCursor& cursor) {
    const TimeUnit unit = TimeUnitFor(settings.Screen.ChartSpan);
    double time = cursor.Time;
    QString unitName = QStringLiteral("s");
    if (unit.Name == QLatin1String("Minutes")) {
        time /= 60;
        unitName = QStringLiteral("min");
    } else if (unit.Name == QLatin1String("Hours")) {
        time /= 3600;
        unitName = QStringLiteral("h");
    }
    const QString timeText =
        QStringLiteral("Time: ") + FormatNumber(time, QStringLiteral("0.00")) + QLatin1Char(' ') + unitName;

    QString valueText;
    if (settings.YLabelMode == 1) {
        // 0 reads "0W", as the read-out shows it.
        const int i = cursor.Value == 0 ? 4 : IndexPowerLabel(cursor.Value);
        const QString number = cursor.Value == 0
                                   ? QStringLiteral("0")
                                   : FormatFourDigits(cursor.Value * UnitScale::PowerFactors[size_t(i)]);
        valueText = QStringLiteral("Power: ") + number + settings.Units.PowerUnit(i);
    } else {
        const ValueAxis axis = ValueAxisFor(0, settings.YTitle, settings.YMax, settings.YMin, settings.Units);
        const QString title = settings.YTitle.isEmpty() ? QStringLiteral("Value") : axis.Title;
        valueText =
            title + QStringLiteral(": ") + FormatNumber(cursor.Value * axis.Factor, QStringLiteral("0.000"));
    }
    return timeText + QStringLiteral("   ") + valueText;
}

QString CursorTextAt(const ChartSettings& settings, double x, double y) {
    const std::optional<ChartCursor> c = CursorAt(settings.Screen, settings.YMin, x, y);
    return c ? CursorText(settings, *c) : QString();
}

namespace {
// The smallest of 1, 2, 5 times a power of ten that is at least `raw`.
double NiceStep(double raw) {
    const double decade = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double m : {1.0, 2.0, 5.0})
        if (m * decade >= raw * (1 - 1e-9)) return m * decade;
    return 10 * decade;
}
}  // namespace

std::optional<ChartRange> AutoScaleRange(double low, double high, int divisions) {
    if (!std::isfinite(low) || !std::isfinite(high)) return std::nullopt;
    if (low > high) std::swap(low, high);
    if (low == 0 && high == 0) return std::nullopt;
    const double room = high > low ? (high - low) * 0.1 : std::fabs(low) * 0.05;
    double from = low - room;
    double to = high + room;
    const double step = NiceStep((to - from) / SafeDivisions(divisions));
    from = std::floor(from / step + 1e-9) * step;
    to = std::ceil(to / step - 1e-9) * step;
    if (low >= 0 && from < 0) from = 0;
    if (!std::isfinite(from) || !std::isfinite(to) || float(from) >= float(to) || std::fabs(to) > 3.0e38 ||
        std::fabs(from) > 3.0e38)
        return std::nullopt;
    return ChartRange{float(from), float(to)};
}
