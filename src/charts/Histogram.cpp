#include "charts/Histogram.h"

#include "charts/ChartGeometry.h"
#include "charts/StripChart.h"
#include "charts/SurfaceText.h"
#include "data/Arithmetic.h"
#include "data/NumberFormat.h"
#include "data/Units.h"
#include "platform/Clock.h"
#include "platform/Printer.h"
#include "platform/Surface.h"

#include <cfloat>
#include <climits>
#include <cmath>

namespace {

constexpr int kWhite = 15;
constexpr int kBlack = 0;

int Bins(const HistogramSpec& h) {
    return h.BinsCount < 1 ? 1 : h.BinsCount;
}

// Halves to the even neighbour, as the pulse labels count down.
int32_t RoundEven(double v) {
    return int32_t(std::nearbyint(v));
}

// An energy label: the value in its own prefix, "0" with the base unit
// when it reads as zero.
QString EnergyLabel(float value, const QString& pattern, const UnitScale& units) {
    const int j = IndexEnergyLabel(value);
    const double shown = double(value) * UnitScale::EnergyFactors[size_t(j)];
    if (AxisLabel(shown, pattern) == QLatin1String("0")) return QStringLiteral("0") + units.EnergyUnit(4);
    return FormatNumber(shown, pattern) + units.EnergyUnit(j);
}

// Frame, grid, labels and titles: the same on screen and on paper, only
// where the texts go differs.
void DrawFrame(platform::Surface& s, HistogramSpec& h, HistogramFrame& f, int32_t yMax, bool relative,
               bool paper) {
    const int axis = f.AxisColor;
    const int m = h.YDivisions < 1 ? 1 : h.YDivisions;
    const double step = (f.Bottom - f.Top) / m;
    int32_t label = yMax;
    s.SetForeColor(axis);
    // A low chart labels every other line rather than print labels over each other.
    const bool everyLine = step >= s.TextHeight(QStringLiteral("0"));
    for (int k = 0; k <= m; ++k) {
        const double y = f.Top + k * step;
        s.Line(f.Left, y, f.Right, y, f.GridColor);
        const QString text = QString::number(label);
        if (LabelAt(k, everyLine)) {
            if (paper)
                PrintAt(s, f.Left - 2 - s.TextWidth(text), y - s.TextHeight(text) / 2, text);
            else
                PrintAt(s, 0, y - 2, text);
        }
        label = RoundEven(label - double(yMax) / m);
    }
    const QString energyTitle = relative ? QStringLiteral("Energy") : QStringLiteral("Energy, Joules");
    s.SetForeColor(paper ? kBlack : kWhite);
    if (paper) {
        PrintAt(s, f.Left - 14, f.Top - 8, QStringLiteral("Pulses"));
        PrintAt(s, (f.Left + f.Right - s.TextWidth(energyTitle)) / 2, f.Bottom + 10, energyTitle);
    } else {
        PrintAt(s, 0, 0, QStringLiteral("Pulses"));
        PrintAt(s, h.Width / 2.0, h.Height - 6, energyTitle);
    }
    s.SetForeColor(axis);
    s.Box(f.Left, f.Top, f.Right, f.Bottom, axis);

    const int n = Bins(h);
    if (h.HighLimit - h.LowLimit > 0) {
        f.SlotWidth = (f.Right - f.Left) / (n + 2);
        f.PulseHeight = (f.Bottom - f.Top) / (yMax < 1 ? 1 : yMax);
    }
    SetBinEdges(h);
    f.EnergyPerBin = (double(h.HighLimit) - double(h.LowLimit)) / n;
    f.OverSlotX = f.Right - f.SlotWidth;
    f.FirstX = f.Left;

    const UnitScale units{QStringLiteral("W"), relative};
    const int i = IndexEnergyLabel(h.HighLimit);
    const double span = (double(h.HighLimit) - double(h.LowLimit)) * UnitScale::EnergyFactors[size_t(i)];
    const int q = h.XDivisions < 1 ? 1 : h.XDivisions;
    const QString pattern =
        DistinctPattern(span < q ? QStringLiteral("###0.0") : QStringLiteral("###0"), span / q);
    const double dx = (f.OverSlotX - (f.FirstX + f.SlotWidth)) / q;
    const float dv = (h.HighLimit - h.LowLimit) / float(q);
    std::vector<QString> labels;
    float value = h.LowLimit;
    double widest = 0;
    for (int k = 0; k <= q; ++k, value += dv) {
        labels.push_back(EnergyLabel(value, pattern, units));
        widest = MaxOf(widest, s.TextWidth(labels.back()));
    }
    // Labels that would run into each other are shown on every other tick,
    // or fewer still where they need it.
    int stride = q;
    for (const int each : {1, 2, 5})
        if (widest + 1 <= dx * each) {
            stride = each;
            break;
        }
    for (int k = 0; k <= q; ++k) {
        const double x = f.Left + f.SlotWidth + k * dx;
        s.Line(x, f.Bottom, x, f.Bottom + 1, axis);
        if (k % stride != 0) continue;
        // Centred under the tick.
        const QString& text = labels[size_t(k)];
        PrintAt(s, x - s.TextWidth(text) / 2, f.Bottom + (paper ? 2 : 1.5), text);
    }
}

void CopyColors(HistogramFrame& f, const HistogramSpec& h, bool paper) {
    auto ink = [paper](int c) { return paper ? PaperColor(c) : int16_t(c); };
    f.BarColor = ink(h.BarColor);
    f.UnderColor = ink(h.UnderColor);
    f.OverColor = ink(h.OverColor);
    f.AxisColor = ink(h.AxisColor);
    f.GridColor = ink(h.GridColor);
}

void DrawBar(platform::Surface& s, const HistogramSpec& h, const HistogramFrame& f, int b, int32_t count) {
    const int n = Bins(h);
    const double x = b * f.SlotWidth + f.Left;
    const double yTop = f.Bottom - count * f.PulseHeight;
    const double bottom = f.Bottom - 0.25;
    double x1 = x, x2 = x + f.SlotWidth;
    int color = f.BarColor;
    if (b == 0) {
        x1 = x + 0.25;
        color = f.UnderColor;
    } else if (b == n + 1) {
        x2 = x + f.SlotWidth - 0.25;
        color = f.OverColor;
    }
    s.FillBox(x1, yTop, x2, bottom, color);
    s.Box(x1, yTop, x2, bottom, f.GridColor);
}

// A bin that can be drawn.
bool BinValid(const HistogramSpec& h, int b) {
    return b >= 0 && b <= Bins(h) + 1 && size_t(b) < h.Bins.size();
}

}  // namespace

