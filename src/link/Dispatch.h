#pragma once

#include <QString>

// Hands one complete reply line (CR still at its end) to exactly one
// receiver: a waiting link routine, else the window of ActiveMode.
void DispatchLine(QString& line);

// Sends a mode's measurement command until the meter acknowledges it with
// "*". start true: send and wait; start false: handle one reply line.
void StartMeasurement(bool start, const QString& command, const QString& reply = QString());

// Sends one query and keeps its reply in LastQueryReply.
void QueryOnce(bool start, const QString& command, const QString& reply = QString());
