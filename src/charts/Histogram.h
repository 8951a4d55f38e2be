#pragma once

#include <QSize>
#include <cstdint>
#include <functional>
#include <vector>

namespace platform {
class Surface;
class Printer;
}  // namespace platform

// The pulse-energy histogram: n in-range bins between LowLimit and
// HighLimit, an under-range slot at the left (bin 0) and an over-range slot
// at the right (bin n + 1). Its owner keeps the counts and the y-axis
// maximum; these routines draw them on a window's surface or a page.

struct HistogramBin {
    int32_t Count = 0;
    double UpperEdge = 0;  // joules
};

// Where the last full drawing put the frame (surface units), and the
// colours it used. Bars drawn one by one rely on it.
struct HistogramFrame {
    double SlotWidth = 0;
    double PulseHeight = 0;
    double Top = 0, Bottom = 0, Left = 0, Right = 0;
    double EnergyPerBin = 0;
    double OverSlotX = 0;
    double FirstX = 0;
    int16_t BarColor = 14, UnderColor = 12, OverColor = 12, AxisColor = 7, GridColor = 8;
};

struct HistogramSpec {
    int16_t Top = 0, Left = 0, Height = 0, Width = 0;  // surface size, in surface units
    int16_t BackColor = 1;
    int16_t AxisColor = 7;
    int16_t BarColor = 14;
    int16_t UnderColor = 12;
    int16_t OverColor = 12;
    int16_t GridColor = 8;
    int16_t XDivisions = 10;
    int16_t YDivisions = 10;
    int16_t Border = 0;  // 1: a black outline around the surface
    int16_t BinsCount = 10;
    int32_t YScaleCopy = 0;
    std::vector<HistogramBin> Bins;  // 0 .. n + 2; n + 2 unused
    float LowLimit = 0, HighLimit = 1;
    bool Visible = true;

    HistogramFrame Screen;  // of the last full drawing on screen
    HistogramFrame Paper;   // of the page being printed
};

// n in-range bins (at least 1), all counts 0, edges from the limits.
void ResizeBins(HistogramSpec& h, int16_t binsCount);
void ClearBins(HistogramSpec& h);
// Upper edges from the limits: e(k) = LowLimit + k (HighLimit - LowLimit) / n.
void SetBinEdges(HistogramSpec& h);
// The bin of a value: the first i in 0..n with value < e(i) (so a value on
// an edge goes to the next bin), else n + 1. Compared in single precision,
// the precision of the limits. highIn: a value on the high limit is the
// last in-range bin's (a viewer whose high limit is the largest pulse).
int BinOf(const HistogramSpec& h, double value, bool highIn = false);
// Counts the value in its bin; returns the bin.
int AddToHistogram(HistogramSpec& h, double value, bool highIn = false);

// Width and Height (surface units) for a picture of this many logical pixels.
void FitHistogramToPixels(HistogramSpec& h, QSize logicalPixels);

// Mode 0: the empty histogram (background, grid with pulse labels, frame,
// energy labels in J or, with `relative`, in RP-units) and the bin edges.
// Mode 1 is DrawHistogramBar.
bool DrawHistogram(int mode, const std::function<void()>& relayout, platform::Surface& surface,
                   HistogramSpec& h, int32_t& yMax, bool relative);
// The bar of `bin`. A bar higher than yMax doubles yMax and calls `relayout`
// instead, which is to lay out and redraw everything (full drawing, then
// every non-empty bar); it returns true then.
bool DrawHistogramBar(int bin, const std::function<void()>& relayout, platform::Surface& surface,
                      HistogramSpec& h, int32_t& yMax);

// The bar of every non-empty bin, after a full drawing; stops when a bar
// doubled yMax (relayout has drawn everything again then).
void DrawNonEmptyBars(const std::function<void()>& relayout, platform::Surface& surface, HistogramSpec& h,
                      int32_t& yMax, bool relative);
// yMax doubled until no bin's count rises above it.
int32_t FittingYScale(const HistogramSpec& h, int32_t yMax);

// The printed histogram. Mode 0 opens the page (false when the print was
// cancelled) and draws frame, labels, the date and, through printNotes, the
// user's notes; mode 1 is PrintHistogramBar; mode 2 ends the print job.
bool PrintHistogram(int mode, HistogramSpec& h, platform::Printer& printer, int32_t yMax, bool relative,
                    const std::function<void(platform::Surface&)>& printNotes = {});
// The bar of `bin` on the page (never above the frame: no doubling on paper).
bool PrintHistogramBar(int bin, HistogramSpec& h, platform::Printer& printer, int32_t yMax);

// The bar of every non-empty bin on the page opened by mode 0.
void PrintNonEmptyBars(HistogramSpec& h, platform::Printer& printer, int32_t yMax, bool relative);

// Where the page frame lies (millimetres) on a page of this printable size.
HistogramFrame PaperHistogramFrame(double pageWidth, double pageHeight);
