#pragma once

#include "platform/PortTable.h"
#include "platform/SerialPort.h"

#include <QSerialPort>
#include <optional>

namespace platform {

// Line settings as the settings text gives them.
struct LineSettings {
    qint32 baud = 9600;
    QSerialPort::Parity parity = QSerialPort::NoParity;
    QSerialPort::DataBits dataBits = QSerialPort::Data8;
    QSerialPort::StopBits stopBits = QSerialPort::OneStop;
};

// "19200, N, 8, 1": rate, parity letter (N, E, O, S, M), data bits 5..8,
// stop bits 1, 1.5 or 2. Nothing when the text is not such a setting.
std::optional<LineSettings> ParseLineSettings(const QString& text);

// Event code for an error the port reports; 0 for errors that are no line
// event (they go unreported, as do operations a device does not support).
int CommEventForError(QSerialPort::SerialPortError error);

// The device behind an open port went away: the system says so, or reads
// and writes fail while its device node is gone.
bool DeviceGone(QSerialPort::SerialPortError error, bool deviceExists);

// How a failed open is told to the user: a port another program holds
// (lock file, exclusive use) is in use; everything else is a failure.
OpenResult OpenResultFor(QSerialPort::SerialPortError error, bool deviceAccessible);

// The real serial port.
class QtSerialPort : public SerialPort {
public:
    QtSerialPort();
    ~QtSerialPort() override;

    void SetCommPort(int n) override;
    int CommPort() const override { return commPort_; }
    bool SetSettings(const QString& settings) override;
    QString Settings() const override { return settingsText_; }
    OpenResult Open() override;
    void Close() override;
    bool IsOpen() const override { return port_.isOpen(); }
    void SetDTR(bool on) override;
    void SetRTS(bool on) override;
    void SetThresholds(int receive, int send) override;

    void Output(const QByteArray& bytes) override;
    QByteArray Input() override;
    int InBufferCount() override;
    void WaitForInput(double seconds) override;

    int CommEvent() const override { return commEvent_; }
    QString DevicePath() const override { return portTable().Device(commPort_); }

private:
    void Raise(int code);
    void ApplySettings();

    QSerialPort port_;
    QString device_;  // the path last opened
    int commPort_ = 1;
    QString settingsText_ = QStringLiteral("9600, N, 8, 1");
    LineSettings settings_;
    int receiveThreshold_ = 0;
    int sendThreshold_ = 0;
    int commEvent_ = 0;
    bool polling_ = false;  // inside WaitForInput: no events
};

}  // namespace platform
