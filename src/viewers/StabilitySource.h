#pragma once

#include "analysis/Stability.h"
#include "viewers/EnergyRatioViewData.h"
#include "viewers/EnergyViewData.h"
#include "viewers/PowerViewData.h"

#include <QString>
#include <optional>

// The viewers' records as input of the stability figures.

// Points first..last of a power viewer's record in one direction.
class PowerViewSeries : public analysis::PowerSeries {
public:
    PowerViewSeries(const PowerViewData& data, int64_t first, int64_t last, int direction);
    int64_t Count() const override { return count_; }
    Block Read(int64_t first, int64_t n, double* times, double* values) const override;

private:
    const PowerViewData& data_;
    int64_t first_, count_;
    int direction_;
};

analysis::EnergyFigures EnergyFiguresOf(const EnergyViewData& data);
// The ratio of the viewer's direction.
analysis::EnergyFigures EnergyFiguresOf(const EnergyRatioViewData& data);

// Which value of a two-channel file the figures are about.
enum class StabilityChannel { A, B, Ratio, Difference };
std::optional<StabilityChannel> StabilityChannelNamed(const QString& name);

// The figures of a whole file, read line by line through the header rules
// and the viewers' own records, as the viewers load it.
struct StabilityOfFile {
    bool Power = true;
    QString Unit;  // the file's base unit: "W", "J", ...; empty for a ratio
    analysis::PowerFigures PowerFigures;
    analysis::EnergyFigures EnergyFigures;
};
struct StabilityLoad {
    std::optional<StabilityOfFile> Figures;
    QString Error;            // the loader's message when the file cannot be read
    bool BadChannel = false;  // the channel does not exist in this file
};
StabilityLoad LoadStabilityOfFile(const QString& path, StabilityChannel channel);
