#pragma once

#include "charts/Histogram.h"
#include "data/LimitBars.h"
#include "data/Statistics.h"

#include <QString>
#include <array>
#include <cstdint>
#include <vector>

// The unit and scale in which an energy shows on the 0..999 limit bars:
// the energy times 10^Exponent is the bar value, Exponent + ScaleIndex is
// a multiple of 3, UnitIndex the prefix of 10^-(ScaleIndex + Exponent).
struct EnergyScaling {
    int16_t Exponent = 0;
    int16_t ScaleIndex = 0;
    int16_t UnitIndex = 4;
};
// From the largest energy (joules): the exponent is the largest from 0 up
// whose bar value stays within 0..999, -1 when the energy is above 999 J
// or below 0, 0 for 0. wholeNumber: the bar value is tested as a whole
// number (halves to even), as the histogram viewer does.
EnergyScaling ScalingForMax(double maxEnergy, bool wholeNumber);

// Limits as the setup frame shows them: values in the unit and scale.
struct EnergyViewLimits {
    int16_t UnitIndex = 4;
    int16_t ScaleIndex = 0;
    double Low = 0;
    double High = 1;
    int16_t Bins = 10;
};

// What the energy data viewer holds and works out, free of widgets: every
// loaded value (no 60000 cut), the pulse counts and statistics, the limits
// chosen from them, and the histogram of every valid value.
class EnergyViewData {
public:
    // A new record; the histogram starts with the energy window's settings.
    void Begin(bool relativeUnits, bool missingPulseDetection);
    // One value text (load step 0). Throws DataFileError for a number too
    // large to hold as a single.
    void Add(const QString& text);
    // After the last value: y scale 10, unit and scale from the maximum,
    // limits within 3 standard deviations of the average, the histogram.
    void ChooseLimits();
    // Apply: the bars ordered (left below right), unit and scale as listed,
    // bins = binsBar x 5; the histogram is counted again. Returns the bars.
    LimitBarPair Apply(int leftBar, int rightBar, int16_t unit, int16_t scale, int binsBar);
    // Counts every valid value into bins with edges from the limits; the y
    // scale starts at 10 and doubles until every bar fits.
    void Rebin();
    // Drops the record.
    void Clear();

    // Min, Max, Average, St.Dev., Total Pulses, Pulses Overrange, Missing Pulses.
    std::array<QString, 7> StatisticsTexts() const;
    // `heads`: the head text (from its "Head"), or a caption holding it.
    QString HeaderLine(const QString& heads) const;
    // "Overrange", "Missed" or the default text of the value.
    static QString ValueText(float value);

    std::vector<float> Values;  // joules, OverrangeValue, or kMissedPulse
    int32_t OverCount = 0;
    int32_t MissedCount = 0;
    RunningStats Stats;
    HistogramSpec ViewHist;
    int32_t ViewYScale = 10;
    EnergyViewLimits Applied;
    bool RelativeUnits = false;
    bool MissingPulseDetection = false;
};
