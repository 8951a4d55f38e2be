#include "sim/Meter.h"

namespace sim {

class MeterState {};

Meter::Meter(MeterConfig cfg) : cfg_(std::move(cfg)), state_(std::make_unique<MeterState>()) {}
Meter::~Meter() = default;
MeterConfig& Meter::Config() { return cfg_; }
void Meter::Receive(const QByteArray&, double, int) {}
QByteArray Meter::Transmit(double) { return {}; }
double Meter::NextTransmitTime() const { return std::numeric_limits<double>::infinity(); }
QStringList Meter::CommandsReceived() const { return received_; }
QByteArray Meter::Answer(const QString&) { return {}; }
double Meter::CharTime() const { return 10.0 / cfg_.baud; }
void Meter::Queue(const QByteArray&, double) {}

}  // namespace sim
