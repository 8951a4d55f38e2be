#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// Stability figures of a record: how much a laser's output wanders. Pure
// functions over the readings, no widgets and no Qt.
namespace analysis {

// A figure that cannot be worked out (a mean of 0, too few readings) is
// empty; it shows as "—" or null, never as a division by zero.
using Figure = std::optional<double>;

// The Allan deviation at one averaging time (seconds); relative is the
// deviation over the magnitude of the mean.
struct AllanPoint {
    double Tau = 0;
    double Deviation = 0;
    Figure Relative;
};

struct PowerFigures {
    int64_t Readings = 0;   // valid readings in the figures
    int64_t OverRange = 0;  // left out, counted here
    Figure Mean, Sd, RsdPercent, PeakToPeakPercent;
    Figure DriftPerHour, DriftPercentPerHour;  // slope of the least-squares line
    Figure MedianInterval;                     // seconds between readings
    std::vector<AllanPoint> Allan;             // shortest averaging time first
};

struct EnergyFigures {
    int64_t Pulses = 0;  // valid pulses in the figures
    int64_t OverRange = 0;
    int64_t Missed = 0;
    Figure Mean, Sd, RsdPercent, PeakToPeakPercent;
};

// The readings of a power-type record, handed over in blocks so that no
// copy of a long record is made. A value that is NaN has no result (a ratio
// of two zeros) and is passed over; a value whose magnitude is the
// over-range mark is counted as over range; a time of -1 marks an empty
// point of a merged chart and is passed over too. Times rise.
class PowerSeries {
public:
    virtual ~PowerSeries() = default;
    virtual int64_t Count() const = 0;
    // Readings first .. first + n - 1 (n <= 4096): either in the series's
    // own storage, or copied to times[0..n) and values[0..n); returns where.
    struct Block {
        const double* Times;
        const double* Values;
    };
    virtual Block Read(int64_t first, int64_t n, double* times, double* values) const = 0;
};

// The series of two parallel arrays.
class SpanSeries : public PowerSeries {
public:
    SpanSeries(std::span<const double> times, std::span<const double> values);
    int64_t Count() const override;
    Block Read(int64_t first, int64_t n, double* times, double* values) const override;

private:
    std::span<const double> times_, values_;
};

// Count, mean, sample standard deviation (n - 1), RSD = sd / |mean| x 100,
// peak-to-peak = (max - min) / |mean| x 100, drift = least-squares slope of
// value against time x 3600 (and over |mean| x 100), and the overlapping
// Allan deviation at octave-spaced averaging times from the median interval
// between readings up to a quarter of the record's length.
PowerFigures AnalysePower(const PowerSeries& series);

// Energies in joules; the over-range mark and `missedMark` are counted
// apart, every other value is a pulse.
EnergyFigures AnalyseEnergy(std::span<const float> values, float missedMark);
// The same for doubles (ratios), NaN meaning no result.
EnergyFigures AnalyseEnergy(std::span<const double> values, double missedMark);

}  // namespace analysis
