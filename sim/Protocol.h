#pragma once

#include "sim/Meter.h"
#include "sim/Readings.h"
#include "sim/StoredLogs.h"

#include <QString>
#include <array>

namespace sim {

// What the meter is doing between commands: the selected channel, the
// measurement mode, the readings of each channel, the open stored log.
class MeterState {
public:
    enum class Mode { None, Power, Energy, PowerRatio, PowerDifference, EnergyRatio };

    explicit MeterState(quint32 seed);

    // The reply line to one command (without "$" and CR), without CR LF.
    QString Answer(const MeterConfig& cfg, const QString& command, double now);

    Mode CurrentMode() const { return mode_; }
    int Channel() const { return channel_; }

private:
    const HeadSpec& Head(const MeterConfig& cfg) const;
    QString Version(const MeterConfig& cfg) const;
    QString SelectChannel(const MeterConfig& cfg, const QStringList& args);
    QString ReadMemory(const MeterConfig& cfg, const QStringList& args) const;
    QString HeadInfo(const MeterConfig& cfg) const;
    QString HeadType(const MeterConfig& cfg) const;
    QString ReadingUnit(const MeterConfig& cfg) const;
    QString SetMode(const MeterConfig& cfg, const QString& word, const QStringList& args, double now);
    QString BothChannels(const MeterConfig& cfg, double now);
    bool ModeAllows(const MeterConfig& cfg, const QString& word) const;

    int channel_ = 0;
    Mode mode_ = Mode::None;
    std::array<ReadingSource, 2> sources_;
    LogServer logs_;
};

}  // namespace sim
