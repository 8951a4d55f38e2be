#include "viewers/StabilitySource.h"

#include "data/Overrange.h"
#include "data/PcFileFormat.h"
#include "viewers/ViewerValues.h"

#include <QFile>
#include <cmath>
#include <exception>
#include <limits>

PowerViewSeries::PowerViewSeries(const PowerViewData& data, int64_t first, int64_t last, int direction)
    : data_(data), direction_(direction) {
    first_ = std::max<int64_t>(first, 0);
    count_ = std::max<int64_t>(std::min(last, data.Count() - 1) - first_ + 1, 0);
}

analysis::PowerSeries::Block PowerViewSeries::Read(int64_t first, int64_t n, double* times,
                                                   double* values) const {
    for (int64_t k = 0; k < n; ++k) {
        const int64_t i = first_ + first + k;
        times[k] = data_.Time(i);
        if (!data_.ValueAt(i, direction_, values[k])) values[k] = std::numeric_limits<double>::quiet_NaN();
    }
    return {times, values};
}

analysis::EnergyFigures EnergyFiguresOf(const EnergyViewData& data) {
    return analysis::AnalyseEnergy(std::span<const float>(data.Values), kMissedPulse);
}

analysis::EnergyFigures EnergyFiguresOf(const EnergyRatioViewData& data) {
    std::vector<double> ratios;
    ratios.reserve(data.Points.size());
    for (size_t i = 0; i < data.Points.size(); ++i) {
        double energy = 0, ratio = 0;
        const EnergyPair& p = data.Points[i];
        if (p.A == kMissedPulse || p.B == kMissedPulse)
            ratios.push_back(kMissedPulse);
        else
            ratios.push_back(
                data.PointAt(int32_t(i), energy, ratio) ? ratio : std::numeric_limits<double>::quiet_NaN());
    }
    return analysis::AnalyseEnergy(std::span<const double>(ratios), double(kMissedPulse));
}

std::optional<StabilityChannel> StabilityChannelNamed(const QString& name) {
    const QString n = name.toLower();
    if (n == QLatin1String("a")) return StabilityChannel::A;
    if (n == QLatin1String("b")) return StabilityChannel::B;
    if (n == QLatin1String("ratio")) return StabilityChannel::Ratio;
    if (n == QLatin1String("difference")) return StabilityChannel::Difference;
    return std::nullopt;
}

namespace {

// What the lines of one file feed: the record the viewer of its kind and
// view mode would hold.
struct Receiver {
    int16_t kind = LoadNothing;
    bool dual = false;
    int16_t viewMode = 0;
    std::unique_ptr<PowerViewData> power;
    EnergyViewData energy;
    EnergyRatioViewData energyRatio;
    bool ratioOfEnergies = false;

    void Take(const QString& line) {
        if (line.startsWith(QLatin1Char('\''))) return;  // notes
        const RoutedLine r = RouteDataLine(line, kind, dual, viewMode);
        if (r.viewer < 0) return;
        if (power)
            power->AddLine(r.text);
        else if (ratioOfEnergies)
            energyRatio.Add(r.text);
        else
            energy.Add(r.text);
    }
};

}  // namespace

StabilityLoad LoadStabilityOfFile(const QString& path, StabilityChannel channel) {
    StabilityLoad out;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        out.Error = QStringLiteral("Data file ") + path + QStringLiteral(" failed. Operation canceled.");
        return out;
    }
    QByteArray bytes = file.readLine();
    while (bytes.endsWith('\n') || bytes.endsWith('\r')) bytes.chop(1);
    const QString header = QString::fromUtf8(bytes);
    const PcFileHeader h = ReadPcFileHeader(header);
    if (h.kind == LoadNothing) {
        out.Error = QStringLiteral("Unknown file format.");
        return out;
    }
    Receiver rx;
    rx.kind = h.kind;
    rx.dual = h.dual;
    const bool power = h.kind == LoadPower;
    if (!h.dual && channel != StabilityChannel::A) {
        out.BadChannel = true;
        return out;
    }
    if (!power && channel == StabilityChannel::Difference) {
        out.BadChannel = true;
        return out;
    }
    rx.viewMode = int16_t(channel);
    StabilityOfFile f;
    f.Power = power;
    if (power) {
        const PowerCombine combine = channel == StabilityChannel::Ratio        ? PowerCombine::Ratio
                                     : channel == StabilityChannel::Difference ? PowerCombine::Difference
                                                                               : PowerCombine::Single;
        rx.power = std::make_unique<PowerViewData>(combine);
        f.Unit = channel == StabilityChannel::Ratio ? QString() : UnitOfHeader(header, h.dual);
    } else {
        rx.ratioOfEnergies = channel == StabilityChannel::Ratio;
        if (rx.ratioOfEnergies)
            rx.energyRatio.Begin();
        else
            rx.energy.Begin(h.relativeUnits, h.missingPulseDetection);
        f.Unit = rx.ratioOfEnergies ? QString()
                 : h.relativeUnits  ? QStringLiteral("RP-Units")
                                    : QStringLiteral("J");
    }
    qint64 lineNo = 1;
    try {
        while (!file.atEnd()) {
            bytes = file.readLine();
            ++lineNo;
            while (bytes.endsWith('\n') || bytes.endsWith('\r')) bytes.chop(1);
            rx.Take(QString::fromUtf8(bytes));
        }
    } catch (const std::exception& e) {
        QString reason = QString::fromUtf8(e.what());
        if (reason.endsWith(QLatin1Char('.'))) reason.chop(1);
        out.Error =
            QStringLiteral("Program internal trap. Notify supplier. Line %1 of %2 cannot be read: %3.")
                .arg(lineNo)
                .arg(path, reason);
        return out;
    }
    if (rx.power)
        f.PowerFigures = analysis::AnalysePower(PowerViewSeries(*rx.power, 0, rx.power->Count() - 1, 0));
    else
        f.EnergyFigures = rx.ratioOfEnergies ? EnergyFiguresOf(rx.energyRatio) : EnergyFiguresOf(rx.energy);
    out.Figures = std::move(f);
    return out;
}
