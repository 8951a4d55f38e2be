#include "charts/AllanChart.h"

#include "charts/SurfaceText.h"
#include "platform/Surface.h"

#include <algorithm>
#include <cmath>

LogAxis LogAxisFor(double lo, double hi) {
    LogAxis a;
    a.First = int(std::floor(std::log10(lo) + 1e-9));
    a.Last = std::max(int(std::ceil(std::log10(hi) - 1e-9)), a.First + 1);
    return a;
}

namespace {

QString DecadeText(int k) {
    return QString::number(std::pow(10.0, k), 'g', 3);
}

}  // namespace

void DrawAllanChart(platform::Surface& s, double left, double top, double width, double height,
                    const std::vector<analysis::AllanPoint>& points, const QString& unit,
                    const AllanChartColors& colors, double fontPoints) {
    s.FillBox(left, top, left + width, top + height, colors.Back);
    s.SetFontSize(fontPoints);
    s.SetFontBold(false);
    s.SetForeColor(colors.Axis);
    const double line = s.TextHeight(QStringLiteral("0"));
    const QString yTitle =
        unit.isEmpty() ? QStringLiteral("Allan deviation") : QStringLiteral("Allan deviation, ") + unit;
    const double plotLeft = left + s.TextWidth(QStringLiteral("0.0001 ")) + line;
    const double plotRight = left + width - s.TextWidth(QStringLiteral("00"));
    const double plotTop = top + 2 * line;
    const double plotBottom = top + height - 2.5 * line;
    PrintAt(s, left + line * 0.5, top + line * 0.4, yTitle);
    const QString xTitle = QStringLiteral("\u03c4, s");
    PrintAt(s, (plotLeft + plotRight - s.TextWidth(xTitle)) / 2, plotBottom + 1.3 * line, xTitle);

    std::vector<analysis::AllanPoint> shown;
    for (const auto& p : points)
        if (p.Deviation > 0 && p.Tau > 0) shown.push_back(p);
    if (shown.empty() || plotRight <= plotLeft || plotBottom <= plotTop) {
        s.Box(plotLeft, plotTop, plotRight, plotBottom, colors.Axis);
        PrintAt(s, plotLeft + line, plotTop + line, QStringLiteral("No Allan deviation to show."));
        return;
    }
    double dLo = shown.front().Deviation, dHi = dLo;
    for (const auto& p : shown) {
        dLo = std::min(dLo, p.Deviation);
        dHi = std::max(dHi, p.Deviation);
    }
    const LogAxis x = LogAxisFor(shown.front().Tau, shown.back().Tau);
    const LogAxis y = LogAxisFor(dLo, dHi);
    const auto X = [&](double tau) {
        return plotLeft + (std::log10(tau) - x.First) / (x.Last - x.First) * (plotRight - plotLeft);
    };
    const auto Y = [&](double d) {
        return plotBottom - (std::log10(d) - y.First) / (y.Last - y.First) * (plotBottom - plotTop);
    };
    for (int k = x.First; k <= x.Last; ++k) {
        const double px = X(std::pow(10.0, k));
        if (k > x.First && k < x.Last) s.Line(px, plotTop, px, plotBottom, colors.Grid);
        const QString t = DecadeText(k);
        PrintAt(s, px - s.TextWidth(t) / 2, plotBottom + 0.2 * line, t);
    }
    for (int k = y.First; k <= y.Last; ++k) {
        const double py = Y(std::pow(10.0, k));
        if (k > y.First && k < y.Last) s.Line(plotLeft, py, plotRight, py, colors.Grid);
        const QString t = DecadeText(k);
        PrintAt(s, plotLeft - s.TextWidth(t) - 0.3 * line, py - line / 2, t);
    }
    s.Box(plotLeft, plotTop, plotRight, plotBottom, colors.Axis);
    const double mark = line * 0.25;
    for (size_t i = 0; i < shown.size(); ++i) {
        const double px = X(shown[i].Tau), py = Y(shown[i].Deviation);
        s.FillBox(px - mark, py - mark, px + mark, py + mark, colors.Trace);
        if (i > 0) s.Line(X(shown[i - 1].Tau), Y(shown[i - 1].Deviation), px, py, colors.Trace);
    }
}
