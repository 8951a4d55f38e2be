#include "charts/ScatterChart.h"

#include "charts/ChartGeometry.h"
#include "charts/Histogram.h"
#include "charts/StripChart.h"
#include "charts/SurfaceText.h"
#include "data/Arithmetic.h"
#include "data/NumberFormat.h"
#include "data/Overrange.h"
#include "data/Units.h"
#include "platform/Clock.h"
#include "platform/Printer.h"
#include "platform/Surface.h"

#include <cmath>

namespace {

constexpr int kWhite = 15;
constexpr int kBlack = 0;
constexpr int32_t kMostReplayed = 3000;

// A label on every tick or on every other one.
struct Thinning {
    bool everyEnergy = true;
    bool everyRatio = true;
};

void PlaceFrame(ScatterFrame& f, const DualChartSpec& spec, bool paper) {
    auto ink = [paper](int c) { return paper ? PaperColor(c) : int16_t(c); };
    f.PointColor = ink(spec.PointColor);
    f.AxisColor = ink(spec.AxisColor);
    f.GridColor = ink(spec.GridColor);
    f.EnergyLow = spec.EnergyLow;
    f.RatioLow = spec.RatioLow;
    const double energySpan = double(spec.EnergyHigh) - double(spec.EnergyLow);
    const double ratioSpan = double(spec.RatioHigh) - double(spec.RatioLow);
    // Equal limits would divide by zero: every point then sits on the frame's edge.
    f.XPerJoule = energySpan != 0 ? (f.Right - f.Left) / energySpan : 0;
    f.YPerUnit = ratioSpan != 0 ? (f.Bottom - f.Top) / ratioSpan : 0;
}

// Frame, grid, labels and titles: the same on screen and on paper, only
// where the texts go differs.
void DrawFrame(platform::Surface& s, const DualChartSpec& spec, const ScatterFrame& f, Thinning thin,
               bool paper) {
    const ScatterLabels texts = ScatterLabelTexts(spec);
    const int axis = f.AxisColor;
    s.SetForeColor(axis);
    const bool horizontal = spec.GridStyle == 1 || spec.GridStyle == 3;
    const bool vertical = spec.GridStyle == 2 || spec.GridStyle == 3;
    const int ny = int(texts.YLabels.size()) - 1;
    for (int k = 0; k <= ny; ++k) {
        const double y = DivisionAt(f.Top, f.Bottom, k, ny);
        if (horizontal)
            s.Line(f.Left, y, f.Right, y, f.GridColor);
        else
            s.Line(f.Left, y, f.Left + 0.7, y, axis);
        if (!LabelAt(k, thin.everyRatio)) continue;
        const QString& text = texts.YLabels[k];
        if (paper)
            PrintAt(s, f.Left - 1.5 - s.TextWidth(text), y - s.TextHeight(text) / 2, text);
        else
            PrintAt(s, 0, y - 2, text);
    }
    const int nx = int(texts.XLabels.size()) - 1;
    for (int k = 0; k <= nx; ++k) {
        const double x = DivisionAt(f.Left, f.Right, k, nx);
        if (vertical)
            s.Line(x, f.Top, x, f.Bottom, f.GridColor);
        else
            s.Line(x, f.Bottom, x, f.Bottom - 0.7, axis);
        if (!LabelAt(k, thin.everyEnergy)) continue;
        const QString& text = texts.XLabels[k];
        PrintAt(s, x - s.TextWidth(text) / 2, f.Bottom + (paper ? 1.5 : 0.5), text);
    }
    s.SetForeColor(paper ? kBlack : kWhite);
    const double titleHeight = s.TextHeight(texts.XTitle);
    const double xTitleX = (f.Left + f.Right - s.TextWidth(texts.XTitle)) / 2;
    if (paper) {
        PrintAt(s, f.Left - 14, f.Top - 8, texts.YTitle);
        PrintAt(s, xTitleX, f.Bottom + 3 + titleHeight, texts.XTitle);
    } else {
        PrintAt(s, 0, 0, texts.YTitle);
        PrintAt(s, xTitleX, f.Bottom + 0.5 + titleHeight, texts.XTitle);
    }
    s.SetForeColor(axis);
    s.Box(f.Left, f.Top, f.Right, f.Bottom, axis);
}

}  // namespace

