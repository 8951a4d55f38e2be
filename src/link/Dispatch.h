#pragma once

#include <QString>

// Hands one complete reply line (CR still at its end) to exactly one
// receiver: a waiting link routine, else the registered mode of ActiveMode.
void DispatchLine(QString& line);

// The op of the logging entry points for a line that refused their
// request: they ask again rather than wait for an answer that never comes.
inline constexpr int kRefusedReplyOp = 2;

// Refusals of a polling run in a row: after the tenth the run stops and the
// user is told, the data logged so far kept for saving.
class RefusedReplies {
public:
    static constexpr int kLimit = 10;
    // One refusal more; true when it is the limit's (the run is to stop).
    bool Refused() { return ++inRow_ >= kLimit; }
    void Answered() { inRow_ = 0; }
    // Beeps and tells the user that the run stopped.
    static void Tell();

private:
    int inRow_ = 0;
};

// Sends a mode's measurement command until the meter acknowledges it with
// "*". start true: send and wait; start false: handle one reply line.
void StartMeasurement(bool start, const QString& command, const QString& reply = QString());

// Sends one query and keeps its reply in LastQueryReply.
void QueryOnce(bool start, const QString& command, const QString& reply = QString());
