#pragma once

#include "platform/Clock.h"

// A clock the test sets and advances; wall time wraps at midnight, the
// monotonic time never does.
class FakeClock : public platform::Clock {
public:
    FakeClock();            // installs itself
    ~FakeClock() override;  // restores the system clock

    void Set(double secondsSinceMidnight) { wall_ = secondsSinceMidnight; }
    void Advance(double seconds);

    double SecondsSinceMidnight() override { return wall_; }
    double Monotonic() override { return mono_; }
    QString DateText() override { return date_; }
    QString TimeText() override;
    QString DateTimeText() override { return DateText() + " " + TimeText(); }

    QString date_ = "06/12/2026";

private:
    double wall_ = 12 * 3600.0;
    double mono_ = 1000.0;
};
