#pragma once

#include "sim/Meter.h"

#include <QString>
#include <cstdint>

namespace sim {

// Readings of one channel: noisy values, periodic over-range, and pulses
// that come at a steady rate from the moment an energy mode was set.
class ReadingSource {
public:
    explicit ReadingSource(quint32 seed = 1) : rng_(seed ? seed : 1) {}

    // Next value text: a number like "1.234E-03" or "OVER".
    QString Next(const ReadingSpec& spec);
    // The same for a power "SB" reply, empty where this channel misses one.
    QString NextOrMissing(const ReadingSpec& spec);

    void StartPulses(double now);  // the mode was set: pulse 1 comes one period later
    bool NewPulse(const ReadingSpec& spec, double now) const;
    // The newest pulse not yet read, consumed; empty when there is none.
    QString TakePulse(const ReadingSpec& spec, double now);
    bool Ready(const ReadingSpec& spec, double now) const { return now >= lastTaken_ + spec.readyDelay; }

private:
    double Uniform();  // -1 .. 1
    long long PulseIndex(const ReadingSpec& spec, double now) const;

    uint64_t rng_;
    long long count_ = 0;
    long long asked_ = 0;  // "SB" power replies
    double pulseStart_ = 0;
    long long taken_ = 0;
    double lastTaken_ = -1e300;
};

// "1.234E-03": four significant digits, C locale.
QString FormatValue(double v);

}  // namespace sim
