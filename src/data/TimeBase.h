#pragma once

#include <QString>
#include <cstdint>

// Seconds from `start` to `now`, both clock readings in seconds since
// midnight. Midnights are counted in DayCount(): a clock reading below
// the start (first midnight) or more than an hour below the previous call's
// (later midnights) means one more midnight has passed. Call it at least
// once a day.
double ElapsedSeconds(double start, double now);

// Midnights passed since the run began; a run's start sets it to 0.
int16_t DayCount();
void StartDayCount();

// hh:mm:ss.cc of a duration, in single precision; hundredths are rounded to
// the nearest (ties to even) and 100 of them carry into the seconds.
QString SecondsToClock(float hours, float minutes, float seconds);
