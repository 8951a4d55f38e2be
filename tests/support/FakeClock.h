#pragma once

#include "platform/Clock.h"

#include <QTime>
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
    QString DateText() override { return "06/12/2026"; }
    QString TimeText() override { return QTime(0, 0).addSecs(int(wall_)).toString("hh:mm:ss"); }
    QString DateTimeText() override { return DateText() + " " + TimeText(); }

private:
    double wall_ = 12 * 3600.0, mono_ = 1000.0;
};
