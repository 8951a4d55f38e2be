#pragma once

#include "link/MeterModels.h"

#include <QString>
#include <cstdint>
#include <functional>

// Reply time-out of identification, channel selection and queries: the
// single-precision 0.3 the meter protocol was tuned with.
inline constexpr double kQueryTimeout = static_cast<double>(0.3f);
inline constexpr double kStartTimeout = 5.0;   // start command of a mode
inline constexpr double kResendTimeout = 7.0;  // "FP"/"FE" again after a refusal
inline constexpr double kMinimumTimeout = 0.07;
// Reply lines one wait may take before the meter counts as lost: a meter
// that answers every command with something unexpected must not hold a
// waiting routine for ever.
inline constexpr int kMaxRepliesPerWait = 50;
// Characters kept in LineBuffer while no LF arrives; older ones are dropped.
inline constexpr int kLineBufferLimit = 64 * 1024;

// Everything the link keeps between events: the command in flight, the line
// being assembled, the probe result and the identification and query state.
// One instance, zero at start (ResetLinkState).
struct ProtocolState {
    // The command in flight: what, sent when, allowed how long.
    QString LastCommand;        // framed: "$" + command + CR
    double LastTimeout = 0;     // time-out of LastCommand
    double CommandSentAt = 0;   // monotonic seconds
    double ReplyTimeout = 0;    // seconds allowed for the reply in flight
    bool ReplyReceived = true;  // false while a reply is outstanding
    bool LogReplies = true;     // received characters go to the traffic log
    bool TerminalReady = false;
    bool IdentTimedOut = false;
    int16_t AttemptCount = 0;  // time-outs of the current exchange

    // Line assembly
    QString LineBuffer;
    qint64 DroppedCharacters = 0;  // dropped from LineBuffer by its bound
    qint64 LinesReceived = 0;      // complete lines since start

    // Baud-rate probe
    QString ProbeBuffer;   // every character received while probing
    QString VersionReply;  // "$VE" answer without its first character and CR LF

    // Identification
    int16_t IdentStep = 0;
    int16_t TargetChannel = 0;
    bool AwaitDeviceIdent = false;
    bool AwaitHeadIdent = false;
    bool AwaitChannelSelect = false;
    bool AwaitHeadInfo = false;
    bool AwaitHeadType = false;
    bool HeadNotSupported = false;
    double FirmwareVersion = 0;
    int16_t TalonVersion = 0;
    bool RapidPulseCapable = false;
    HeadKind QueriedHeadType = HeadKind::None;
    QString QueriedUnitText;

    // Mode start and single queries
    QString StartCommand;
    QString QueryCommand;
    bool AwaitStartReply = false;
    bool AwaitQueryReply = false;
    QString LastQueryReply;

    int WaitRounds = 0;           // rounds of events run inside a wait of the link, nested
    int Dispatching = 0;          // a received line is being handed on, nested
    qint64 UnpromptedSends = 0;   // commands sent while no line was handed on, retries aside
};

ProtocolState& Link();

// Back to the state at program start (tests, and nothing else).
void ResetLinkState();

// The one-second pause between trial readings blocks the thread without
// processing events. Tests replace it to advance their clock instead.
void PauseSeconds(double seconds);
void SetPause(std::function<void(double)> pause);  // empty restores the real pause
