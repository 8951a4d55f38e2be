#include "platform/QtSerialPort.h"

#include "platform/PortTable.h"

#include <QFileInfo>
#include <QStringList>
#include <cmath>

namespace platform {

std::optional<LineSettings> ParseLineSettings(const QString& text) {
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4) return std::nullopt;
    LineSettings s;
    bool ok = false;
    const int baud = parts[0].trimmed().toInt(&ok);
    if (!ok || baud <= 0) return std::nullopt;
    s.baud = baud;

    const QString parity = parts[1].trimmed().toUpper();
    if (parity == QLatin1String("N"))
        s.parity = QSerialPort::NoParity;
    else if (parity == QLatin1String("E"))
        s.parity = QSerialPort::EvenParity;
    else if (parity == QLatin1String("O"))
        s.parity = QSerialPort::OddParity;
    else if (parity == QLatin1String("S"))
        s.parity = QSerialPort::SpaceParity;
    else if (parity == QLatin1String("M"))
        s.parity = QSerialPort::MarkParity;
    else
        return std::nullopt;

    const int bits = parts[2].trimmed().toInt(&ok);
    if (!ok || bits < 5 || bits > 8) return std::nullopt;
    s.dataBits = static_cast<QSerialPort::DataBits>(bits);

    const QString stop = parts[3].trimmed();
    if (stop == QLatin1String("1"))
        s.stopBits = QSerialPort::OneStop;
    else if (stop == QLatin1String("1.5"))
        s.stopBits = QSerialPort::OneAndHalfStop;
    else if (stop == QLatin1String("2"))
        s.stopBits = QSerialPort::TwoStop;
    else
        return std::nullopt;
    return s;
}

int CommEventForError(QSerialPort::SerialPortError error) {
    switch (error) {
        case QSerialPort::ReadError:
            return ComEventRxOver;  // characters were lost on the way in
        case QSerialPort::WriteError:
            return ComEventTxFull;  // characters could not go out
        default:
            return 0;
    }
}

bool DeviceGone(QSerialPort::SerialPortError error, bool deviceExists) {
    if (error == QSerialPort::ResourceError) return true;
    return (error == QSerialPort::ReadError || error == QSerialPort::WriteError) && !deviceExists;
}

OpenResult OpenResultFor(QSerialPort::SerialPortError error, bool deviceAccessible) {
    // On Linux, Qt reports a port that another program holds (its lock file,
    // or exclusive use: "device busy") as a permission error, the same as a
    // device we may not open at all. Only the first is "in use".
    if (error == QSerialPort::PermissionError && deviceAccessible) return OpenResult::InUse;
    return OpenResult::Failed;
}

QtSerialPort::QtSerialPort() {
    QObject::connect(&port_, &QSerialPort::readyRead, &port_, [this] {
        if (!polling_ && receiveThreshold_ > 0) Raise(ComEvReceive);
    });
    QObject::connect(&port_, &QSerialPort::bytesWritten, &port_, [this] {
        if (!polling_ && sendThreshold_ > 0 && port_.bytesToWrite() == 0) Raise(ComEvSend);
    });
    QObject::connect(&port_, &QSerialPort::errorOccurred, &port_, [this](QSerialPort::SerialPortError e) {
        if (!port_.isOpen()) return;
        // An unplugged device fails every read at once, for ever: the port
        // is closed and the loss told once instead of an endless error stream.
        if (DeviceGone(e, QFileInfo::exists(device_))) {
            port_.close();
            // Told once this handler is left: what the loss sets off (a
            // message box, a later open of this same port) must not run
            // inside the port's own error handling.
            if (!polling_)
                QMetaObject::invokeMethod(&port_, [this] { Raise(ComEventDeviceLost); }, Qt::QueuedConnection);
            return;
        }
        const int code = CommEventForError(e);
        if (code != 0) Raise(code);
    });
}

QtSerialPort::~QtSerialPort() {
    Close();
}

void QtSerialPort::Raise(int code) {
    commEvent_ = code;
    if (OnComm) OnComm(code);
}

void QtSerialPort::SetCommPort(int n) {
    commPort_ = n;
}

bool QtSerialPort::SetSettings(const QString& settings) {
    const auto parsed = ParseLineSettings(settings);
    if (!parsed) return false;
    settings_ = *parsed;
    settingsText_ = settings;
    if (port_.isOpen()) ApplySettings();
    return true;
}

void QtSerialPort::ApplySettings() {
    port_.setBaudRate(settings_.baud);
    port_.setParity(settings_.parity);
    port_.setDataBits(settings_.dataBits);
    port_.setStopBits(settings_.stopBits);
    port_.setFlowControl(QSerialPort::NoFlowControl);
}

OpenResult QtSerialPort::Open() {
    if (port_.isOpen()) return OpenResult::Ok;
    const QString device = portTable().Device(commPort_);
    if (device.isEmpty()) return OpenResult::Failed;
    device_ = device;
    port_.setPortName(device);
    if (!port_.open(QIODevice::ReadWrite)) {
        const QFileInfo info(device);
        const bool accessible = info.exists() && info.isReadable() && info.isWritable();
        const OpenResult result = OpenResultFor(port_.error(), accessible);
        port_.clearError();
        return result;
    }
    ApplySettings();
    port_.clear();  // nothing left from before the open
    return OpenResult::Ok;
}

void QtSerialPort::Close() {
    if (port_.isOpen()) port_.close();
}

// A pseudo-terminal has no modem lines; the error it reports is no line event.
void QtSerialPort::SetDTR(bool on) {
    if (port_.isOpen()) port_.setDataTerminalReady(on);
}

void QtSerialPort::SetRTS(bool on) {
    if (port_.isOpen()) port_.setRequestToSend(on);
}

void QtSerialPort::SetThresholds(int receive, int send) {
    receiveThreshold_ = receive;
    sendThreshold_ = send;
}

void QtSerialPort::Output(const QByteArray& bytes) {
    if (!port_.isOpen()) return;
    port_.write(bytes);
    port_.flush();
}

QByteArray QtSerialPort::Input() {
    if (!port_.isOpen()) return {};
    return port_.readAll();
}

int QtSerialPort::InBufferCount() {
    if (!port_.isOpen()) return 0;
    const qint64 n = port_.bytesAvailable();
    return n > 32767 ? 32767 : static_cast<int>(n);
}

void QtSerialPort::WaitForInput(double seconds) {
    if (!port_.isOpen() || port_.bytesAvailable() > 0) return;
    const int ms = seconds > 0 ? static_cast<int>(std::ceil(seconds * 1000.0)) : 0;
    polling_ = true;
    port_.waitForReadyRead(ms);
    polling_ = false;
}

}  // namespace platform
