#include "charts/ChartGeometry.h"

#include "data/Arithmetic.h"
#include "data/NumberFormat.h"
#include "data/Overrange.h"
#include "data/Units.h"

#include <algorithm>
#include <cmath>

void ScreenPlot(ChartGeometry& g, double width, double height) {
    g.PlotTop = 7;
    g.PlotLeft = 11;
    g.PlotBottom = height - 9;
    g.PlotRight = width - 9;
    // Points beyond the range stay on the frame: above it sit the title and
    // the labels.
    g.OverY = g.PlotTop;
    g.UnderY = g.PlotBottom;
}

void PaperPlot(ChartGeometry& g, double pageWidth, double pageHeight) {
    g.PlotTop = 60;
    g.PlotLeft = 25;
    g.PlotBottom = pageHeight - 50;
    g.PlotRight = pageWidth - 50;
    // On the frame, not among the time labels below it.
    g.OverY = g.PlotTop;
    g.UnderY = g.PlotBottom;
}

bool SetChartScales(ChartGeometry& g, double start, double span, float yMax, float yMin) {
    g.ChartSpan = span;
    g.ChartStart = start;
    if (span == 0 || yMax == yMin) return false;
    g.XPerSecond = (g.PlotRight - g.PlotLeft) / span;
    g.YPerUnit = (g.PlotBottom - g.PlotTop) / (double(yMax) - double(yMin));
    return true;
}

// lo..hi, or lo alone when a tiny surface leaves hi below lo.
static double Limit(double v, double lo, double hi) {
    if (std::isnan(v)) return hi;
    return MaxOf(lo, MinOf(v, MaxOf(lo, hi)));
}

QPointF PointPosition(const ChartGeometry& g, double time, double reading, float yMin) {
    double y;
    if (IsOverrange(reading)) {
        y = g.OverY;
    } else {
        y = Limit(g.PlotBottom - (reading - double(yMin)) * g.YPerUnit, g.OverY, g.UnderY);
    }
    double x = Limit((time - g.ChartStart) * g.XPerSecond + g.PlotLeft, g.PlotLeft, g.PlotRight);
    return {x, y};
}

void TimesFromPlotX(const ChartGeometry& g, double x1, double x2, double& t1, double& t2) {
    if (x1 > x2) std::swap(x1, x2);
    double width = g.PlotRight - g.PlotLeft;
    auto toTime = [&](double x) {
        return width != 0 ? (x - g.PlotLeft) * g.ChartSpan / width + g.ChartStart : g.ChartStart;
    };
    t1 = toTime(x1);
    t2 = toTime(x2);
}

TimeUnit TimeUnitFor(double span) {
    if (span <= 240) return {"Seconds", span};
    if (span <= 14400) return {"Minutes", span / 60};
    if (span <= 86400) return {"Hours", span / 3600};
    // A record of several days (a downloaded log, a long run).
    return {"Days", span / 86400};
}

QString TimeLabelPattern(double unitValue, int divisions) {
    if (unitValue < 2) return "###0.00";
    if (unitValue <= 60 && std::fmod(unitValue, double(SafeDivisions(divisions))) != 0) return "###0.0";
    return "###0";
}

QString DecadeTitle(const QString& title, int exponent) {
    if (exponent == 0) return title;
    // The pattern "0#" keeps the sign and at least two digits: E-03, E+02.
    return title + (exponent < 0 ? ", E" : ", E+") + FormatNumber(exponent, "0#");
}

ValueAxis ValueAxisFor(int yLabelMode, const QString& yTitle, float yMax, float yMin,
                       const UnitScale& units) {
    ValueAxis a;
    if (yLabelMode == 0) {
        a.Exponent = DecadeExponent(yMax);
        a.Factor = std::pow(10.0, -a.Exponent);
        a.Title = DecadeTitle(yTitle, a.Exponent);
    } else {
        a.UnitIndex = IndexPowerLabel(MaxOf(std::fabs(double(yMax)), std::fabs(double(yMin))));
        a.Factor = UnitScale::PowerFactors[size_t(a.UnitIndex)];
        a.Title = "Power, " + units.PowerUnit(a.UnitIndex);
    }
    return a;
}

static int DecimalsOf(const QString& pattern) {
    int dot = pattern.indexOf('.');
    return dot < 0 ? 0 : int(pattern.size()) - dot - 1;
}

QString AxisLabel(double shown, const QString& pattern) {
    if (RoundDecimals(shown, DecimalsOf(pattern)) == 0) return "0";
    return FormatNumber(shown, pattern);
}

QString PrintedValuePattern(double shownRange) {
    double r = RoundDecimals(shownRange, 3);
    if (r < 0.1) return "###0.000";
    if (r < 1) return "###0.00";
    return "###0.0";
}

QString DistinctPattern(const QString& pattern, double step) {
    step = std::fabs(step);
    if (!(step > 0) || !std::isfinite(step)) return pattern;
    // Enough decimals that one step shows: 0.04 needs two.
    const int needed = std::clamp(int(std::ceil(-std::log10(step) - 1e-9)), 0, 9);
    const int have = DecimalsOf(pattern);
    if (needed <= have) return pattern;
    return (have == 0 ? pattern + "." : pattern) + QString(needed - have, QLatin1Char('0'));
}

int16_t PaperColor(int color) {
    switch (color & 15) {
        case 15:
            return 0;
        case 7:
            return 8;
        case 14:
            return 6;
        case 10:
            return 2;
        case 11:
            return 3;
        default:
            return int16_t(color & 15);
    }
}
