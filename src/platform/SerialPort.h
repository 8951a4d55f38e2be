#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

namespace platform {

// Event and error codes reported through CommEvent.
enum CommEventCode : int {
    ComEvSend = 1,     // output buffer emptied
    ComEvReceive = 2,  // characters received
    ComEvCTS = 3,
    ComEvDSR = 4,
    ComEvCD = 5,
    ComEvRing = 6,
    ComEventBreak = 1001,
    ComEventCTSTO = 1002,
    ComEventDSRTO = 1003,
    ComEventFrame = 1004,
    ComEventOverrun = 1006,
    ComEventCDTO = 1007,
    ComEventRxOver = 1008,
    ComEventRxParity = 1009,
    ComEventTxFull = 1010,
    ComEventDeviceLost = 1100,  // the device went away (unplugged); the port is closed
};

enum class OpenResult { Ok, InUse, Failed };

// The one serial port the program talks through. Implementations: the real
// port (QSerialPort) and an in-memory port wired to the meter simulator.
class SerialPort {
public:
    virtual ~SerialPort() = default;

    virtual void SetCommPort(int n) = 0;  // COM n, resolved through the port table
    virtual int CommPort() const = 0;
    // "19200, N, 8, 1"; false when the text is not a valid setting.
    virtual bool SetSettings(const QString& settings) = 0;
    virtual QString Settings() const = 0;
    virtual OpenResult Open() = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    virtual void SetDTR(bool on) = 0;
    virtual void SetRTS(bool on) = 0;
    // Receive and send thresholds; OnComm is raised only when they are > 0.
    virtual void SetThresholds(int receive, int send) = 0;

    virtual void Output(const QByteArray& bytes) = 0;
    virtual QByteArray Input() = 0;  // reads and removes every buffered character
    virtual int InBufferCount() = 0;
    // Blocks up to `seconds` until input is buffered, without processing
    // window events (the baud-rate probe polls this way).
    virtual void WaitForInput(double seconds) = 0;

    virtual int CommEvent() const = 0;  // code of the event being reported
    // The system device behind the port; empty for a port that has none.
    virtual QString DevicePath() const { return QString(); }
    std::function<void(int code)> OnComm;  // raised for each event, with its code
};

SerialPort& serialPort();
void setSerialPort(SerialPort* p);  // nullptr restores the real port

}  // namespace platform