void ResizeBins(HistogramSpec& h, int16_t binsCount) {
    h.BinsCount = binsCount < 1 ? 1 : binsCount;
    h.Bins.assign(size_t(h.BinsCount) + 3, HistogramBin{});
    SetBinEdges(h);
}

void ClearBins(HistogramSpec& h) {
    for (HistogramBin& b : h.Bins) b.Count = 0;
}

void SetBinEdges(HistogramSpec& h) {
    const int n = Bins(h);
    if (h.Bins.size() < size_t(n) + 3) h.Bins.resize(size_t(n) + 3);
    const double perBin = (double(h.HighLimit) - double(h.LowLimit)) / n;
    for (int k = 0; k <= n; ++k) h.Bins[size_t(k)].UpperEdge = k * perBin + double(h.LowLimit);
}

int BinOf(const HistogramSpec& h, double value, bool highIn) {
    const int n = Bins(h);
    const float v = float(value);
    // Within a single's step above: the limit went through its bar value and back.
    if (highIn && h.HighLimit > h.LowLimit && v >= h.HighLimit && v <= std::nextafter(h.HighLimit, FLT_MAX))
        return n;
    for (int i = 0; i <= n && size_t(i) < h.Bins.size(); ++i)
        if (v < float(h.Bins[size_t(i)].UpperEdge)) return i;
    return n + 1;
}

int AddToHistogram(HistogramSpec& h, double value, bool highIn) {
    const int b = BinOf(h, value, highIn);
    if (size_t(b) < h.Bins.size() && h.Bins[size_t(b)].Count < INT32_MAX) ++h.Bins[size_t(b)].Count;
    return b;
}

void FitHistogramToPixels(HistogramSpec& h, QSize px) {
    h.Left = 0;
    h.Top = 0;
    h.Width = ChartUnits(px.width());
    h.Height = ChartUnits(px.height());
}

bool DrawHistogram(int mode, const std::function<void()>& relayout, platform::Surface& s, HistogramSpec& h,
                   int32_t& yMax, bool relative) {
    HistogramFrame& f = h.Screen;
    if (mode != 0) return false;
    s.SetScale(0, 0, h.Width, h.Height);
    s.Clear(h.BackColor);
    if (h.Border == 1) s.Box(0, 0, h.Width, h.Height, kBlack);
    CopyColors(f, h, false);
    f.Top = 7;
    f.Left = 12;
    f.Bottom = h.Height - 12;
    f.Right = h.Width - 9;
    s.SetFontSize(kChartScreenFontPoints);
    s.SetFontBold(false);
    DrawFrame(s, h, f, yMax, relative, false);
    return false;
}

