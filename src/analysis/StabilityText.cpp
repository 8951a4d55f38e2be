#include "analysis/StabilityText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace analysis {

namespace {

std::string WithUnit(Figure value, const std::string& unit) {
    if (!value) return kNoFigureText;
    return unit.empty() ? FigureText(value) : FigureText(value) + " " + unit;
}

std::string Count(int64_t n) {
    return std::to_string(n);
}

std::string Json(Figure value) {
    if (!value || !std::isfinite(*value)) return "null";
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, *value).ptr;
    return std::string(text, end);
}

std::string JsonStart(int64_t readings, int64_t over, const Figure& mean, const Figure& sd, const Figure& rsd,
                      const Figure& p2p) {
    return "{\"readings\": " + Count(readings) + ", \"over_range\": " + Count(over) +
           ", \"mean\": " + Json(mean) + ", \"sd\": " + Json(sd) + ", \"rsd_percent\": " + Json(rsd) +
           ", \"peak_to_peak_percent\": " + Json(p2p);
}

// Columns padded to their widest cell, counting UTF-8 characters.
size_t Width(const std::string& s) {
    size_t n = 0;
    for (const unsigned char c : s) n += (c & 0xC0) != 0x80;
    return n;
}
std::string Pad(const std::string& s, size_t width) {
    return s + std::string(width - std::min(width, Width(s)), ' ');
}

std::string UnitSuffix(const std::string& unit) {
    return unit.empty() ? "" : " (" + unit + ")";
}

}  // namespace

const char* const kAllanFormula =
    "Overlapping Allan deviation: \u03c3(\u03c4)\u00b2 = \u00bd \u27e8(\u0233\u2096\u208a\u2081 \u2212 "
    "\u0233\u2096)\u00b2\u27e9 over neighbouring windows of length \u03c4 (averages of the readings "
    "inside); windows without a reading are skipped. \u03c4 doubles from the median interval between "
    "readings up to a quarter of the record.";

std::string FigureText(Figure value) {
    if (!value || !std::isfinite(*value)) return kNoFigureText;
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", *value == 0 ? 0.0 : *value);  // no "-0"
    return text;
}

std::vector<FigureRow> PowerRows(const PowerFigures& f, const std::string& unit) {
    const std::string perHour = unit.empty() ? "/h" : unit + "/h";
    return {
        {"Readings", Count(f.Readings), "Number n of valid readings in the record."},
        {"Over range", Count(f.OverRange), "Readings over range: left out of every figure."},
        {"Mean", WithUnit(f.Mean, unit), "Mean \u0233 = \u03a3y\u1d62 / n."},
        {"Standard deviation", WithUnit(f.Sd, unit),
         "Sample standard deviation \u03c3 = \u221a(\u03a3(y\u1d62 \u2212 \u0233)\u00b2 / (n \u2212 1))."},
        {"Relative standard deviation", WithUnit(f.RsdPercent, "%"), "RSD = \u03c3 / |\u0233| \u00d7 100 %."},
        {"Peak-to-peak", WithUnit(f.PeakToPeakPercent, "%"),
         "Peak-to-peak = (max \u2212 min) / |\u0233| \u00d7 100 %."},
        {"Drift", WithUnit(f.DriftPerHour, perHour),
         "Slope b of the least-squares line y = a + b\u00b7t through value against time, \u00d7 3600 s/h: "
         "b = \u03a3(t\u1d62 \u2212 t\u0304)(y\u1d62 \u2212 \u0233) / \u03a3(t\u1d62 \u2212 t\u0304)\u00b2."},
        {"Drift (relative)", WithUnit(f.DriftPercentPerHour, "%/h"), "Drift / |\u0233| \u00d7 100 %."},
        {"Median interval", WithUnit(f.MedianInterval, "s"),
         "Median of the intervals between consecutive readings: the shortest averaging time \u03c4."},
    };
}

