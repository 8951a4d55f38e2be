#pragma once

#include "platform/SerialPort.h"
#include "sim/Meter.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>

class QTimer;

namespace sim {

// The in-memory serial port: what the program writes goes to a Meter at
// the clock's monotonic time; what the meter has sent by then is moved into
// the input buffer by Pump.
class SimSerialPort : public platform::SerialPort {
public:
    explicit SimSerialPort(Meter& meter, std::function<void(double)> advanceClock = {});
    ~SimSerialPort() override;

    void SetCommPort(int n) override { port_ = n; }
    int CommPort() const override { return port_; }
    bool SetSettings(const QString& settings) override;
    QString Settings() const override { return settings_; }
    platform::OpenResult Open() override;
    void Close() override;
    bool IsOpen() const override { return open_; }
    void SetDTR(bool on) override { dtr_ = on; }
    void SetRTS(bool on) override { rts_ = on; }
    void SetThresholds(int receive, int send) override;

    void Output(const QByteArray& bytes) override;
    QByteArray Input() override;
    int InBufferCount() override;
    void WaitForInput(double seconds) override;
    int CommEvent() const override { return event_; }

    // Moves the bytes due now into the input buffer; raises OnComm with
    // ComEvReceive when some arrived and the receive threshold is > 0.
    void Pump();
    // Advances the clock to the meter's next byte (when one is pending and
    // the port can advance the clock) and pumps; false when nothing is pending.
    bool DeliverNext();
    // Pumps from a timer every `ms` milliseconds, advancing the clock to
    // pending replies when `advance` is set; ms <= 0 stops it.
    void AutoPump(int ms, bool advance = false);

    // Test controls.
    void SetOpenResult(platform::OpenResult r) { openResult_ = r; }
    int Baud() const { return baud_; }
    bool DTR() const { return dtr_; }
    bool RTS() const { return rts_; }
    QByteArray Written() const { return written_; }  // every byte the program sent

private:
    Meter& meter_;
    std::function<void(double)> advance_;
    std::unique_ptr<QTimer> timer_;
    int port_ = 1;
    QString settings_ = "19200, N, 8, 1";
    int baud_ = 19200;
    bool open_ = false;
    bool dtr_ = false;
    bool rts_ = false;
    int receiveThreshold_ = 0;
    int sendThreshold_ = 0;
    int event_ = 0;
    platform::OpenResult openResult_ = platform::OpenResult::Ok;
    QByteArray in_;
    QByteArray written_;
};

// Parses a line settings text like "19200, N, 8, 1"; false when invalid.
bool ParseLineSettings(const QString& text, int& baud);

}  // namespace sim
