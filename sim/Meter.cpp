#include "sim/Meter.h"

#include "sim/Protocol.h"

#include <algorithm>

namespace sim {

namespace {

constexpr int kMaxLine = 256;         // longer lines are garbage: dropped whole
constexpr int kMaxPending = 1 << 20;  // output the meter holds before it stops answering
constexpr double kDueSlack = 1e-9;    // clock sums may land a hair before the due time

}  // namespace

Meter::Meter(MeterConfig cfg) : cfg_(std::move(cfg)), state_(std::make_unique<MeterState>(cfg_.seed)) {}

Meter::~Meter() = default;

MeterConfig& Meter::Config() {
    return cfg_;
}

double Meter::CharTime() const {
    return cfg_.lineTiming && cfg_.baud > 0 ? 10.0 / cfg_.baud : 0.0;
}

QByteArray Meter::Noise(int n) {
    // Bytes with the top bit set: never LF or CR, never letters the probe
    // could take for a model code.
    QByteArray out(n, '\0');
    for (int i = 0; i < n; ++i) {
        noise_ ^= noise_ << 13;
        noise_ ^= noise_ >> 7;
        noise_ ^= noise_ << 17;
        out[i] = char(0x80 | (noise_ & 0x7F));
    }
    return out;
}

void Meter::Receive(const QByteArray& bytes, double now, int hostBaud) {
    lastNow_ = now;
    if (bytes.isEmpty()) return;
    if (hostBaud != cfg_.baud) {
        // At the wrong speed the meter sees framing errors: the line in
        // progress is lost and the line carries noise back.
        line_.clear();
        overlong_ = false;
        if (!cfg_.faults.silent) Queue(Noise(std::max<int>(1, bytes.size() / 2)), now, 1);
        return;
    }
    for (char c : bytes) {
        if (c == '\r') {
            // An overlong line is not a command: it is answered like one the meter does not know.
            QByteArray line = overlong_ ? QByteArray("?") : line_;
            line_.clear();
            overlong_ = false;
            HandleLine(line, now);
        } else if (c == '\n' || overlong_) {
            continue;
        } else if (line_.size() < kMaxLine) {
            line_.append(c);
        } else {
            line_.clear();
            overlong_ = true;
        }
    }
}

void Meter::HandleLine(const QByteArray& line, double now) {
    if (line.trimmed().isEmpty()) return;
    int dollar = line.indexOf('$');
    QByteArray reply;
    if (dollar < 0) {
        reply = "?";
    } else {
        QString command = QString::fromLatin1(line.mid(dollar + 1));
        received_ << command;
        reply = state_->Answer(cfg_, command, now).toLatin1();
        if (Answered) Answered(command, reply);
    }
    if (cfg_.faults.silent) return;
    reply += "\r\n";
    if (cfg_.faults.garbage) reply = Noise(reply.size());
    Queue(reply, now + std::max(0.0, cfg_.faults.delay), cfg_.faults.splitChunks);
}

QByteArray Meter::Answer(const QString& command) {
    return state_->Answer(cfg_, command, lastNow_).toLatin1() + "\r\n";
}

void Meter::Queue(const QByteArray& bytes, double start, int chunks) {
    if (bytes.isEmpty() || int(out_.size()) + bytes.size() > kMaxPending) return;
    chunks = std::clamp(chunks, 1, int(bytes.size()));
    double t = std::max(start, lastDue_);
    double charTime = CharTime();
    int done = 0;
    for (int c = 0; c < chunks; ++c) {
        int end = int(qint64(bytes.size()) * (c + 1) / chunks);
        if (c > 0) t += std::max(0.0, cfg_.faults.chunkGap);
        t += (end - done) * charTime;  // a chunk is there once its last byte is
        for (int i = done; i < end; ++i) out_.push_back({bytes[i], t});
        done = end;
    }
    lastDue_ = t;
}

QByteArray Meter::Transmit(double now, int hostBaud) {
    QByteArray out;
    while (!out_.empty() && out_.front().at <= now + kDueSlack) {
        out.append(out_.front().byte);
        out_.pop_front();
    }
    // A reply still on the line when the program changed its speed (a probe
    // that gave up on this rate) arrives garbled, never as a line.
    return hostBaud == cfg_.baud ? out : Noise(int(out.size()));
}

double Meter::NextTransmitTime() const {
    return out_.empty() ? std::numeric_limits<double>::infinity() : out_.front().at;
}

QStringList Meter::CommandsReceived() const {
    return received_;
}

}  // namespace sim
