#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace platform {

// A program that holds a device open.
struct PortHolder {
    qint64 pid = 0;
    QString name;  // empty when the process could not be read
};

// A serial device the system offers, with its stable name when it has one.
struct SerialDevice {
    QString path;        // /dev/ttyUSB0
    QString stableName;  // /dev/serial/by-id/..., or empty
};

// What the connection doctor and the port menu ask of the operating system
// about serial devices. The Linux view reads /dev, /sys and /proc; tests
// use a fake that describes one situation.
class SystemView {
public:
    virtual ~SystemView() = default;
    virtual bool Exists(const QString& path) const = 0;
    // This process may open the device for reading and writing.
    virtual bool CanReadWrite(const QString& path) const = 0;
    virtual QString GroupOf(const QString& path) const = 0;  // owning group, empty if unknown
    virtual QString UserName() const = 0;
    // The group database lists the user in `group`; and this process runs
    // with that group (it does only after logging in again).
    virtual bool ListedInGroup(const QString& group) const = 0;
    virtual bool RunsWithGroup(const QString& group) const = 0;
    virtual std::vector<SerialDevice> SerialDevices() const = 0;
    // The /dev/serial/by-id name that leads to the same device, or empty.
    virtual QString StableName(const QString& path) const = 0;
    // What the system knows of the device ("FT232R USB UART, FTDI"), or empty.
    virtual QString Description(const QString& path) const = 0;
    // Processes that hold the device open or own its lock file.
    virtual std::vector<PortHolder> Holders(const QString& path) const = 0;
};

SystemView& systemView();
void setSystemView(SystemView* view);  // nullptr restores the real one

}  // namespace platform
