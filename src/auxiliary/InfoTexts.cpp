#include "auxiliary/InfoTexts.h"

namespace {

const QString kDisconnected = "Disconnected";

struct HeadLines {
    QString type, serial, name;
};

HeadLines NoHead() {
    return {"Type: " + kDisconnected, "Serial Number: " + kDisconnected, "Name: " + kDisconnected};
}

// The serial number alone: HeadSerial carries "; s/n" in front of it, or for
// the KORVEN family the blank that ended it in the reply.
QString SerialNumber(const QString& headSerial) {
    const QString mark = QStringLiteral("; s/n");
    return (headSerial.startsWith(mark) ? headSerial.mid(mark.size()) : headSerial).trimmed();
}

HeadLines Head(const MeterIdentity& s, int channel, bool noteReplacesType) {
    const ChannelInfo& c = s.Channels[size_t(channel)];
    if (c.HeadType == HeadKind::None) return NoHead();
    HeadLines h;
    h.type =
        noteReplacesType && !c.SupportNote.isEmpty() ? c.SupportNote : "Type: " + s.HeadTypeName(c.HeadType);
    h.serial = "Serial Number: " + SerialNumber(c.HeadSerial);
    h.name = "Name: " + c.HeadName;
    return h;
}

}  // namespace

InfoTexts BuildInfoTexts(const MeterIdentity& s, int16_t commPort, const QString& versionReply,
                         const QString& portDevice) {
    InfoTexts t;
    t.port = "Port: COM" + QString::number(commPort);
    if (!portDevice.isEmpty()) t.port += " (" + portDevice + ")";
    t.connected = s.Connected;
    t.head1Caption = "Head";
    if (!s.Connected) {
        t.deviceType = "Type: None";
        t.deviceVersion = "Version: None";
        t.headType1 = "Type:" + kDisconnected;
        t.serial1 = "Serial Number: " + kDisconnected;
        t.name1 = "Name: " + kDisconnected;
        return t;
    }
    t.deviceType = "Type: " + s.ModelName();
    t.deviceVersion = "Version: " + versionReply;

    HeadLines a;
    if (IsKorven(s.DeviceType)) {
        a = Head(s, 0, true);
    } else if (s.DeviceType == MeterModel::MeridelTwo) {
        t.twoHeads = true;
        t.head1Caption = "Head Channel 'A'";
        a = Head(s, 0, false);
        HeadLines b = Head(s, 1, false);
        t.headType2 = b.type;
        t.serial2 = b.serial;
        t.name2 = b.name;
    } else {
        a = Head(s, 0, false);
    }
    t.headType1 = a.type;
    t.serial1 = a.serial;
    t.name1 = a.name;
    return t;
}
