#include "platform/ConnectionDoctor.h"

namespace platform {
namespace {

// "a", "a and b", "a, b and c"
QString ListText(const QStringList& items) {
    if (items.size() <= 1) return items.value(0);
    return items.mid(0, items.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" and ") + items.last();
}

QStringList PresentDevices(const SystemView& system) {
    QStringList found;
    for (const SerialDevice& d : system.SerialDevices())
        found << (d.stableName.isEmpty() ? d.path : QStringLiteral("%1 (%2)").arg(d.path, d.stableName));
    return found;
}

QString Missing(const QString& device, const SystemView& system) {
    const QStringList found = PresentDevices(system);
    if (found.isEmpty())
        return QStringLiteral(
                   "The device %1 does not exist, and this computer shows no serial devices. "
                   "Plug the meter in and check its cable.")
            .arg(device);
    return QStringLiteral(
               "The device %1 does not exist. Serial devices on this computer: %2. "
               "Plug the meter in, or choose its port under Configuration, Comm. Port.")
        .arg(device, found.join(QStringLiteral(", ")));
}

// No COM port led to a device at start, so there is no port to open.
QString NoPort(const SystemView& system) {
    const QStringList found = PresentDevices(system);
    if (found.isEmpty())
        return QStringLiteral(
            "None of the ports COM1 to COM16 leads to a device, and this computer shows no serial devices. "
            "Plug the meter in and check its cable.");
    return QStringLiteral(
               "None of the ports COM1 to COM16 leads to a device. Serial devices on this computer: %1. "
               "Name the meter's device in kelvaro.ports, or start the program with --port and its path.")
        .arg(found.join(QStringLiteral(", ")));
}

QString NoPermission(const QString& device, const SystemView& system) {
    const QString group = system.GroupOf(device);
    if (group.isEmpty())
        return QStringLiteral(
                   "You may not read and write %1. Ask the administrator for read and write access to it.")
            .arg(device);
    if (system.ListedInGroup(group) && !system.RunsWithGroup(group))
        return QStringLiteral(
                   "You may not read and write %1 yet. It belongs to the group %2, which you joined "
                   "after logging in: log out and in again.")
            .arg(device, group);
    return QStringLiteral(
               "You may not read and write %1. It belongs to the group %2: join that group "
               "(sudo adduser %3 %2), then log out and in again.")
        .arg(device, group, system.UserName());
}

QString Held(const QString& device, const std::vector<PortHolder>& holders) {
    if (holders.empty())
        return QStringLiteral(
                   "%1 is held by another program that could not be identified. Close any other "
                   "program that uses the meter, then choose Connect again.")
            .arg(device);
    QStringList who;
    for (const PortHolder& h : holders)
        who << (h.name.isEmpty() ? QStringLiteral("process %1").arg(h.pid)
                                 : QStringLiteral("%1 (process %2)").arg(h.name).arg(h.pid));
    return QStringLiteral("%1 is held by %2. Close %3, then choose Connect again.")
        .arg(device, ListText(who),
             holders.size() == 1 ? QStringLiteral("that program") : QStringLiteral("those programs"));
}

}  // namespace

QString Diagnose(PortTrouble trouble, int n, const QString& device, const SystemView& system) {
    if (device.isEmpty()) return n == 0 && trouble == PortTrouble::OpenFailed ? NoPort(system) : QString();
    switch (trouble) {
        case PortTrouble::Removed:
            return QStringLiteral(
                       "COM%1 (%2) was removed. What was logged stays in its window and can be saved. "
                       "When the device is back, the program connects again by itself and a run that was "
                       "logging goes on.")
                .arg(n)
                .arg(device);
        case PortTrouble::NoAnswer:
            return QStringLiteral(
                       "%1 opened, but nothing answered at 19200, 9600, 4800, 1200 or 300 baud. Check that "
                       "the meter is switched on, that its cable is plugged in at both ends, and that the "
                       "meter's own baud rate is one of these.")
                .arg(device);
        case PortTrouble::InUse:
            return Held(device, system.Holders(device));
        case PortTrouble::OpenFailed:
            break;
    }
    if (!system.Exists(device)) return Missing(device, system);
    if (!system.CanReadWrite(device)) return NoPermission(device, system);
    const std::vector<PortHolder> holders = system.Holders(device);
    if (!holders.empty()) return Held(device, holders);
    return QStringLiteral(
               "%1 exists but could not be opened as a serial port. Check that it is the meter's device.")
        .arg(device);
}

}  // namespace platform
