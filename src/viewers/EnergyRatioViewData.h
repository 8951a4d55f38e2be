#pragma once

#include "charts/ScatterChart.h"
#include "data/LimitBars.h"
#include "data/Statistics.h"
#include "viewers/EnergyViewData.h"

#include <QString>
#include <array>
#include <cstdint>
#include <vector>

// Both channel energies of one line (joules, OverrangeValue or kMissedPulse).
struct EnergyPair {
    double A = 0;
    double B = 0;
};

// The chart limits as the controls show them: the energy limits in their
// unit and scale, the ratio limits as bar values v standing for
// v x 10^Exponent.
struct EnergyRatioLimits {
    EnergyViewLimits Energy;
    double RatioLow = 0;
    double RatioHigh = 1;
    int16_t Exponent = 0;
};

// What the energy ratio viewer holds and works out, free of widgets: every
// pair of a dual energy record, the ratio statistics of both directions
// (so that a change of direction needs no reload), the limits chosen at
// load or applied, and the chart spans that follow from them.
//
// A pair with a channel over range counts as over range in both
// directions: the ratio of an unknown energy is unknown. A pair with a
// missed pulse on either channel is kept (and saved again) but has no
// ratio: it is counted as a missing pulse, not drawn and not in the statistics.
class EnergyRatioViewData {
public:
    void Begin();
    // One data line: channel A field, TAB, channel B field (more after a
    // second TAB is ignored). Throws DataFileError for a line without a
    // TAB or a field that is neither a number nor a marker.
    void Add(const QString& line);
    // After the last line: limits from the statistics of ViewDirection.
    void ChooseLimits();
    // Apply: both pairs of bars ordered, the exponent kept within -15..15;
    // the chart spans follow.
    void Apply(const EnergyRatioLimits& shown);
    void Clear();

    // The ratio of point i in ViewDirection (false when it has none).
    bool PointAt(int32_t i, double& energy, double& ratio) const;

    // Min, Max, Average, St.Dev. of ViewDirection, Total Points, Points
    // Overrange, Missing Pulses.
    std::array<QString, 7> StatisticsTexts() const;
    // The heads come from the caption (the loaded record's), else from the
    // channel records.
    // `heads`: the head text (from its "Head"), or a caption holding it.
    QString HeaderLine(const QString& heads) const;
    static QString DataLine(const EnergyPair& p);

    std::vector<EnergyPair> Points;
    std::array<RunningStats, 2> Ratio;  // 0 = A/B, 1 = B/A
    std::array<int32_t, 2> OverCount{};
    RunningStats EnergyA;  // valid channel A energies
    int32_t MissedCount = 0;
    int16_t ViewDirection = 0;
    EnergyRatioLimits Applied;
    DualChartSpec Chart;
};
