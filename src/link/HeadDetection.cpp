#include "link/HeadDetection.h"

#include "link/Dispatch.h"
#include "link/Identification.h"
#include "link/LinkState.h"
#include "link/MeterIdentityWrite.h"
#include "link/MeterModels.h"
#include "link/Transaction.h"
#include "platform/SerialPort.h"
#include "state/AppState.h"

namespace {

void SendQuery(bool& flag, const QString& command) {
    flag = true;
    SendCommand(platform::serialPort(), command, kQueryTimeout, true);
    WaitForFlag(flag);
}

bool TimedOut() {
    return Link().IdentTimedOut;
}

// Meridel: "HI" on a thermopile channel; true when it can do rapid pulses.
bool RapidPulseOn(int16_t channel) {
    SelectChannel(true, channel);
    if (TimedOut()) return false;
    QueryHeadInfo(true);
    return Link().RapidPulseCapable;
}

// "HT" for the channel that is selected now.
void UnitOf(int ch) {
    QueryHeadType(true);
    const ProtocolState& s = Link();
    if (s.QueriedHeadType != HeadKind::None) {
        WritableMeter().Channels[size_t(ch)].HeadType = s.QueriedHeadType;
        WritableMeter().Channels[size_t(ch)].UnitText = s.QueriedUnitText;
    }
}

bool PassesVersionGate() {
    const MeterIdentity& app = Meter();
    const ProtocolState& s = Link();
    switch (app.DeviceType) {
        case MeterModel::MeridelOne:
        case MeterModel::MeridelTwo:
            return s.FirmwareVersion >= 2.42;
        case MeterModel::Talon:
            return !s.VersionReply.isEmpty() && s.TalonVersion >= 329;
        default:
            return true;
    }
}

void Measure(int ch, const QString& command) {
    App().ModeCommand = command;
    StartMeasurement(true, command);
    if (TimedOut()) return;
    if (WaitForReading())
        WritableMeter().Channels[size_t(ch)].ReadingUnit = ReadingUnit(Link().LastQueryReply);
}

}  // namespace

void DetectRapidPulseHeads() {
    MeterIdentity& app = WritableMeter();
    if (!app.Connected) return;
    if (app.DeviceType != MeterModel::MeridelOne && app.DeviceType != MeterModel::MeridelTwo) return;
    ProtocolState& s = Link();
    s.RapidPulseCapable = false;
    ParseVersionReply();
    if (s.FirmwareVersion < 1.9) return;

    if (app.DeviceType == MeterModel::MeridelOne) {
        if (app.Channels[0].HeadType == HeadKind::Thermopile) {
            QueryHeadInfo(true);
            if (s.RapidPulseCapable) app.Channels[0].HeadType = HeadKind::RapidPulse;
        }
        return;
    }

    bool a = false;
    bool b = false;
    if (app.Channels[0].HeadType == HeadKind::Thermopile) a = RapidPulseOn(0);
    if (app.Channels[1].HeadType == HeadKind::Thermopile && !TimedOut()) b = RapidPulseOn(1);
    if (a) app.Channels[0].HeadType = HeadKind::RapidPulse;
    if (b) app.Channels[1].HeadType = HeadKind::RapidPulse;
}

void QueryHeadInfo(bool start, const QString& reply) {
    if (!Meter().Connected) return;
    ProtocolState& s = Link();
    if (start) {
        s.RapidPulseCapable = false;  // a query that times out finds nothing
        SendQuery(s.AwaitHeadInfo, QStringLiteral("HI"));
        return;
    }
    s.AwaitHeadInfo = false;
    s.RapidPulseCapable = IsRapidPulseHead(reply);
}

bool IsRapidPulseHead(const QString& reply) {
    if (!reply.startsWith(QLatin1Char('*'))) return false;
    QString body = reply;
    if (body.endsWith(QLatin1Char('\r'))) body.chop(1);
    if (body.size() < 3) return false;  // "*" and two hex digits at least
    bool ok = false;
    const int status = body.right(2).toInt(&ok, 16);
    return ok && (status & 16) != 0;
}

