#include "sim/SimSerialPort.h"

#include "platform/Clock.h"

#include <QStringList>
#include <QTimer>
#include <cmath>

namespace sim {

namespace {
constexpr int kInputLimit = 1 << 16;  // the driver's buffer: beyond it characters are lost
}

bool ParseLineSettings(const QString& text, int& baud) {
    QStringList parts = text.split(',');
    if (parts.size() != 4) return false;
    bool ok = false;
    int b = parts[0].trimmed().toInt(&ok);
    if (!ok || b <= 0) return false;
    QString parity = parts[1].trimmed().toUpper();
    if (parity.size() != 1 || !QString("NEOMS").contains(parity)) return false;
    int bits = parts[2].trimmed().toInt(&ok);
    if (!ok || bits < 5 || bits > 8) return false;
    QString stop = parts[3].trimmed();
    if (stop != "1" && stop != "1.5" && stop != "2") return false;
    baud = b;
    return true;
}

SimSerialPort::SimSerialPort(Meter& meter, std::function<void(double)> advanceClock)
    : meter_(meter), advance_(std::move(advanceClock)) {}

SimSerialPort::~SimSerialPort() = default;

bool SimSerialPort::SetSettings(const QString& settings) {
    int baud = 0;
    if (!ParseLineSettings(settings, baud)) return false;
    settings_ = settings;
    baud_ = baud;
    return true;
}

platform::OpenResult SimSerialPort::Open() {
    if (open_) return platform::OpenResult::Ok;
    if (openResult_ != platform::OpenResult::Ok) return openResult_;
    open_ = true;
    in_.clear();
    return platform::OpenResult::Ok;
}

void SimSerialPort::Close() {
    open_ = false;
    in_.clear();
}

void SimSerialPort::SetThresholds(int receive, int send) {
    receiveThreshold_ = receive;
    sendThreshold_ = send;
}

void SimSerialPort::Output(const QByteArray& bytes) {
    if (!open_) return;
    written_ += bytes;
    meter_.Receive(bytes, platform::clock().Monotonic(), baud_);
}

QByteArray SimSerialPort::Input() {
    QByteArray out;
    out.swap(in_);
    return out;
}

int SimSerialPort::InBufferCount() {
    return in_.size();
}

void SimSerialPort::Pump() {
    QByteArray bytes = meter_.Transmit(platform::clock().Monotonic(), baud_);
    if (bytes.isEmpty() || !open_) return;  // a closed port drops what arrives
    int room = kInputLimit - in_.size();
    in_ += bytes.left(std::max(0, room));
    if (receiveThreshold_ > 0 && OnComm) {
        event_ = platform::ComEvReceive;
        OnComm(event_);
    }
}

bool SimSerialPort::DeliverNext() {
    double next = meter_.NextTransmitTime();
    if (std::isinf(next)) return false;
    double now = platform::clock().Monotonic();
    if (next > now && advance_) advance_(next - now);
    Pump();
    return true;
}

void SimSerialPort::WaitForInput(double seconds) {
    if (!in_.isEmpty()) return;
    double now = platform::clock().Monotonic();
    double next = meter_.NextTransmitTime();
    if (advance_) {
        double step = next <= now + seconds ? next - now : seconds;
        if (step > 0) advance_(step);
    }
    Pump();
}

void SimSerialPort::AutoPump(int ms, bool advance) {
    if (ms <= 0) {
        timer_.reset();
        return;
    }
    if (!timer_) timer_ = std::make_unique<QTimer>();
    timer_->disconnect();
    QObject::connect(timer_.get(), &QTimer::timeout, [this, advance] {
        if (advance)
            DeliverNext();
        else
            Pump();
    });
    timer_->start(ms);
}

}  // namespace sim
