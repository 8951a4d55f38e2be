#pragma once

#include "charts/ChartGeometry.h"
#include "charts/MinMaxBand.h"

#include <QSize>
#include <QString>
#include <cstdint>
#include <functional>

namespace platform {
class Surface;
class Printer;
}  // namespace platform

// One point of a trace: seconds from the chart start, its value in the base
// unit, and its place in the trace (0 starts the trace afresh).
struct ChartPoint {
    double Time = 0;
    double Value = 0;
    int32_t Index = 0;
    ChartBand Band;  // the spread of the readings the point stands for
    // The first point after the meter was away: the line is broken before it.
    bool AfterGap = false;
};

// The strip-chart record every power-type window and viewer owns. The
// defaults are those of the live power window.
struct ChartSettings {
    int16_t YLabelMode = 1;  // 0: decades with YTitle; 1: prefixed power units
    UnitScale Units;         // of the values drawn; set by the chart's owner
    QString YTitle;
    int16_t Top = 0, Left = 0, Height = 0, Width = 0;  // placement, in chart units
    int16_t BackColor = 1;
    int16_t AxisColor = 7;
    int16_t TraceColor = 14;
    int16_t GridColor = 8;
    int16_t GridStyle = 3;  // 0 ticks only, 1 horizontal grid, 2 vertical grid, 3 both
    int16_t XDivisions = 12;
    int16_t YDivisions = 10;
    int16_t FrameStyle = 0;  // 1: a black box around the surface
    int32_t MaxPoints = 6000;
    float YMax = 1, YMin = 0;
    int16_t ViewerFlagA = 0;  // two flags the viewers keep here
    bool ViewerFlagB = true;

    ChartGeometry Screen;  // of the last full drawing on screen
    ChartGeometry Paper;   // of the page being printed
};

// Screen scale: one chart unit is this many logical pixels (about a
// millimetre on a 96 dpi screen), so the fixed margins of the layout fit
// the label font at any window size.
inline constexpr double kChartPixelsPerUnit = 4.0;
// A picture's extent in logical pixels as chart units (16-bit, not below 0).
int16_t ChartUnits(int logicalPixels);
// Label font on screen and on paper, in points.
inline constexpr double kChartScreenFontPoints = 8.25;
inline constexpr double kChartPaperFontPoints = 9.0;
inline constexpr double kChartNotesFontPoints = 7.0;

// Sets Width and Height (chart units) for a picture of this many logical pixels.
void FitChartToPixels(ChartSettings& settings, QSize logicalPixels);

// mode 0: the empty chart (frame, grid, labels, titles) for `span` seconds
// from `start`, keeping the geometry in settings.Screen; mode 1 is
// DrawChartPoint; mode 2: nothing.
void DrawChart(int mode, ChartSettings& settings, platform::Surface& surface, float start, float span);
// Adds one point to the trace of the last full drawing.
void DrawChartPoint(ChartSettings& settings, platform::Surface& surface, const ChartPoint& point);

// The printed chart: mode 0 opens the page (false when the print was
// cancelled) and draws frame, labels, titles and, through printNotes, the
// user's notes; mode 1 is PrintChartPoint; mode 2 finishes the page and the
// document.
bool PrintChart(int mode, ChartSettings& settings, platform::Printer& printer, float start, float span,
                const std::function<void(platform::Surface&)>& printNotes = {});
// Adds one point to the printed trace; false when no print is under way.
bool PrintChartPoint(ChartSettings& settings, platform::Printer& printer, const ChartPoint& point);

// Mouse drag positions (surface units) to times, t1 <= t2.
void TimesFromPlotX(const ChartSettings& settings, double x1, double x2, double& t1, double& t2);
void GetPlotArea(const ChartSettings& settings, double& left, double& top, double& right, double& bottom);
