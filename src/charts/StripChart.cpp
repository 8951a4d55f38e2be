#include "charts/StripChart.h"

#include "charts/SurfaceText.h"
#include "data/Arithmetic.h"
#include "data/TimeBase.h"
#include "platform/Printer.h"
#include "platform/Surface.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr int kWhite = 15;
constexpr int kBlack = 0;

// What differs between the screen and the printed page.
struct Placement {
    bool paper = false;
    bool everyTimeLabel = true;
    bool everyValueLabel = true;
    QString valuePattern;
    int clockColor = kWhite;
};

void CopyColors(ChartGeometry& g, const ChartSettings& s) {
    g.TraceColor = s.TraceColor;
    g.AxisColor = s.AxisColor;
    g.GridColor = s.GridColor;
    g.BandColor = BandColorFor(s.TraceColor, s.BackColor);
    g.HasPoint = false;
}

ChartSettings OnPaper(const ChartSettings& s) {
    ChartSettings p = s;
    p.AxisColor = PaperColor(s.AxisColor);
    p.TraceColor = PaperColor(s.TraceColor);
    p.GridColor = PaperColor(s.GridColor);
    p.BackColor = kWhite;
    return p;
}

void DrawValueAxis(platform::Surface& surface, const ChartSettings& s, const ChartGeometry& g,
                   const ValueAxis& axis, const Placement& p) {
    int n = SafeDivisions(s.YDivisions);
    bool grid = s.GridStyle == 1 || s.GridStyle == 3;
    for (int k = 0; k <= n; ++k) {
        double y = DivisionAt(g.PlotTop, g.PlotBottom, k, n);
        double v = double(s.YMax) - k * (double(s.YMax) - double(s.YMin)) / n;
        if (grid)
            surface.Line(g.PlotLeft, y, g.PlotRight, y, s.GridColor);
        else
            surface.Line(g.PlotLeft, y, g.PlotLeft + 0.7, y, s.AxisColor);
        if (!LabelAt(k, p.everyValueLabel)) continue;
        QString text = AxisLabel(v * axis.Factor, p.valuePattern);
        if (p.paper)
            PrintAt(surface, g.PlotLeft - 1.5 - surface.TextWidth(text), y - surface.TextHeight(text) / 2,
                    text);
        else
            PrintAt(surface, 0, y - 2, text);
    }
    if (p.paper)
        PrintAt(surface, g.PlotLeft - 25, g.PlotTop - 7 - surface.TextHeight(axis.Title), axis.Title);
    else
        PrintAt(surface, 0, 0, axis.Title);
}

void DrawTimeAxis(platform::Surface& surface, const ChartSettings& s, const ChartGeometry& g, float start,
                  float span, const Placement& p) {
    int n = SafeDivisions(s.XDivisions);
    bool grid = s.GridStyle == 2 || s.GridStyle == 3;
    TimeUnit unit = TimeUnitFor(span);
    QString pattern = DistinctPattern(TimeLabelPattern(unit.Value, n), unit.Value / n);
    double clockY = p.paper ? g.PlotBottom + 10 : g.PlotBottom + 4.5;
    for (int k = 0; k <= n; ++k) {
        double x = DivisionAt(g.PlotLeft, g.PlotRight, k, n);
        if (grid)
            surface.Line(x, g.PlotTop, x, g.PlotBottom, s.GridColor);
        else
            surface.Line(x, g.PlotBottom - 0.7, x, g.PlotBottom, s.AxisColor);
        if (LabelAt(k, p.everyTimeLabel)) {
            QString text = AxisLabel(k * unit.Value / n, pattern);
            if (p.paper)
                PrintAt(surface, x - surface.TextWidth(text) / 2, g.PlotBottom + 1, text);
            else
                PrintAt(surface, x - 2, g.PlotBottom, text);
        }
    }
    const QString title = "Time, " + unit.Name;
    const QString leftClock = SecondsToClock(0, 0, start), rightClock = SecondsToClock(0, 0, start + span);
    surface.SetForeColor(p.clockColor);
    if (p.paper) {
        PrintAt(surface, g.PlotLeft, clockY, leftClock);
        PrintAt(surface, g.PlotRight - 28, clockY, rightClock);
        PrintAt(surface, (g.PlotLeft + g.PlotRight - surface.TextWidth(title)) / 2, g.PlotBottom + 20, title);
    } else {
        double titleX = (g.PlotRight - g.PlotLeft) / 2, rightX = g.PlotRight - 14;
        const double leftWidth = surface.TextWidth(leftClock), titleWidth = surface.TextWidth(title);
        const double rightWidth = surface.TextWidth(rightClock);
        bool clocks = true;
        // A narrow chart would print the three texts over each other: the
        // title goes in the middle, the clocks only where they fit beside it.
        if (g.PlotLeft + leftWidth + 1 > titleX || titleX + titleWidth + 1 > rightX) {
            titleX = (g.PlotLeft + g.PlotRight - titleWidth) / 2;
            rightX = g.PlotRight - rightWidth;
            clocks = g.PlotLeft + leftWidth + 1 <= titleX && titleX + titleWidth + 1 <= rightX;
        }
        if (clocks) {
            PrintAt(surface, g.PlotLeft, clockY, leftClock);
            PrintAt(surface, rightX, clockY, rightClock);
        }
        PrintAt(surface, titleX, clockY, title);
    }
    surface.SetForeColor(s.AxisColor);
}

QString ValuePattern(const ChartSettings& s, const ValueAxis& axis) {
    const double range = (double(s.YMax) - double(s.YMin)) * axis.Factor;
    return DistinctPattern(PrintedValuePattern(range), range / SafeDivisions(s.YDivisions));
}

