#include "platform/PortTable.h"

#include "platform/ProgramFolder.h"

#include <QFile>
#include <QRegularExpression>

namespace platform {
namespace {

// A ports file is a handful of lines; anything bigger is not one.
constexpr qint64 kMaxPortsFileBytes = 64 * 1024;

}  // namespace

PortTable::PortTable() {
    for (int n = 1; n <= kPorts; ++n) {
#ifdef Q_OS_WIN
        devices_[n] = QStringLiteral("COM%1").arg(n);
#else
        if (n <= 4)
            devices_[n] = QStringLiteral("/dev/ttyS%1").arg(n - 1);
        else if (n <= 12)
            devices_[n] = QStringLiteral("/dev/ttyUSB%1").arg(n - 5);
        else
            devices_[n] = QStringLiteral("/dev/ttyACM%1").arg(n - 13);
#endif
    }
}

PortTable PortTable::FromCurrentDirectory() {
    PortTable table;
    QFile file(InFolder(programFolders().settings, QStringLiteral("kelvaro.ports")));
    if (file.open(QIODevice::ReadOnly)) table.Override(QString::fromUtf8(file.read(kMaxPortsFileBytes)));
    return table;
}

void PortTable::Override(const QString& fileText) {
    static const QRegularExpression line(QStringLiteral("^COM(\\d{1,2})\\s+(\\S.*)$"),
                                         QRegularExpression::CaseInsensitiveOption);
    for (QString text : fileText.split(QLatin1Char('\n'))) {
        const qsizetype hash = text.indexOf(QLatin1Char('#'));
        if (hash >= 0) text.truncate(hash);
        const QRegularExpressionMatch m = line.match(text.trimmed());
        if (!m.hasMatch()) continue;
        const int n = m.captured(1).toInt();
        if (n < 1 || n > kPorts) continue;
        devices_[n] = m.captured(2).trimmed();
    }
}

void PortTable::SetDevice(int n, const QString& device) {
    if (n >= 1 && n <= kPorts) devices_[n] = device;
}

QString PortTable::Device(int n) const {
    if (n < 1 || n > kPorts) return QString();
    return devices_[n];
}

bool PortTable::Exists(int n) const {
    const QString device = Device(n);
    if (device.isEmpty()) return false;
#ifdef Q_OS_WIN
    return true;  // the open attempt tells
#else
    return QFile::exists(device);
#endif
}

namespace {
QString g_commandLinePort;
}

QString commandLinePort() {
    return g_commandLinePort;
}

void setCommandLinePort(const QString& device) {
    g_commandLinePort = device;
}

PortTable& portTable() {
    static PortTable table = PortTable::FromCurrentDirectory();
    return table;
}

}  // namespace platform
