#pragma once

#include <QSize>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

namespace platform {
class Surface;
class Printer;
}  // namespace platform

// The scatter chart of the energy ratio: the ratio of the two channels
// against the channel-A energy. The owner keeps the points; these routines
// draw the frame and the points it passes, on a window's surface or a page.

// Where the last full drawing put the frame and how energies and ratios map
// onto it. Points drawn one by one rely on it.
struct ScatterFrame {
    double Left = 0, Top = 0, Right = 0, Bottom = 0;
    double XPerJoule = 0;  // 0 when the energy limits are equal
    double YPerUnit = 0;   // 0 when the ratio limits are equal
    float EnergyLow = 0, RatioLow = 0;
    int16_t PointColor = 14, AxisColor = 7, GridColor = 11;
};

struct DualChartSpec {
    QString YTitle = QStringLiteral("Ratio");
    QString XTitle = QStringLiteral("channel A: Energy");
    int16_t Top = 0, Left = 0, Height = 0, Width = 0;  // surface size, in surface units
    int16_t BackColor = 1;
    int16_t AxisColor = 7;
    int16_t PointColor = 14;
    int16_t GridColor = 11;
    int16_t GridStyle = 3;  // 1 horizontal, 2 vertical, 3 both
    int16_t XDivisions = 10;
    int16_t YDivisions = 10;
    int16_t Border = 0;                   // 1: a black outline around the surface
    float EnergyHigh = 1, EnergyLow = 0;  // joules
    float RatioHigh = 1, RatioLow = 0;

    ScatterFrame Screen;  // of the last full drawing on screen
    ScatterFrame Paper;   // of the page being printed
};

// Label arithmetic, free of drawing.
struct ScatterLabels {
    QString YTitle;       // "Ratio, E-03"
    QStringList YLabels;  // top (high) to bottom (low)
    QString XTitle;       // "channel A: Energy, mJ"
    QStringList XLabels;  // left (low) to right (high), without a unit
};
ScatterLabels ScatterLabelTexts(const DualChartSpec& spec);
// Narrow surfaces (below 100 units) label every second energy tick, low ones
// (below 50 units) every second ratio tick.
bool EveryEnergyLabel(double surfaceWidth);
bool EveryRatioLabel(double surfaceHeight);
// Of a store of `count` records every k-th is replayed: k = count / 3000, at least 1.
int32_t ReplayStep(int32_t count);

// Where a point goes: clamped into the frame, an over-range ratio at the top edge.
void ScatterPosition(const ScatterFrame& f, double energy, double ratio, double& x, double& y);

// Width and Height (surface units) for a picture of this many logical pixels.
void FitScatterToPixels(DualChartSpec& spec, QSize logicalPixels);

// The empty chart (background, frame, grid, labels, titles) on the surface,
// keeping its geometry in spec.Screen.
void DrawScatterFrame(DualChartSpec& spec, platform::Surface& surface);
// One point (energy in joules, displayed ratio) in the frame of the last drawing.
void DrawScatterPoint(const ScatterFrame& f, platform::Surface& surface, double energy, double ratio);
// A point source: the i-th point of `count`; false when that one has none.
using ScatterSource = std::function<bool(int32_t index, double& energy, double& ratio)>;
// Every ReplayStep(count)-th point of the source; returns how many were drawn.
int32_t ReplayScatter(const ScatterFrame& f, platform::Surface& surface, int32_t count,
                      const ScatterSource& point);

// The printed chart: opens the page (false when the print was cancelled)
// and draws frame, labels, the date and, through printNotes, the notes.
// Points go on with DrawScatterPoint(spec.Paper, printer.Page(), ...), the
// job ends with printer.EndDoc().
bool PrintScatterFrame(DualChartSpec& spec, platform::Printer& printer,
                       const std::function<void(platform::Surface&)>& printNotes = {});