std::vector<FigureRow> EnergyRows(const EnergyFigures& f, const std::string& unit) {
    return {
        {"Pulses", Count(f.Pulses), "Number n of valid pulses in the record."},
        {"Over range", Count(f.OverRange), "Pulses over range: left out of every figure."},
        {"Missed pulses", Count(f.Missed), "Pulses the meter missed: left out of every figure."},
        {"Mean", WithUnit(f.Mean, unit), "Mean \u0112 = \u03a3E\u1d62 / n."},
        {"Standard deviation", WithUnit(f.Sd, unit),
         "Sample standard deviation \u03c3 = \u221a(\u03a3(E\u1d62 \u2212 \u0112)\u00b2 / (n \u2212 1))."},
        {"Pulse-to-pulse RSD", WithUnit(f.RsdPercent, "%"), "RSD = \u03c3 / |\u0112| \u00d7 100 %."},
        {"Peak-to-peak", WithUnit(f.PeakToPeakPercent, "%"),
         "Peak-to-peak = (max \u2212 min) / |\u0112| \u00d7 100 %."},
    };
}

std::string ReportText(const std::vector<FigureRow>& rows, const PowerFigures* power,
                       const std::string& unit) {
    size_t width = 0;
    for (const FigureRow& r : rows) width = std::max(width, Width(r.Label) + 1);
    std::string out;
    for (const FigureRow& r : rows) out += Pad(r.Label + ":", width + 1) + r.Value + "\n";
    if (!power) return out;
    out += "\nAllan deviation\n";
    const std::string head[3] = {"tau (s)", "deviation" + UnitSuffix(unit), "relative"};
    size_t w0 = Width(head[0]), w1 = Width(head[1]);
    for (const AllanPoint& p : power->Allan) {
        w0 = std::max(w0, FigureText(p.Tau).size());
        w1 = std::max(w1, FigureText(p.Deviation).size());
    }
    out += Pad(head[0], w0 + 2) + Pad(head[1], w1 + 2) + head[2] + "\n";
    for (const AllanPoint& p : power->Allan)
        out += Pad(FigureText(p.Tau), w0 + 2) + Pad(FigureText(p.Deviation), w1 + 2) +
               FigureText(p.Relative) + "\n";
    if (power->Allan.empty()) out += std::string(kNoFigureText) + "\n";
    return out;
}

std::string TabText(const std::vector<FigureRow>& rows, const PowerFigures* power, const std::string& unit) {
    std::string out;
    for (const FigureRow& r : rows) out += r.Label + "\t" + r.Value + "\n";
    if (!power) return out;
    out += "tau (s)\tAllan deviation" + UnitSuffix(unit) + "\trelative\n";
    for (const AllanPoint& p : power->Allan)
        out += FigureText(p.Tau) + "\t" + FigureText(p.Deviation) + "\t" + FigureText(p.Relative) + "\n";
    return out;
}

std::string PowerJson(const PowerFigures& f) {
    std::string out = JsonStart(f.Readings, f.OverRange, f.Mean, f.Sd, f.RsdPercent, f.PeakToPeakPercent);
    out += ", \"drift_per_hour\": " + Json(f.DriftPerHour) +
           ", \"drift_percent_per_hour\": " + Json(f.DriftPercentPerHour) + ", \"allan\": [";
    for (size_t i = 0; i < f.Allan.size(); ++i) {
        const AllanPoint& p = f.Allan[i];
        out += (i ? ", " : "") + std::string("{\"tau\": ") + Json(p.Tau) +
               ", \"adev\": " + Json(p.Deviation) + ", \"relative\": " + Json(p.Relative) + "}";
    }
    return out + "]}";
}

std::string EnergyJson(const EnergyFigures& f) {
    return JsonStart(f.Pulses, f.OverRange, f.Mean, f.Sd, f.RsdPercent, f.PeakToPeakPercent) +
           ", \"missed\": " + Count(f.Missed) + "}";
}

}  // namespace analysis
