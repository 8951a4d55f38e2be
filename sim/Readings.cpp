#include "sim/Readings.h"

#include <cmath>

namespace sim {

QString FormatValue(double v) {
    return QString::asprintf("%.3E", v);
}

double ReadingSource::Uniform() {
    // xorshift64*: small, seedable, the same on every platform.
    rng_ ^= rng_ >> 12;
    rng_ ^= rng_ << 25;
    rng_ ^= rng_ >> 27;
    uint64_t r = rng_ * 2685821657736338717ULL;
    return double(r >> 11) / double(1ULL << 53) * 2.0 - 1.0;
}

QString ReadingSource::Next(const ReadingSpec& spec) {
    ++count_;
    if (spec.overEvery > 0 && count_ % spec.overEvery == 0) return "OVER";
    double v = spec.base;
    if (spec.noise != 0.0) v *= 1.0 + spec.noise * Uniform();
    return FormatValue(v);
}

QString ReadingSource::NextOrMissing(const ReadingSpec& spec) {
    ++asked_;
    if (spec.missEvery > 0 && asked_ % spec.missEvery == 0) return QString();
    return Next(spec);
}

void ReadingSource::StartPulses(double now) {
    pulseStart_ = now;
    taken_ = 0;
    lastTaken_ = -1e300;
}

long long ReadingSource::PulseIndex(const ReadingSpec& spec, double now) const {
    const double start = pulseStart_ + spec.pulseDelay;
    if (spec.pulseRate <= 0 || now < start) return 0;
    // A small allowance so that a pulse due exactly now counts.
    return static_cast<long long>(std::floor((now - start) * spec.pulseRate + 1e-9));
}

bool ReadingSource::NewPulse(const ReadingSpec& spec, double now) const {
    return PulseIndex(spec, now) > taken_;
}

QString ReadingSource::TakePulse(const ReadingSpec& spec, double now) {
    long long k = PulseIndex(spec, now);
    if (k <= taken_) return {};
    taken_ = k;
    lastTaken_ = now;
    return Next(spec);
}

}  // namespace sim
