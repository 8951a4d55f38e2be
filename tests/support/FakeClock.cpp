#include "FakeClock.h"

#include <cmath>

FakeClock::FakeClock() {
    platform::setClock(this);
}
FakeClock::~FakeClock() {
    platform::setClock(nullptr);
}

void FakeClock::Advance(double seconds) {
    mono_ += seconds;
    wall_ = std::fmod(wall_ + seconds, 86400.0);
}

QString FakeClock::TimeText() {
    int s = static_cast<int>(wall_);
    return QString("%1:%2:%3")
        .arg(s / 3600, 2, 10, QChar('0'))
        .arg(s / 60 % 60, 2, 10, QChar('0'))
        .arg(s % 60, 2, 10, QChar('0'));
}
