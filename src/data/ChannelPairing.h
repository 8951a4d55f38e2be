#pragma once

#include <QString>
#include <cstdint>

// Pairs the two channels' values of "SB" replies. A reply may carry a new
// value for one channel only (the other token holds the letter N); that
// value waits for the other channel's next one, and a second value on the
// same channel replaces the waiting one. So a value on one channel is
// always matched with the next value on the other.
class ChannelPairing {
public:
    // Takes the reply's text after the marker (channel A's token, a blank,
    // channel B's token). True with `a` and `b` set when a pair is complete.
    bool Take(const QString& tokens, QString& a, QString& b);

    // A completed pair that could not be used: nothing waits any more.
    void Drop() { ChannelState = 0; }
    // A new run: nothing waits.
    void Reset();

    // Which channels the last used reply carried: 0 none, 1 only A
    // (waiting), 2 only B (waiting), 3 both (paired).
    int16_t ChannelState = 0;
    QString PendingA;
    QString PendingB;
};
