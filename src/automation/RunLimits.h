#pragma once

#include <QString>
#include <cstdint>
#include <optional>

// A run's length as the command line gives it: "10s", "5m", "2h", "1d", or
// a plain number of seconds; fractions allowed ("1.5h"). Nothing for a
// text that is no positive duration.
std::optional<double> ParseDuration(const QString& text);

// The one-line progress display of a run: readings, rate, elapsed time and
// the latest value, e.g. "1234 readings  98.7/s  12.5 s  last 12.34 mW"
// (`last` empty before the first reading).
QString ProgressLine(int64_t readings, double elapsed, const QString& last);