bool DrawHistogramBar(int bin, const std::function<void()>& relayout, platform::Surface& s, HistogramSpec& h,
                      int32_t& yMax) {
    if (!BinValid(h, bin)) return false;
    const int32_t count = h.Bins[size_t(bin)].Count;
    if (count > yMax) {
        yMax = yMax > INT32_MAX / 2 ? INT32_MAX : MaxOf(yMax, 1) * 2;
        h.YScaleCopy = yMax;
        if (relayout) relayout();
        return true;
    }
    DrawBar(s, h, h.Screen, bin, count);
    return false;
}

namespace {

// Calls `draw` with each non-empty bin in turn; `draw` returns true to stop.
void ForEachNonEmptyBin(const HistogramSpec& h, const std::function<bool(int bin)>& draw) {
    for (int b = 0; b <= Bins(h) + 1 && size_t(b) < h.Bins.size(); ++b) {
        if (h.Bins[size_t(b)].Count == 0) continue;
        if (draw(b)) break;
    }
}

}  // namespace

void DrawNonEmptyBars(const std::function<void()>& relayout, platform::Surface& surface, HistogramSpec& h,
                      int32_t& yMax, bool) {
    ForEachNonEmptyBin(h, [&](int b) { return DrawHistogramBar(b, relayout, surface, h, yMax); });
}

int32_t FittingYScale(const HistogramSpec& h, int32_t yMax) {
    int32_t highest = 0;
    for (const HistogramBin& b : h.Bins) highest = MaxOf(highest, b.Count);
    yMax = MaxOf(yMax, 1);
    while (highest > yMax && yMax <= INT32_MAX / 2) yMax *= 2;
    return highest > yMax ? INT32_MAX : yMax;
}

void PrintNonEmptyBars(HistogramSpec& h, platform::Printer& printer, int32_t yMax, bool relative) {
    (void)relative;
    ForEachNonEmptyBin(h, [&](int b) {
        PrintHistogramBar(b, h, printer, yMax);
        return false;
    });
}

bool PrintHistogramBar(int bin, HistogramSpec& h, platform::Printer& printer, int32_t yMax) {
    if (!printer.IsPrinting() || !BinValid(h, bin)) return false;
    DrawBar(printer.Page(), h, h.Paper, bin, MinOf(h.Bins[size_t(bin)].Count, MaxOf(yMax, 1)));
    return true;
}

HistogramFrame PaperHistogramFrame(double pageWidth, double pageHeight) {
    HistogramFrame f;
    f.Left = 60;
    // Below the notes, which print from 15 mm down at 80 mm.
    f.Top = 60;
    // Wider and less tall than the whole page below the frame's top, so
    // that the bins and their labels have room and the shape stays a chart's.
    f.Right = pageWidth - 15;
    f.Bottom = MinOf(pageHeight - 50, f.Top + 0.8 * (f.Right - f.Left));
    return f;
}

bool PrintHistogram(int mode, HistogramSpec& h, platform::Printer& printer, int32_t yMax, bool relative,
                    const std::function<void(platform::Surface&)>& printNotes) {
    platform::Surface& page = printer.Page();
    HistogramFrame& f = h.Paper;
    if (mode == 2) return printer.EndDoc();
    if (mode != 0) return false;
    if (!printer.BeginDoc()) return false;
    const double pageWidth = page.ScaleWidth(), pageHeight = page.ScaleHeight();
    page.SetScale(0, 0, pageWidth, pageHeight);
    const HistogramFrame placed = PaperHistogramFrame(pageWidth, pageHeight);
    f.Left = placed.Left;
    f.Top = placed.Top;
    f.Right = placed.Right;
    f.Bottom = placed.Bottom;
    CopyColors(f, h, true);
    page.SetFontSize(kChartPaperFontPoints);
    page.SetFontBold(false);
    DrawFrame(page, h, f, yMax, relative, true);
    page.SetForeColor(kBlack);
    PrintAt(page, f.Right - page.TextWidth(platform::clock().DateText()), 5, platform::clock().DateText());
    page.SetFontSize(kChartNotesFontPoints);
    if (printNotes) printNotes(page);
    page.SetFontSize(kChartPaperFontPoints);
    return true;
}