void DetectUnits() {
    MeterIdentity& app = WritableMeter();
    if (!app.Connected) return;
    for (int ch = 0; ch < 2; ++ch) {
        app.Channels[ch].UnitText = QStringLiteral("W");
        app.Channels[ch].ReadingUnit = QStringLiteral("W");
    }
    if (!PassesVersionGate()) return;

    switch (app.DeviceType) {
        case MeterModel::Talon:
        case MeterModel::MeridelOne:
        case MeterModel::Talon2:
        case MeterModel::Sirka:
            UnitOf(0);
            break;
        case MeterModel::MeridelTwo:
            SelectChannel(true, 0);
            if (TimedOut()) break;
            UnitOf(0);
            if (TimedOut()) break;
            SelectChannel(true, 1);
            if (TimedOut()) break;
            UnitOf(1);
            break;
        default:  // KORVEN family
            if (IsPyroelectric(app.Channels[0].HeadType)) app.Channels[0].UnitText = QStringLiteral("J");
            break;
    }
}

void QueryHeadType(bool start, const QString& reply) {
    if (!Meter().Connected) return;
    ProtocolState& s = Link();
    if (start) {
        s.QueriedHeadType = HeadKind::None;  // a query that times out finds nothing
        s.QueriedUnitText = QStringLiteral("W");
        SendQuery(s.AwaitHeadType, QStringLiteral("HT"));
        return;
    }
    s.AwaitHeadType = false;
    HeadKind type = HeadKind::None;
    QString unit;
    if (ParseHeadType(reply, type, unit)) {
        s.QueriedHeadType = type;
        s.QueriedUnitText = unit;
    } else {
        s.QueriedHeadType = HeadKind::None;
        s.QueriedUnitText = QStringLiteral("W");
    }
}

bool ParseHeadType(const QString& reply, HeadKind& type, QString& unit) {
    type = HeadKind::None;
    unit = QStringLiteral("W");
    const qsizetype blank = reply.indexOf(QLatin1Char(' '));
    if (blank < 0) return false;
    unit = reply.mid(blank + 1);
    const QString code = reply.mid(1, 2).toUpper();
    for (const CodeEntry<HeadKind>& e : HeadTypeReplyCodes()) {
        if (code == QLatin1String(e.text)) {
            type = e.code;
            return true;
        }
    }
    return false;
}

void DetectReadingUnits(bool all, int16_t channel) {
    MeterIdentity& app = WritableMeter();
    if (!app.Connected) return;
    app.Channels[0].ReadingUnit = QStringLiteral("W");
    app.Channels[1].ReadingUnit = QStringLiteral("W");

    if (app.DeviceType == MeterModel::MeridelTwo) {
        if (HeadPresent(0) && (all || channel == 0)) {
            SelectChannel(true, 0);
            if (!TimedOut()) Measure(0, QStringLiteral("FP"));
        }
        if (HeadPresent(1) && (all || channel == 1)) {
            if (!TimedOut()) SelectChannel(true, 1);
            Measure(1, QStringLiteral("FP"));
        }
        return;
    }
    if (!HeadPresent(0)) return;
    Measure(0, app.DeviceType == MeterModel::KorvenPE ? QStringLiteral("FE") : QStringLiteral("FP"));
}

bool WaitForReading() {
    for (int attempt = 0; attempt < 3; ++attempt) {
        PauseSeconds(1.0);
        QueryOnce(true, QStringLiteral("SI"));
        const QString& reply = Link().LastQueryReply;
        if (!reply.contains(QLatin1String("*X"))) return !reply.contains(QLatin1Char('?'));
    }
    return false;
}

QString ReadingUnit(const QString& reply) {
    if (!reply.startsWith(QLatin1Char('*')) || reply.size() < 2) return QStringLiteral("W");
    const QChar c = reply.at(1);
    if (c == QLatin1Char('l')) return QStringLiteral("Lx");
    if (c == QLatin1Char('c')) return QStringLiteral("Fc");
    return QString(c);
}

void SelectChannel(bool start, int16_t channel, const QString& reply) {
    const MeterIdentity& app = Meter();
    if (!app.Connected || app.DeviceType != MeterModel::MeridelTwo) return;
    ProtocolState& s = Link();
    if (start) {
        s.TargetChannel = channel;
        SendQuery(s.AwaitChannelSelect, channel == 1 ? QStringLiteral("CH B") : QStringLiteral("CH A"));
        return;
    }
    s.AwaitChannelSelect = false;
    const bool toB = s.TargetChannel == 1;
    if (reply.contains(toB ? QLatin1String("*B") : QLatin1String("*A"))) {
        WritableMeter().CurrentChannel = toB ? 1 : 0;
        return;
    }
    s.AwaitChannelSelect = true;
    SendCommand(platform::serialPort(), toB ? QStringLiteral("CH B") : QStringLiteral("CH A"), kQueryTimeout,
                true);
}
