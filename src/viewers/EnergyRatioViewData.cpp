#include "viewers/EnergyRatioViewData.h"

#include "data/Arithmetic.h"
#include "data/DataFileSave.h"
#include "data/LogLines.h"
#include "data/Overrange.h"
#include "data/PcFileFormat.h"
#include "data/Units.h"
#include "link/MeterIdentity.h"
#include "state/AppState.h"
#include "state/Configuration.h"
#include "viewers/ViewerValues.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace {

constexpr int kRatioBarMax = 10;
constexpr int kExponentMin = -15, kExponentMax = 15;

double ChannelValue(const QString& field, const char* channel) {
    if (field.contains(QLatin1String("Overrange"))) return OverrangeValue;
    if (IsMissedText(field)) return kMissedPulse;
    const double v = FieldNumber(field, channel);
    RequireSingle(v, field);
    return v;
}

bool Missed(const EnergyPair& p) {
    return p.A == kMissedPulse || p.B == kMissedPulse;
}

QString HeadText(int channel) {
    const ChannelInfo& c = Meter().Channels[size_t(channel)];
    return c.HeadName + c.HeadSerial;
}

}  // namespace

void EnergyRatioViewData::Begin() {
    Clear();
    ViewDirection = std::clamp<int16_t>(ViewDirection, 0, 1);
    Chart = DualChartSpec{};
    Chart.GridStyle = CurrentSettings().EnergyRatio.RatioGridStyle;
}

void EnergyRatioViewData::Clear() {
    Points.clear();
    Points.shrink_to_fit();
    for (RunningStats& s : Ratio) s.Reset();
    OverCount = {};
    EnergyA.Reset();
    MissedCount = 0;
}

void EnergyRatioViewData::Add(const QString& line) {
    if (line.trimmed().isEmpty()) return;
    QString a, b, rest;
    SplitTabFields(line, a, b, rest);
    if (a.isEmpty())
        throw DataFileError(QStringLiteral("no TAB between the channels in \"%1\"").arg(line.left(40)));
    const EnergyPair p{ChannelValue(a, "channel A"), ChannelValue(b, "channel B")};
    Points.push_back(p);
    if (Missed(p)) {
        ++MissedCount;
        return;
    }
    if (!IsOverrange(p.A)) EnergyA.Add(p.A);
    const bool over = IsOverrange(p.A) || IsOverrange(p.B);
    for (int d = 0; d < 2; ++d) {
        double r = 0;
        if (!over && !RatioOf(d, 1.0, p.A, p.B, r)) continue;  // 0 / 0: no ratio
        if (over || IsOverrange(r))
            ++OverCount[size_t(d)];
        else
            Ratio[size_t(d)].Add(r);
    }
}

void EnergyRatioViewData::ChooseLimits() {
    const RunningStats& s = Ratio[size_t(ViewDirection)];
    const double mn = s.Min, mx = s.Max;
    // Ratio: the high limit brought into 1..10 by a power of ten, the low
    // one a decade below it at most.
    const int eMax = DecadeExponent(mx), eMin = DecadeExponent(mn);
    double low = 0, high = mx;
    if (mn > 0) low = eMin == eMax ? mn : mn / std::pow(10.0, eMax - eMin);
    int e = 0;
    if (high > 0) {
        e = kExponentMin;
        while (e <= kExponentMax && high * std::pow(10.0, e) <= kRatioBarMax) ++e;
        e = std::max(e - 1, kExponentMin);
    }
    // Whole bar positions that hold the data (4.1 .. 4.5 shows 4 .. 5, not
    // 4 .. 4): the bars shown are the chart drawn.
    const LimitBarPair ratioBars =
        OutwardBars(low * std::pow(10.0, e), MaxOf(high * std::pow(10.0, e), 1.0), 0, kRatioBarMax);
    Applied.RatioLow = ratioBars.Low;
    Applied.RatioHigh = ratioBars.High;
    // The bars stand for v x 10^-e: this is the decade of the maximum
    // except when the maximum is a power of ten itself.
    Applied.Exponent = int16_t(-e);

    // Energy: unit and scale from the largest channel A energy.
    const EnergyScaling es = ScalingForMax(EnergyA.Max, false);
    const double factor = UnitScale::EnergyFactors[size_t(es.UnitIndex)];
    const double scale = ScaleOf(es.ScaleIndex);
    Applied.Energy.UnitIndex = es.UnitIndex;
    Applied.Energy.ScaleIndex = es.ScaleIndex;
    const LimitBarPair energyBars = OutwardBars(MaxOf(EnergyA.Min, 0.0) * factor / scale,
                                                MaxOf(EnergyA.Max * factor / scale, 1.0), 0, kLimitBarMax);
    Applied.Energy.Low = energyBars.Low;
    Applied.Energy.High = energyBars.High;
    // The first chart is the one Apply draws from these controls.
    Apply(Applied);
}

