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

HeadLines Head(const AppState& s, int channel, bool noteReplacesType) {
    const ChannelInfo& c = s.Channels[channel];
    if (c.HeadType == 0) return NoHead();
    const int type = c.HeadType >= 0 && c.HeadType < int(s.HeadTypeNames.size()) ? c.HeadType : 0;
    HeadLines h;
    h.type = noteReplacesType && !c.SupportNote.isEmpty() ? c.SupportNote : "Type: " + s.HeadTypeNames[type];
    h.serial = "Serial Number: " + SerialNumber(c.HeadSerial);
    h.name = "Name: " + c.HeadName;
    return h;
}

}  // namespace

InfoTexts BuildInfoTexts(const AppState& s, const QString& versionReply, const QString& portDevice) {
    InfoTexts t;
    t.port = "Port: COM" + QString::number(s.Config.CommPort);
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
    const int model = s.DeviceType >= 0 && s.DeviceType < int(s.DeviceNames.size()) ? s.DeviceType : 0;
    t.deviceType = "Type: " + s.DeviceNames[model];
    t.deviceVersion = "Version: " + versionReply;

    HeadLines a;
    if (model >= 4 && model <= 7) {
        a = Head(s, 0, true);
    } else if (model == 2) {
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
