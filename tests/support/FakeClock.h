#pragma once

#include "platform/Clock.h"

#include <cmath>

// A clock the test sets and advances; wall time wraps at midnight, the
// monotonic time never does. It installs itself for its lifetime.
class FakeClock : public platform::Clock {
public:
    FakeClock() { platform::setClock(this); }
    ~FakeClock() override { platform::setClock(nullptr); }

    void Set(double secondsSinceMidnight) { wall_ = secondsSinceMidnight; }
    void Advance(double seconds) {
        mono_ += seconds;
        wall_ = std::fmod(wall_ + seconds, 86400.0);
    }

    double SecondsSinceMidnight() override { return wall_; }
    double Monotonic() override { return mono_; }
    QString DateText() override { return date_; }
    QString TimeText() override {
        const int s = static_cast<int>(wall_);
        return QString("%1:%2:%3")
            .arg(s / 3600, 2, 10, QChar('0'))
            .arg(s / 60 % 60, 2, 10, QChar('0'))
            .arg(s % 60, 2, 10, QChar('0'));
    }
    QString DateTimeText() override { return DateText() + " " + TimeText(); }

    QString date_ = "06/12/2026";

private:
    double wall_ = 12 * 3600.0;
    double mono_ = 1000.0;
};