void AddPoint(platform::Surface& surface, const ChartSettings& s, ChartGeometry& g, const ChartPoint& point) {
    QPointF p = PointPosition(g, point.Time, point.Value, s.YMin);
    // A trace that lost its previous point (a full drawing came between, or
    // the meter was away) starts afresh instead of joining a stale position.
    const bool joined = point.Index != 0 && g.HasPoint && !point.AfterGap;
    DrawBand(surface, g, point.Band, point.Time, s.YMin, joined);
    if (!joined)
        surface.Dot(p.x(), p.y(), g.TraceColor);
    else
        surface.Line(g.PointX, g.PointY, p.x(), p.y(), g.TraceColor);
    g.HasPoint = true;
    g.PointX = p.x();
    g.PointY = p.y();
}

}  // namespace

void FitChartToPixels(ChartSettings& settings, QSize logicalPixels) {
    auto units = [](int px) {
        double u = std::round(MaxOf(px, 0) / kChartPixelsPerUnit);
        return int16_t(MinOf(u, 32767.0));
    };
    settings.Left = 0;
    settings.Top = 0;
    settings.Width = units(logicalPixels.width());
    settings.Height = units(logicalPixels.height());
}

void DrawChartPoint(ChartSettings& s, platform::Surface& surface, const ChartPoint& point) {
    AddPoint(surface, s, s.Screen, point);
}

bool PrintChartPoint(ChartSettings& s, platform::Printer& printer, const ChartPoint& point) {
    if (!printer.IsPrinting()) return false;
    AddPoint(printer.Page(), s, s.Paper, point);
    return true;
}

void DrawChart(int mode, ChartSettings& s, platform::Surface& surface, float start, float span) {
    if (mode != 0) return;
    ChartGeometry& g = s.Screen;
    g.ChartSpan = span;
    g.ChartStart = start;
    surface.SetScale(0, 0, s.Width, s.Height);
    Placement p;
    p.everyTimeLabel = s.Width >= 100;
    p.everyValueLabel = s.Height >= 50;
    surface.Clear(s.BackColor);
    if (s.FrameStyle == 1) surface.Box(0, 0, s.Width, s.Height, kBlack);
    CopyColors(g, s);
    ScreenPlot(g, s.Width, s.Height);
    surface.SetFontSize(kChartScreenFontPoints);
    surface.SetFontBold(false);
    surface.SetForeColor(s.AxisColor);
    ValueAxis axis = ValueAxisFor(s.YLabelMode, s.YTitle, s.YMax, s.YMin, s.Units);
    // The printed page's range-dependent decimals, so that a narrow range
    // does not show the same label on neighbouring divisions.
    p.valuePattern = ValuePattern(s, axis);
    DrawValueAxis(surface, s, g, axis, p);
    DrawTimeAxis(surface, s, g, start, span, p);
    surface.Box(g.PlotLeft, g.PlotTop, g.PlotRight, g.PlotBottom, s.AxisColor);
    SetChartScales(g, start, span, s.YMax, s.YMin);
}

bool PrintChart(int mode, ChartSettings& s, platform::Printer& printer, float start, float span,
                const std::function<void(platform::Surface&)>& printNotes) {
    platform::Surface& page = printer.Page();
    if (mode == 2) return printer.EndDoc();
    if (mode != 0) return false;
    if (!printer.BeginDoc()) return false;
    ChartGeometry& g = s.Paper;
    const ChartSettings inks = OnPaper(s);
    // Millimetres over the printable area, as the printer surface starts.
    double pageWidth = page.ScaleWidth(), pageHeight = page.ScaleHeight();
    page.SetScale(0, 0, pageWidth, pageHeight);
    CopyColors(g, inks);
    PaperPlot(g, pageWidth, pageHeight);
    ValueAxis axis = ValueAxisFor(s.YLabelMode, s.YTitle, s.YMax, s.YMin, s.Units);
    Placement p;
    p.paper = true;
    p.everyTimeLabel = pageWidth >= 100;
    p.everyValueLabel = pageHeight >= 50;
    p.valuePattern = ValuePattern(s, axis);
    // White clock texts would vanish on paper.
    p.clockColor = kBlack;
    page.SetFontSize(kChartPaperFontPoints);
    page.SetFontBold(false);
    page.SetForeColor(inks.AxisColor);
    DrawValueAxis(page, inks, g, axis, p);
    DrawTimeAxis(page, inks, g, start, span, p);
    page.Box(g.PlotLeft, g.PlotTop, g.PlotRight, g.PlotBottom, inks.AxisColor);
    SetChartScales(g, start, span, s.YMax, s.YMin);
    // The notes' 80-character lines start at 80 mm: a smaller font keeps
    // them on the page.
    page.SetForeColor(kBlack);
    page.SetFontSize(kChartNotesFontPoints);
    if (printNotes) printNotes(page);
    page.SetFontSize(kChartPaperFontPoints);
    return true;
}

void TimesFromPlotX(const ChartSettings& settings, double x1, double x2, double& t1, double& t2) {
    TimesFromPlotX(settings.Screen, x1, x2, t1, t2);
}

void GetPlotArea(const ChartSettings& settings, double& left, double& top, double& right, double& bottom) {
    left = settings.Screen.PlotLeft;
    top = settings.Screen.PlotTop;
    right = settings.Screen.PlotRight;
    bottom = settings.Screen.PlotBottom;
}

int16_t ChartUnits(int logicalPixels) {
    return int16_t(std::lround(std::min(std::max(logicalPixels, 0) / kChartPixelsPerUnit, 32767.0)));
}
