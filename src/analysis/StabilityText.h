#pragma once

#include "analysis/Stability.h"

#include <string>
#include <vector>

// The stability figures as the program shows, copies and prints them: one
// table for the window, its tooltips, the clipboard, the printout and the
// command line, so that they all say the same. Texts are UTF-8.
namespace analysis {

// Shown for a figure that cannot be worked out.
inline constexpr const char* kNoFigureText = "\u2014";

// A number with six significant digits ("0.00123", "1.5e-07"), or the dash.
std::string FigureText(Figure value);

struct FigureRow {
    std::string Label;    // "Mean"
    std::string Value;    // "0.00123 W", "—"
    std::string Formula;  // how it is worked out, for the tooltip
};

// The rows of a power-type record in `unit` ("W", or "" for a ratio).
std::vector<FigureRow> PowerRows(const PowerFigures& f, const std::string& unit);
std::vector<FigureRow> EnergyRows(const EnergyFigures& f, const std::string& unit);

// The heading and formula of the Allan deviation table.
extern const char* const kAllanFormula;

// Label and value columns aligned, then the Allan deviation table (power
// records); every line ends with '\n'.
std::string ReportText(const std::vector<FigureRow>& rows, const PowerFigures* power,
                       const std::string& unit);
// The same, tab-separated (label TAB value; tau TAB deviation TAB relative).
std::string TabText(const std::vector<FigureRow>& rows, const PowerFigures* power, const std::string& unit);

// One JSON object: readings, over_range, mean, sd, rsd_percent,
// peak_to_peak_percent, then drift_per_hour, drift_percent_per_hour and
// allan (power) or missed (energy); figures that cannot be worked out are
// null. Numbers round-trip exactly.
std::string PowerJson(const PowerFigures& f);
std::string EnergyJson(const EnergyFigures& f);

}  // namespace analysis
