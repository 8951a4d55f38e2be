#include "link/Transaction.h"

#include "link/Dispatch.h"
#include "link/LinkState.h"
#include "link/MeterIdentity.h"
#include "link/TrafficLog.h"
#include "platform/Clock.h"
#include "platform/Prompts.h"
#include "state/AppState.h"

#include <QCoreApplication>

namespace {

// Pyroelectric heads on these meters may take seconds to see a pulse, so a
// silent meter is asked again and again before the link gives up.
bool PatientWithSlowHead() {
    const MeterIdentity& meter = Meter();
    const bool family = meter.DeviceType == MeterModel::Talon || IsKorven(meter.DeviceType);
    if (!family) return false;
    const int ch = meter.CurrentChannel;
    if (ch < 0 || ch > 2) return false;
    return IsPyroelectric(meter.Channels[size_t(ch)].HeadType);
}

// Keeps at most kLineBufferLimit characters of a line that has no end yet.
void BoundLineBuffer(ProtocolState& s) {
    const qsizetype excess = s.LineBuffer.size() - kLineBufferLimit;
    if (excess <= 0) return;
    s.LineBuffer.remove(0, excess);
    s.DroppedCharacters += excess;
    LogLine(QStringLiteral("Line buffer full: %1 characters without line end dropped").arg(excess));
}

void GiveUp() {
    ProtocolState& s = Link();
    s.ReplyReceived = true;
    s.TerminalReady = true;
    platform::prompts().Beep();
    s.IdentTimedOut = true;
    LogTraffic(QStringLiteral("Timeout!"));
    platform::prompts().Message(QStringLiteral("Timeout! Connection Lost!"));
}

}  // namespace

void SendCommand(platform::SerialPort& port, const QString& command, double timeout, bool logIt) {
    if (!Meter().Connected) return;
    ProtocolState& s = Link();
    if (timeout < kMinimumTimeout) timeout = kMinimumTimeout;

    QString framed;
    if (!command.isEmpty()) {
        framed = QLatin1Char('$') + command + QLatin1Char('\r');
        s.LastCommand = framed;
        s.LastTimeout = timeout;
    } else {
        framed = s.LastCommand;
        timeout = s.LastTimeout;
    }
    port.Output(framed.toLatin1());

    s.LogReplies = true;
    if (logIt) {
        LogTraffic(framed);
    } else {
        s.LogReplies = false;
    }
    s.ReplyTimeout = timeout;
    s.CommandSentAt = platform::clock().Monotonic();
    s.ReplyReceived = false;
    // Sent on no line's behalf and no retry: a start, or a press, amid whatever waits.
    if (s.Dispatching == 0 && !command.isEmpty() && command != QLatin1String("MD")) ++s.UnpromptedSends;
}

void ReceiveEvent() {
    ProtocolState& s = Link();
    const QString chunk = QString::fromLatin1(platform::serialPort().Input());
    if (chunk.isEmpty()) return;
    if (s.LogReplies) LogTraffic(chunk);

    if (!chunk.endsWith(QLatin1Char('\n'))) {
        s.LineBuffer += chunk;
        BoundLineBuffer(s);
        return;
    }

    s.ReplyReceived = true;
    s.AttemptCount = 0;
    s.LineBuffer += chunk.left(chunk.size() - 1);
    BoundLineBuffer(s);
    s.LogReplies = true;
    ++s.LinesReceived;
    // Taken out before the dispatch: a receiver that waits for its own reply
    // runs this routine again, and must start a fresh line.
    QString line = std::move(s.LineBuffer);
    s.LineBuffer = QString();
    ++s.Dispatching;
    DispatchLine(line);
    --s.Dispatching;
}

void Timer2_Timer() {
    ProtocolState& s = Link();
    if (s.ReplyReceived) return;

    const int limit = PatientWithSlowHead() ? 2000 : 3;
    if (platform::clock().Monotonic() < s.CommandSentAt + s.ReplyTimeout) return;

    platform::SerialPort& port = platform::serialPort();
    if (s.AttemptCount < limit) {
        ++s.AttemptCount;
        if (s.AttemptCount == 1) {
            LogTraffic(QStringLiteral("Attempt No2 (Dummy) "));
            SendCommand(port, QStringLiteral("MD"), kQueryTimeout, true);
        } else {
            LogTraffic(QStringLiteral("Attempt No%1  ").arg(s.AttemptCount + 1));
            SendCommand(port, QString(), 0, true);
        }
        return;
    }

    // Only a complete reply line resets AttemptCount, so until one arrives
    // every later time-out gives up at once.
    GiveUp();
}

bool LinkBusy() {
    const ProtocolState& s = Link();
    return s.WaitRounds > 0 || s.AwaitDeviceIdent || s.AwaitHeadIdent || s.AwaitChannelSelect ||
           s.AwaitHeadInfo || s.AwaitHeadType || s.AwaitStartReply || s.AwaitQueryReply;
}

void ProcessEventsOnce() {
    ProtocolState& s = Link();
    ++s.WaitRounds;
    if (App().Shell.ProcessEvents) {
        App().Shell.ProcessEvents();
    } else {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        Timer2_Timer();
    }
    --s.WaitRounds;
}

void WaitForFlag(bool& flag) {
    ProtocolState& s = Link();
    const qint64 firstLine = s.LinesReceived;
    const qint64 unprompted = s.UnpromptedSends;
    while (flag && !s.ReplyReceived && Meter().Connected) {
        if (s.LinesReceived - firstLine >= kMaxRepliesPerWait) {
            GiveUp();  // answered, but never as asked
            break;
        }
        ProcessEventsOnce();
    }
    const bool answered = !flag;
    flag = false;
    // Something else sent a command while this one waited: the line taken
    // here may have been its answer. The time-out watch stays on for it, so a
    // reply that never comes ends in the retries and the message, not in silence.
    if (answered && s.UnpromptedSends != unprompted && s.ReplyReceived && Meter().Connected) {
        s.ReplyReceived = false;
        s.CommandSentAt = platform::clock().Monotonic();
    }
}
