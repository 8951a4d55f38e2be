#pragma once

#include <QString>

namespace platform {

// Wall clock and monotonic clock. Sample times come from SecondsSinceMidnight
// (carried across midnight by the caller); time-outs use Monotonic, which
// never jumps.
class Clock {
public:
    virtual ~Clock() = default;
    virtual double SecondsSinceMidnight() = 0;  // 0 <= s < 86400, with fractions
    virtual double Monotonic() = 0;             // seconds from an arbitrary origin
    virtual QString DateText() = 0;             // the system's short date text
    virtual QString TimeText() = 0;             // the system's time text
    virtual QString DateTimeText() = 0;         // date and time as the status strip shows them
};

// The clock in use: the system clock unless a test installed another.
Clock& clock();
void setClock(Clock* c);  // nullptr restores the system clock

}  // namespace platform