ScatterLabels ScatterLabelTexts(const DualChartSpec& spec) {
    ScatterLabels out;
    const int ny = SafeDivisions(spec.YDivisions);
    const int e = DecadeExponent(spec.RatioHigh);
    const double decade = std::pow(10.0, e);
    const double high = spec.RatioHigh, low = spec.RatioLow;
    const QString yPattern =
        DistinctPattern(PrintedValuePattern((high - low) / decade), (high - low) / decade / ny);
    for (int k = 0; k <= ny; ++k) out.YLabels << AxisLabel((high - k * (high - low) / ny) / decade, yPattern);
    out.YTitle = DecadeTitle(spec.YTitle, e);

    const int nx = SafeDivisions(spec.XDivisions);
    const int i = IndexEnergyLabel(spec.EnergyHigh);
    const double factor = UnitScale::EnergyFactors[size_t(i)];
    const double eLow = spec.EnergyLow, eHigh = spec.EnergyHigh;
    const QString xPattern =
        DistinctPattern((eHigh - eLow) * factor < nx ? QStringLiteral("###0.0") : QStringLiteral("###0"),
                        (eHigh - eLow) * factor / nx);
    for (int k = 0; k <= nx; ++k)
        out.XLabels << FormatNumber((eLow + k * (eHigh - eLow) / nx) * factor, xPattern);
    out.XTitle = spec.XTitle + QStringLiteral(", ") + UnitScale().EnergyUnit(i);  // always joules
    return out;
}

bool EveryEnergyLabel(double surfaceWidth) {
    return surfaceWidth >= 100;
}

bool EveryRatioLabel(double surfaceHeight) {
    return surfaceHeight >= 50;
}

int32_t ReplayStep(int32_t count) {
    return MaxOf(count / kMostReplayed, int32_t(1));
}

void ScatterPosition(const ScatterFrame& f, double energy, double ratio, double& x, double& y) {
    auto clamp = [](double v, double lo, double hi) { return std::isnan(v) ? lo : MaxOf(lo, MinOf(v, hi)); };
    x = clamp(f.Left + (energy - double(f.EnergyLow)) * f.XPerJoule, f.Left, f.Right);
    y = IsOverrange(ratio) ? f.Top
                           : clamp(f.Bottom - (ratio - double(f.RatioLow)) * f.YPerUnit, f.Top, f.Bottom);
}

void FitScatterToPixels(DualChartSpec& spec, QSize px) {
    spec.Left = 0;
    spec.Top = 0;
    spec.Width = ChartUnits(px.width());
    spec.Height = ChartUnits(px.height());
}

void DrawScatterFrame(DualChartSpec& spec, platform::Surface& s) {
    ScatterFrame& f = spec.Screen;
    s.SetScale(0, 0, spec.Width, spec.Height);
    s.Clear(spec.BackColor);
    if (spec.Border == 1) s.Box(0, 0, spec.Width, spec.Height, kBlack);
    f.Left = 11;
    f.Top = 7;
    f.Right = spec.Width - 9;
    f.Bottom = spec.Height - 9;
    PlaceFrame(f, spec, false);
    s.SetFontSize(kChartScreenFontPoints);
    s.SetFontBold(false);
    DrawFrame(s, spec, f, {EveryEnergyLabel(spec.Width), EveryRatioLabel(spec.Height)}, false);
}

void DrawScatterPoint(const ScatterFrame& f, platform::Surface& s, double energy, double ratio) {
    double x, y;
    ScatterPosition(f, energy, ratio, x, y);
    s.FillBox(x, y, x + 0.5, y + 0.5, f.PointColor);
}

int32_t ReplayScatter(const ScatterFrame& f, platform::Surface& s, int32_t count,
                      const ScatterSource& point) {
    if (!point) return 0;
    const int32_t step = ReplayStep(count);
    int32_t drawn = 0;
    for (int32_t i = 0; i < count; i += step) {
        double energy, ratio;
        if (!point(i, energy, ratio)) continue;
        DrawScatterPoint(f, s, energy, ratio);
        ++drawn;
    }
    return drawn;
}

bool PrintScatterFrame(DualChartSpec& spec, platform::Printer& printer,
                       const std::function<void(platform::Surface&)>& printNotes) {
    if (!printer.BeginDoc()) return false;
    platform::Surface& page = printer.Page();
    const double pageWidth = page.ScaleWidth(), pageHeight = page.ScaleHeight();
    page.SetScale(0, 0, pageWidth, pageHeight);
    // The histogram's page frame: beside the caller's statistics, below the notes.
    const HistogramFrame placed = PaperHistogramFrame(pageWidth, pageHeight);
    ScatterFrame& f = spec.Paper;
    f.Left = placed.Left;
    f.Top = placed.Top;
    f.Right = placed.Right;
    f.Bottom = placed.Bottom;
    PlaceFrame(f, spec, true);
    page.SetFontSize(kChartPaperFontPoints);
    page.SetFontBold(false);
    DrawFrame(page, spec, f, {}, true);
    page.SetForeColor(kBlack);
    const QString date = platform::clock().DateText();
    PrintAt(page, f.Right - page.TextWidth(date), 5, date);
    page.SetFontSize(kChartNotesFontPoints);
    if (printNotes) printNotes(page);
    page.SetFontSize(kChartPaperFontPoints);
    return true;
}