void EnergyRatioViewData::Apply(const EnergyRatioLimits& shown) {
    const LimitBarPair energy = OrderLimitBars(int(shown.Energy.Low), int(shown.Energy.High));
    const LimitBarPair ratio = OrderLimitBars(int(shown.RatioLow), int(shown.RatioHigh));
    Applied.Energy.UnitIndex = std::clamp<int16_t>(shown.Energy.UnitIndex, 0, 4);
    Applied.Energy.ScaleIndex = std::clamp<int16_t>(shown.Energy.ScaleIndex, 0, kMaxScaleExponent);
    Applied.Energy.Low = energy.Low;
    Applied.Energy.High = energy.High;
    Applied.RatioLow = ratio.Low;
    Applied.RatioHigh = ratio.High;
    Applied.Exponent = std::clamp<int16_t>(shown.Exponent, kExponentMin, kExponentMax);
    const double factor = UnitScale::EnergyFactors[size_t(Applied.Energy.UnitIndex)];
    Chart.EnergyLow = float(LimitInBaseUnit(energy.Low, Applied.Energy.ScaleIndex, factor));
    Chart.EnergyHigh = float(LimitInBaseUnit(energy.High, Applied.Energy.ScaleIndex, factor));
    const double decade = std::pow(10.0, Applied.Exponent);
    Chart.RatioLow = float(decade * ratio.Low);
    Chart.RatioHigh = float(decade * ratio.High);
}

bool EnergyRatioViewData::PointAt(int32_t i, double& energy, double& ratio) const {
    if (i < 0 || size_t(i) >= Points.size()) return false;
    const EnergyPair& p = Points[size_t(i)];
    if (Missed(p)) return false;
    energy = p.A;
    if (IsOverrange(p.A) || IsOverrange(p.B)) {
        ratio = OverrangeValue;
        return true;
    }
    return RatioOf(ViewDirection, 1.0, p.A, p.B, ratio);
}

std::array<QString, 7> EnergyRatioViewData::StatisticsTexts() const {
    const size_t d = size_t(ViewDirection);
    const RunningStats& s = Ratio[d];
    return {QStringLiteral("Min:  ") + FormatScientific(s.Min),
            QStringLiteral("Max:  ") + FormatScientific(s.Max),
            QStringLiteral("Average:  ") + FormatScientific(s.Average()),
            QStringLiteral("St.Dev.:  ") + FormatScientific(s.StdDev()),
            QStringLiteral("Total Points:  ") + QString::number(s.Count + OverCount[d]),
            QStringLiteral("Points Overrange:  ") + QString::number(OverCount[d]),
            QStringLiteral("Missing Pulses:  ") + QString::number(MissedCount)};
}

QString EnergyRatioViewData::HeaderLine(const QString& caption) const {
    QString headA = QStringLiteral("Head A: ") + HeadText(0);
    QString headB = QStringLiteral("Head B: ") + HeadText(1);
    const QString heads = HeadPartOf(caption);
    const int b = int(heads.indexOf(QLatin1String("Head B")));
    if (heads.startsWith(QLatin1String("Head A")) && b > 0) {
        headA = heads.left(b).trimmed();
        if (headA.endsWith(QLatin1Char(';'))) headA.chop(1);
        headB = heads.mid(b).trimmed();
    }
    return QStringLiteral("Energy, J Channel A\t Channel B \t ") + headA + QStringLiteral("\t ") + headB;
}

QString EnergyRatioViewData::DataLine(const EnergyPair& p) {
    auto text = [](double v) {
        if (IsOverrange(v)) return QStringLiteral("Overrange");
        if (v == kMissedPulse) return QStringLiteral("Missed");
        return DoubleText(v);
    };
    QString a = text(p.A);
    return PadRight(a, 18) + QLatin1Char('\t') + text(p.B);
}
