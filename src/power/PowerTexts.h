#pragma once

#include "data/Units.h"
#include "link/MeterModels.h"

#include <QString>
#include <cstdint>

// Texts of the power read-out and its statistics lines, and the request
// that follows each reply, in the units of the run.

// Seconds between two refreshes of the read-out (the single 0.46666).
inline constexpr double kDisplayInterval = static_cast<double>(0.46666f);

// The read-out for a valid reading: "UNDER"/"OVER" outside the graph limits
// when the limits warning is on, "0W" for a reading that vanishes at six
// decimals, otherwise four digits in the automatic prefix ("12.34mW").
QString ReadingText(double reading, bool limitsOn, double graphLow, double graphHigh, const UnitScale& units);

// The read-out for an over-range reply.
QString OverrangeText(bool limitsOn);

// "Min:  12.34mW": the prefix, the value in its automatic prefix with
// "###0.00", and the unit.
QString StatisticsText(const QString& prefix, double value, const UnitScale& units);

inline const QString kMinPrefix = QStringLiteral("Min:  ");
inline const QString kMaxPrefix = QStringLiteral("Max:  ");
inline const QString kAveragePrefix = QStringLiteral("Average:  ");
inline const QString kStDevPrefix = QStringLiteral("St.Dev.:  ");

// The next request by head and meter model. `Send` false: nothing is sent
// and the poll state stays as it was.
struct PollStep {
    bool Send = false;
    int16_t State = 0;
    const char* Command = "";
    double Timeout = 0;
};
PollStep NextPoll(HeadKind headType, MeterModel deviceType);
