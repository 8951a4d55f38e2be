#pragma once

#include "platform/SystemView.h"

#include <QMap>

// The system as the connection doctor and port watch see it: paths that exist, may be used, are held.
struct FakeSystemView : platform::SystemView {
    QStringList present;    // paths that exist
    QStringList readWrite;  // paths this process may read and write
    bool listed = false;    // the user is in the database of the devices' group "dialout"
    std::vector<platform::SerialDevice> devices;
    std::vector<platform::PortHolder> holders;
    QMap<QString, QString> stableNames;  // device -> its /dev/serial/by-id name

    bool Exists(const QString& p) const override { return present.contains(p); }
    bool CanReadWrite(const QString& p) const override { return readWrite.contains(p); }
    QString GroupOf(const QString&) const override { return "dialout"; }
    QString UserName() const override { return "alice"; }
    bool ListedInGroup(const QString& g) const override { return listed && g == "dialout"; }
    bool RunsWithGroup(const QString&) const override { return false; }  // joined after this session began
    std::vector<platform::SerialDevice> SerialDevices() const override { return devices; }
    QString StableName(const QString& p) const override {
        return present.contains(p) ? stableNames.value(p) : "";
    }
    QString Description(const QString&) const override { return {}; }
    std::vector<platform::PortHolder> Holders(const QString&) const override { return holders; }
};
