#include "link/Identification.h"

#include "link/HeadDetection.h"
#include "link/LinkState.h"
#include "link/MeterIdentityWrite.h"
#include "link/MeterModels.h"
#include "link/Transaction.h"
#include "platform/Prompts.h"
#include "platform/SerialPort.h"
#include "state/AppState.h"

#include <cctype>
#include <optional>

namespace {

const QString kChannelA = QStringLiteral("CH A");
const QString kChannelB = QStringLiteral("CH B");
const QString kTypeWord = QStringLiteral("RB 22 1");
const QString kNameWords = QStringLiteral("RB 1B 6");
const QString kSerialWords = QStringLiteral("RB 16 2");
const QString kHeadInfo = QStringLiteral("HI");

void SendDeviceStep(const QString& command) {
    Link().AwaitDeviceIdent = true;
    SendCommand(platform::serialPort(), command, kQueryTimeout, true);
}

// Channel commands are logged, head-memory reads are not.
void SendHeadStep(int16_t step, const QString& command) {
    ProtocolState& s = Link();
    s.IdentStep = step;
    s.AwaitHeadIdent = true;
    const bool logged = command == kChannelA || command == kChannelB;
    SendCommand(platform::serialPort(), command, kQueryTimeout, logged);
}

void Finish() {
    Link().IdentStep = 0;
}

// The type word of a head's memory. Nothing when the reply is not one.
std::optional<HeadKind> HeadTypeFromMemory(const QString& reply) {
    const QString upper = reply.toUpper();
    if (auto code = FindCode(HeadMemoryCodes(), upper)) return code;
    if (upper.contains(QLatin1Char('*'))) return HeadKind::None;
    return std::nullopt;
}

// Steps 2 and 6: the type word of channel `ch`; returns the type found.
std::optional<HeadKind> ReadTypeWord(int ch, const QString& reply) {
    const auto type = HeadTypeFromMemory(reply);
    if (!type) return std::nullopt;
    ChannelInfo& c = WritableMeter().Channels[size_t(ch)];
    c.HeadType = *type;
    if (*type == HeadKind::None) {
        c.HeadName = QStringLiteral("Disconnected");
        c.HeadSerial.clear();
    }
    return type;
}

bool ReadNameWords(int ch, const QString& reply) {
    if (!reply.contains(QLatin1Char('*'))) return false;
    WritableMeter().Channels[size_t(ch)].HeadName = DecodeHexText(reply.right(30));
    return true;
}

bool ReadSerialWords(int ch, const QString& reply) {
    if (!reply.contains(QLatin1Char('*'))) return false;
    WritableMeter().Channels[size_t(ch)].HeadSerial =
        QStringLiteral("; s/n") + DecodeHexNumber(reply.right(10));
    return true;
}

// The answer of a KORVEN to "HI": header, serial, blank, 12-character name.
void KorvenHeadReply(const QString& reply) {
    MeterIdentity& meter = WritableMeter();
    ProtocolState& s = Link();
    ChannelInfo& c = meter.Channels[0];
    const QString upper = reply.toUpper();
    c.SupportNote.clear();
    s.HeadNotSupported = false;

    bool notConfigured = false;
    bool matched = false;
    for (const KorvenHeadEntry& head : KorvenHeads()) {
        if (!upper.contains(QLatin1String(head.text))) continue;
        matched = true;
        c.HeadType = head.headType;
        if (!Supports(head, meter.DeviceType)) {
            c.SupportNote =
                QStringLiteral("This KORVEN does not support %1 head").arg(QLatin1String(head.noun));
            s.HeadNotSupported = true;
        }
        break;
    }
    if (!matched && upper.contains(QLatin1String("UC"))) {
        c.HeadType = HeadKind::None;
        notConfigured = true;
    } else if (!matched && upper.contains(QLatin1Char('*'))) {
        c.HeadType = HeadKind::None;
    }

    QString serial = upper.mid(5);
    const qsizetype blank = serial.indexOf(QLatin1Char(' '));
    if (blank >= 0) serial.truncate(blank + 1);
    c.HeadSerial = serial;
    c.HeadName = upper.mid(serial.size() + 5, 12);

    if (notConfigured) {
        platform::prompts().Message(QStringLiteral("Device not configured for RS232"));
        c.SupportNote = QStringLiteral("Device not configured RS232");
        if (App().Shell.ConnectClick) App().Shell.ConnectClick();  // disconnects
    }
}

// Hex digits only: no sign, blank or "0x" slips through.
int HexValue(const QString& digits, bool& ok) {
    ok = !digits.isEmpty();
    for (const QChar c : digits) {
        if (!isxdigit(c.toLatin1()) || c.unicode() > 127) ok = false;
    }
    return ok ? digits.toInt(nullptr, 16) : 0;
}

}  // namespace

void ParseVersionReply() {
    ProtocolState& s = Link();
    bool ok = false;
    const double firmware = s.VersionReply.mid(2).trimmed().toDouble(&ok);
    s.FirmwareVersion = ok ? firmware : 1.4;
    const int talon = s.VersionReply.trimmed().toInt(&ok);
    s.TalonVersion = (ok && talon >= INT16_MIN && talon <= INT16_MAX) ? static_cast<int16_t>(talon) : 0;
}

