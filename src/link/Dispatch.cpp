#include "link/Dispatch.h"

#include "link/HeadDetection.h"
#include "link/Identification.h"
#include "link/LinkState.h"
#include "link/MeterIdentity.h"
#include "link/Transaction.h"
#include "platform/Prompts.h"
#include "platform/SerialPort.h"
#include "state/AppState.h"
#include "state/Mode.h"

namespace {

// A mode that checks the first reply of its run: while the meter refuses,
// the mode command goes out again until the meter accepts it.
void ToCheckedMode(Mode& mode, const char* modeCommand, QString& line) {
    AppState& app = App();
    if (app.ModeCheckPending && line.contains(QLatin1Char('?'))) {
        SendCommand(platform::serialPort(), QString::fromLatin1(modeCommand), kResendTimeout, true);
        return;
    }
    app.ModeCheckPending = false;
    mode.Reply(line);
}

}  // namespace

void DispatchLine(QString& line) {
    ProtocolState& s = Link();
    if (s.AwaitChannelSelect) return SelectChannel(false, 0, line);
    if (s.AwaitHeadIdent) return IdentifyHeads(false, line);
    if (s.AwaitDeviceIdent) return IdentifyDevice(false, line);
    if (s.AwaitStartReply) return StartMeasurement(false, QString(), line);
    if (s.AwaitHeadInfo) return QueryHeadInfo(false, line);
    if (s.AwaitQueryReply) return QueryOnce(false, QString(), line);
    if (s.AwaitHeadType) return QueryHeadType(false, line);

    const int16_t code = App().ActiveMode;
    Mode* mode = Modes().Find(code);
    if (!mode) return;  // no mode: nobody waits for meter lines
    const ModeTraits traits = mode->Traits(code);
    // A PC file reads no meter.
    if (!traits.HoldsLink) return;
    if (traits.ResendOnRefusal) return ToCheckedMode(*mode, traits.ResendOnRefusal, line);
    // A refused request is no reading: the mode asks again.
    if (traits.PassesRefusals && line.contains(QLatin1Char('?'))) return mode->Refused(line);
    mode->Reply(line);
}

void RefusedReplies::Tell() {
    platform::prompts().Beep();
    platform::prompts().Message(
        QStringLiteral("The meter refused %1 requests for readings in a row. Logging has stopped; "
                       "the data logged so far can be saved.")
            .arg(kLimit),
        QStringLiteral("Kelvaro32"), platform::Icon::Exclamation);
}

void StartMeasurement(bool start, const QString& command, const QString& reply) {
    if (!Meter().Connected || Link().HeadNotSupported) return;
    ProtocolState& s = Link();
    if (start) {
        s.StartCommand = command;
        s.AwaitStartReply = true;
        SendCommand(platform::serialPort(), command, kStartTimeout, true);
        WaitForFlag(s.AwaitStartReply);
        return;
    }
    s.AwaitStartReply = false;
    if (!reply.contains(QLatin1Char('*'))) {
        s.AwaitStartReply = true;
        SendCommand(platform::serialPort(), s.StartCommand, kStartTimeout, true);
    }
}

void QueryOnce(bool start, const QString& command, const QString& reply) {
    if (!Meter().Connected) return;
    ProtocolState& s = Link();
    if (start) {
        s.QueryCommand = command;
        // A query that times out must not leave the answer of an older one.
        s.LastQueryReply.clear();
        s.AwaitQueryReply = true;
        SendCommand(platform::serialPort(), command, kQueryTimeout, true);
        WaitForFlag(s.AwaitQueryReply);
        return;
    }
    s.AwaitQueryReply = false;
    s.LastQueryReply = reply;
}
