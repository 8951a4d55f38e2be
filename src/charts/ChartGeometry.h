#pragma once

#include "data/Units.h"

#include <QPointF>
#include <QString>
#include <cstdint>

// The chart arithmetic, free of any drawing: plot rectangles, scales, axis
// units, label texts and point positions. StripChart draws with these.

// The last band column drawn: the x of its point and its edges.
struct BandColumn {
    double X = 0, Left = 0, Right = 0, Top = 0, Bottom = 0;
};

// Where the plot of the last full drawing lies and how times and values map
// onto it. Every chart (and every print job) keeps its own.
struct ChartGeometry {
    double PlotTop = 0, PlotBottom = 0, PlotLeft = 0, PlotRight = 0;
    double ChartSpan = 0;   // seconds across the time axis
    double ChartStart = 0;  // seconds at the left edge
    double XPerSecond = 0;
    double YPerUnit = 0;
    double OverY = 0;   // height of over-range points: the top of the frame
    double UnderY = 0;  // lowest height a point can take: the bottom of the frame
    int16_t TraceColor = 14, AxisColor = 7, GridColor = 8;
    int16_t BandColor = 6;  // behind the trace where a point stands for several readings
    // The trace's last point, joined to the next one; none after a full drawing.
    bool HasPoint = false;
    double PointX = 0, PointY = 0;
    // A band column drawn since the trace began.
    bool HasBand = false;
    BandColumn Band;
};

// Screen layout of a surface `width` x `height` units: plot from (11, 7) to
// (width - 9, height - 9); over-range and out-of-range points on the frame.
void ScreenPlot(ChartGeometry& g, double width, double height);
// Printed layout on a page in millimetres: plot from (25, 60) to
// (pageWidth - 50, pageHeight - 50), points limited to the frame.
void PaperPlot(ChartGeometry& g, double pageWidth, double pageHeight);

// Sets ChartSpan, ChartStart and, unless span is 0 or yMax equals yMin (as
// singles), XPerSecond and YPerUnit. Returns whether the scales were set.
bool SetChartScales(ChartGeometry& g, double start, double span, float yMax, float yMin);

// Where a point goes: over-range readings at OverY, others limited to
// OverY..UnderY; times limited to the plot's width.
QPointF PointPosition(const ChartGeometry& g, double time, double reading, float yMin);

// Mouse drag x positions to times, ordered so that t1 <= t2.
void TimesFromPlotX(const ChartGeometry& g, double x1, double x2, double& t1, double& t2);

// Time axis unit by span: up to 240 s "Seconds", up to 14400 s "Minutes",
// up to 86400 s "Hours", longer spans "Days".
struct TimeUnit {
    QString Name;
    double Value = 0;  // the span in that unit
};
TimeUnit TimeUnitFor(double span);

// Time label pattern: "###0.00" below 2 units, "###0.0" up to 60 units when
// the unit value is not a whole multiple of the divisions, else "###0".
QString TimeLabelPattern(double unitValue, int divisions);

// Labels on every division when there is room, otherwise on the even ones.
inline bool LabelAt(int k, bool everyDivision) {
    return everyDivision || k % 2 == 0;
}

// Position of division k of n between `from` and `to`.
inline double DivisionAt(double from, double to, int k, int n) {
    return from + k * (to - from) / n;
}

// Divisions below 1 would divide by zero; they count as 1.
inline int SafeDivisions(int n) {
    return n < 1 ? 1 : n;
}

// How the value axis is labelled: shown value = value * Factor.
struct ValueAxis {
    int Exponent = 0;   // decade of the labels (label mode 0)
    int UnitIndex = 4;  // power unit of the labels (label mode 1)
    double Factor = 1;
    QString Title;
};
// Label mode 0: decades of yMax, title "<yTitle>, E-03" / ", E+02" (none
// for decade 0). Label mode 1: the automatic power unit of the larger
// magnitude in `units`, title "Power, mW".
ValueAxis ValueAxisFor(int yLabelMode, const QString& yTitle, float yMax, float yMin, const UnitScale& units);

// The title of a decade-labelled axis.
QString DecadeTitle(const QString& title, int exponent);

// A label: the shown value in `pattern`, or "0" when that reads as zero.
QString AxisLabel(double shown, const QString& pattern);

// Value labels, on paper and on screen, by the range in shown units (to
// three decimals): "###0.000" below 0.1, "###0.00" below 1, "###0.0" otherwise.
QString PrintedValuePattern(double shownRange);

// The pattern with the decimals added that labels `step` apart need to
// differ ("###0.0" for a step of 0.04 becomes "###0.00").
QString DistinctPattern(const QString& pattern, double step);

// The screen colours are chosen for a dark background; on white paper the
// light ones (white, light grey, yellow, light green, light cyan) would all
// but vanish, so they print as their dark counterparts.
int16_t PaperColor(int color);
