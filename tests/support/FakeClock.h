#pragma once

#include "support/QuietPlatform.h"

#include <QTime>

// The step clock from noon of a fixed date, its time text following the wall
// time. It installs itself for its lifetime.
class FakeClock : public StepClock {
public:
    FakeClock() : StepClock(12 * 3600.0) {
        mono = 1000;
        platform::setClock(this);
    }
    ~FakeClock() override { platform::setClock(nullptr); }

    void Set(double secondsSinceMidnight) { now = secondsSinceMidnight; }
    QString DateText() override { return "06/12/2026"; }
    QString TimeText() override { return QTime(0, 0).addSecs(int(now)).toString("hh:mm:ss"); }
};
