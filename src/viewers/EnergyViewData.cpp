#include "viewers/EnergyViewData.h"

#include "data/Arithmetic.h"
#include "data/DataFileSave.h"
#include "data/NumberFormat.h"
#include "data/Overrange.h"
#include "data/Units.h"
#include "energy/EnergyEngine.h"
#include "state/AppState.h"
#include "state/Configuration.h"
#include "viewers/ViewerValues.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

EnergyScaling ScalingForMax(double m, bool wholeNumber) {
    EnergyScaling s;
    if (m == 0 || !std::isfinite(m)) return s;
    auto onBar = [m, wholeNumber](int e) {
        const double v = m * std::pow(10.0, e);
        const double shown = wholeNumber ? std::nearbyint(v) : v;
        return shown >= 0 && shown <= kLimitBarMax;
    };
    // A negative maximum passes no exponent: the search ends at once.
    int e = 0;
    while (e < 330 && onBar(e)) ++e;
    s.Exponent = int16_t(e - 1);
    s.ScaleIndex = int16_t(((-s.Exponent) % 3 + 3) % 3);
    s.UnitIndex = int16_t(IndexEnergyLabel(std::pow(10.0, -(s.ScaleIndex + s.Exponent))));
    return s;
}

void EnergyViewData::Begin(bool relativeUnits, bool missingPulseDetection) {
    const EnergySettings& cfg = CurrentSettings().Energy;
    Clear();
    RelativeUnits = relativeUnits;
    MissingPulseDetection = missingPulseDetection;
    ViewHist = HistogramSpec{};
    ViewHist.Top = 20;
    ViewHist.Left = 2;
    ViewHist.Height = 80;
    ViewHist.Width = 165;
    ViewHist.LowLimit = float(cfg.EnergyLowLimit);
    ViewHist.HighLimit = float(cfg.EnergyHighLimit);
    ResizeBins(ViewHist, cfg.EnergyBinsCount);
    Applied.Bins = ViewHist.BinsCount;
}

void EnergyViewData::Clear() {
    Values.clear();
    Values.shrink_to_fit();
    OverCount = MissedCount = 0;
    Stats.Reset();
    ClearBins(ViewHist);
}

void EnergyViewData::Add(const QString& text) {
    if (text.trimmed().isEmpty()) return;
    double value = 0;
    if (text.contains(QLatin1String("Overrange"))) {
        value = OverrangeValue;
    } else if (IsMissedText(text)) {
        value = kMissedPulse;
        ++MissedCount;
    } else {
        value = FieldNumber(text, "energy");
        RequireSingle(value, text);
    }
    Values.push_back(float(value));
    if (IsOverrange(value))
        ++OverCount;
    else if (value != kMissedPulse)
        Stats.Add(value);
}

void EnergyViewData::ChooseLimits() {
    ViewYScale = 10;
    const EnergyScaling s = ScalingForMax(Stats.Max, true);
    const double factor = UnitScale::EnergyFactors[size_t(s.UnitIndex)];
    const double scale = ScaleOf(s.ScaleIndex);
    const double avr = Stats.Average(), dev = Stats.StdDev();
    const double low = MaxOf(MaxOf(Stats.Min, avr - 3 * dev), 0.0);
    const double high = MinOf(Stats.Max, avr + 3 * dev);
    Applied.UnitIndex = s.UnitIndex;
    Applied.ScaleIndex = s.ScaleIndex;
    // Whole bar positions that hold the limits: the bars shown are the
    // histogram drawn, and Apply without a change keeps it.
    const LimitBarPair bars =
        OutwardBars(low * factor / scale, MaxOf(high * factor / scale, 1.0), 0, kLimitBarMax);
    Applied.Low = bars.Low;
    Applied.High = bars.High;
    Applied.Bins = ViewHist.BinsCount;
    ViewHist.LowLimit = float(LimitInBaseUnit(Applied.Low, s.ScaleIndex, factor));
    ViewHist.HighLimit = float(LimitInBaseUnit(Applied.High, s.ScaleIndex, factor));
    Rebin();
}

LimitBarPair EnergyViewData::Apply(int leftBar, int rightBar, int16_t unit, int16_t scale, int binsBar) {
    const LimitBarPair bars = OrderLimitBars(leftBar, rightBar);
    Applied.UnitIndex = int16_t(std::clamp<int>(unit, 0, 4));
    Applied.ScaleIndex = std::clamp<int16_t>(scale, 0, kMaxScaleExponent);
    Applied.Low = bars.Low;
    Applied.High = bars.High;
    Applied.Bins = int16_t(std::clamp(binsBar, 1, 20) * 5);
    const double factor = UnitScale::EnergyFactors[size_t(Applied.UnitIndex)];
    ViewHist.LowLimit = float(LimitInBaseUnit(bars.Low, Applied.ScaleIndex, factor));
    ViewHist.HighLimit = float(LimitInBaseUnit(bars.High, Applied.ScaleIndex, factor));
    ResizeBins(ViewHist, Applied.Bins);
    Rebin();
    return bars;
}

void EnergyViewData::Rebin() {
    if (ViewHist.Bins.size() < size_t(ViewHist.BinsCount) + 3) ResizeBins(ViewHist, ViewHist.BinsCount);
    ClearBins(ViewHist);
    SetBinEdges(ViewHist);
    for (const float v : Values)
        // The right limit chosen at load is the largest pulse: that pulse is
        // in range, not in the above-range bar.
        if (v != kMissedPulse && !IsOverrange(v)) AddToHistogram(ViewHist, v, true);
    ViewYScale = FittingYScale(ViewHist, 10);
    ViewHist.YScaleCopy = ViewYScale;
}

std::array<QString, 7> EnergyViewData::StatisticsTexts() const {
    const UnitScale units{QStringLiteral("W"), RelativeUnits};
    return {EnergyStatisticsText(QStringLiteral("Min:  "), Stats.Min, units),
            EnergyStatisticsText(QStringLiteral("Max:  "), Stats.Max, units),
            EnergyStatisticsText(QStringLiteral("Average:  "), Stats.Average(), units),
            EnergyStatisticsText(QStringLiteral("St.Dev.:  "), Stats.StdDev(), units),
            QStringLiteral("Total Pulses:  ") + QString::number(Stats.Count + OverCount),
            QStringLiteral("Pulses Overrange:  ") + QString::number(OverCount),
            QStringLiteral("Missing Pulses:  ") + QString::number(MissedCount)};
}

QString EnergyViewData::HeaderLine(const QString& caption) const {
    return (RelativeUnits ? QStringLiteral("Energy, in RP-Units ") : QStringLiteral("Energy, in Joules ")) +
           QLatin1Char('\t') +
           (MissingPulseDetection ? QStringLiteral(",Missing Pulses Detection On,")
                                  : QStringLiteral(",Missing Pulses Detection Off,")) +
           QLatin1Char('\t') + HeadPartOf(caption);
}

QString EnergyViewData::ValueText(float value) {
    if (IsOverrange(value)) return QStringLiteral("Overrange");
    if (value == kMissedPulse) return QStringLiteral("Missed");
    return SingleText(value);
}
