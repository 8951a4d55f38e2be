#include "link/Dispatch.h"

#include "link/HeadDetection.h"
#include "link/Identification.h"
#include "link/LinkState.h"
#include "link/MeterIdentity.h"
#include "link/Transaction.h"
#include "platform/Prompts.h"
#include "platform/SerialPort.h"
#include "state/AppState.h"

namespace {

void ToWindow(int16_t mode, QString& line, int op = 0) {
    auto& entries = App().Shell.ModeEntry;
    if (mode < 0 || mode >= static_cast<int>(entries.size())) return;
    auto entry = entries[mode];
    // Rapid pulse runs in the energy window.
    if (!entry && mode == ModeRapidPulse) entry = entries[ModeEnergy];
    if (entry) entry(op, line);
}

// Power and energy: the first reply of a run is checked for a refusal, and
// the mode command goes out again until the meter accepts it.
void ToCheckedWindow(int16_t mode, const QString& modeCommand, QString& line) {
    AppState& app = App();
    if (app.ModeCheckPending && line.contains(QLatin1Char('?'))) {
        SendCommand(platform::serialPort(), modeCommand, kResendTimeout, true);
        return;
    }
    app.ModeCheckPending = false;
    ToWindow(mode, line);
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

    const int16_t mode = App().ActiveMode;
    switch (mode) {
        case ModeTerminal:
        case ModeDeviceFile:
            ToWindow(mode, line);
            break;
        case ModePower:
            ToCheckedWindow(mode, QStringLiteral("FP"), line);
            break;
        case ModeEnergy:
        case ModeRapidPulse:
            ToCheckedWindow(mode, QStringLiteral("FE"), line);
            break;
        case ModePowerRatio:
        case ModePowerDifference:
        case ModeEnergyRatio:
            // A refused request is no reading: the window asks again.
            ToWindow(mode, line, line.contains(QLatin1Char('?')) ? kRefusedReplyOp : 0);
            break;
        default:
            break;  // no mode, or a PC file: nobody waits for meter lines
    }
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