void IdentifyDevice(bool start, const QString& reply) {
    MeterIdentity& app = WritableMeter();
    if (!app.Connected) return;
    ProtocolState& s = Link();

    if (start) {
        // What an earlier meter could not use says nothing about this one.
        s.HeadNotSupported = false;
        for (ChannelInfo& c : app.Channels) c.SupportNote.clear();
        ParseVersionReply();

        app.DeviceType = FindCode(ProbeModelCodes(), s.ProbeBuffer).value_or(MeterModel::Talon);
        if (app.DeviceType == MeterModel::MeridelOne) {
            SendDeviceStep(kChannelB);
        } else if (app.DeviceType == MeterModel::KorvenTH) {
            SendDeviceStep(QStringLiteral("II"));
        } else {
            return;
        }
        WaitForFlag(s.AwaitDeviceIdent);
        return;
    }

    s.AwaitDeviceIdent = false;
    if (app.DeviceType == MeterModel::MeridelOne) {
        if (reply.contains(QLatin1String("*A"))) {
            app.DeviceType = MeterModel::MeridelOne;
        } else if (reply.contains(QLatin1String("*B"))) {
            app.DeviceType = MeterModel::MeridelTwo;
        } else {
            // The wait ends anyway: a reply arrived and nothing was sent.
            s.AwaitDeviceIdent = true;
        }
    } else if (app.DeviceType == MeterModel::KorvenTH) {
        app.DeviceType = FindCode(KorvenModelCodes(), reply).value_or(MeterModel::KorvenTH);
    }
}

void IdentifyHeads(bool start, const QString& reply) {
    const MeterIdentity& app = Meter();
    if (!app.Connected) return;
    ProtocolState& s = Link();

    if (start) {
        if (app.DeviceType == MeterModel::MeridelTwo) {
            SendHeadStep(1, kChannelB);
        } else if (IsKorven(app.DeviceType)) {
            SendHeadStep(6, kHeadInfo);
        } else {
            SendHeadStep(6, kTypeWord);
        }
        WaitForFlag(s.AwaitHeadIdent);
        return;
    }

    s.AwaitHeadIdent = false;
    switch (s.IdentStep) {
        case 1:
            if (reply.contains(QLatin1String("*B")))
                SendHeadStep(2, kTypeWord);
            else
                SendHeadStep(1, kChannelB);
            break;
        case 2: {
            const auto type = ReadTypeWord(1, reply);
            if (!type)
                SendHeadStep(2, kTypeWord);
            else if (*type != HeadKind::None)
                SendHeadStep(3, kNameWords);
            else
                SendHeadStep(5, kChannelA);
            break;
        }
        case 3:
            if (ReadNameWords(1, reply))
                SendHeadStep(4, kSerialWords);
            else
                SendHeadStep(3, kNameWords);
            break;
        case 4:
            if (ReadSerialWords(1, reply))
                SendHeadStep(5, kChannelA);
            else
                SendHeadStep(4, kSerialWords);
            break;
        case 5:
            if (reply.contains(QLatin1String("*A")))
                SendHeadStep(6, kTypeWord);
            else
                SendHeadStep(5, kChannelA);
            break;
        case 6:
            if (IsKorven(app.DeviceType)) {
                KorvenHeadReply(reply);  // finished; the step stays 6
                break;
            }
            if (const auto type = ReadTypeWord(0, reply); !type)
                SendHeadStep(6, kTypeWord);
            else if (*type != HeadKind::None)
                SendHeadStep(7, kNameWords);
            else
                Finish();
            break;
        case 7:
            if (ReadNameWords(0, reply))
                SendHeadStep(8, kSerialWords);
            else
                SendHeadStep(7, kNameWords);
            break;
        case 8:
            if (ReadSerialWords(0, reply))
                Finish();
            else
                SendHeadStep(8, kSerialWords);
            break;
        default:
            break;
    }
}

QString DecodeHexText(const QString& text) {
    QString out;
    for (int group = 0; group < 6; ++group) {
        const QString word = text.mid(group * 5, 4);
        if (word.size() < 4) break;
        bool okLow = false, okHigh = false;
        const int low = HexValue(word.mid(2, 2), okLow);
        const int high = HexValue(word.left(2), okHigh);
        // A byte that is no hex pair, or a NUL, adds nothing to the name.
        if (okLow && low != 0) out += QChar(low);
        if (okHigh && high != 0) out += QChar(high);
    }
    while (out.endsWith(QLatin1Char(' '))) out.chop(1);
    return out;
}

QString DecodeHexNumber(const QString& text) {
    bool okLow = false, okHigh = false;
    const quint32 low = static_cast<quint32>(HexValue(text.mid(0, 4), okLow));
    const quint32 high = static_cast<quint32>(HexValue(text.mid(5, 4), okHigh));
    const quint32 value = ((okHigh ? high : 0u) << 16) | (okLow ? low : 0u);
    return QString::number(value);
}

void IdentifyInstrument() {
    Link().IdentTimedOut = false;
    Link().LogReplies = true;
    IdentifyDevice(true);
    IdentifyHeads(true);
    DetectRapidPulseHeads();
    DetectUnits();
    DetectReadingUnits(true, 0);
}
