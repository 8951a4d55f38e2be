#include "energy/EnergySetupRules.h"

#include <algorithm>
#include <cmath>
#include <span>

namespace {

constexpr std::array<int, kTableBarMax> kRates = {1,   3,   5,   10,  20,  30,  50,  100,
                                                  200, 300, 400, 500, 600, 800, 1000};
constexpr std::array<int, kTableBarMax> kHeights = {10,  20,  30,  40,  50,  100, 200, 300,
                                                    400, 500, 600, 700, 800, 900, 1000};

int Entry(const std::array<int, kTableBarMax>& table, int position) {
    return table[size_t(std::clamp(position, 1, kTableBarMax) - 1)];
}

std::optional<int> PositionOf(const std::array<int, kTableBarMax>& table, int value) {
    const auto it = std::find(table.begin(), table.end(), value);
    if (it == table.end()) return std::nullopt;
    return int(it - table.begin()) + 1;
}

// A number as the label captions append it: a blank before it.
QString Spaced(int value) {
    return QLatin1Char(' ') + QString::number(value);
}

std::span<const double> Listed(const EnergyFactors& factors) {
    return std::span(factors).first(kListedEnergyUnits);
}

}  // namespace

QStringList EnergyUnitTexts(bool relativeUnits) {
    if (relativeUnits) return {"p", "n", "u", "m", " "};
    return {"pJ", "nJ", "uJ", "mJ", "J"};
}

int StorageRateAt(int position) {
    return Entry(kRates, position);
}

int InitialSizeAt(int position) {
    return Entry(kHeights, position);
}

std::optional<int> StorageRatePosition(int rate) {
    return PositionOf(kRates, rate);
}

std::optional<int> InitialSizePosition(int size) {
    return PositionOf(kHeights, size);
}

int BinsAt(int position) {
    return position * 5;
}

int BinsPosition(int bins) {
    return std::clamp(int(std::nearbyint(bins / 5.0)), 1, kBinsBarMax);
}

QString BinsCaption(int bins) {
    return QStringLiteral("Count") + Spaced(bins);
}

QString InitialSizeCaption(int size) {
    return QStringLiteral("Initial size") + Spaced(size);
}

QString StorageRateCaption(int rate) {
    if (rate == 1) return QStringLiteral("Store All Readings");
    return QStringLiteral("One out of ") + Spaced(rate);
}

bool StorageStyleShown(int rate) {
    return rate != 1;
}

int16_t StatisticsOption(bool minMax, bool avrStDev) {
    return int16_t((minMax ? 1 : 0) + (avrStDev ? 2 : 0));
}

double RightAfterMove(int bar, int16_t scale, double unitFactor) {
    if (OverCeiling(bar, scale, unitFactor, kEnergyCeiling))
        return CeilingInUnit(scale, unitFactor, kEnergyCeiling);
    return std::max(bar, 1);
}

int16_t FitEnergyUnit(int16_t unit, int rightBar, int16_t scale, const EnergyFactors& factors) {
    return FitUnitUnder(kEnergyCeiling, unit, rightBar, scale, Listed(factors));
}

int16_t FitEnergyScale(int16_t scale, int rightBar, double unitFactor) {
    return FitScaleUnder(kEnergyCeiling, scale, rightBar, unitFactor);
}

EnergyChoices ChoicesOf(const EnergySettings& s, const EnergyFactors& factors) {
    EnergyChoices c;
    c.ScaleIndex = std::clamp<int16_t>(s.EnergyScaleIndex, 0, kMaxScaleExponent);
    const LimitView view = LimitViewIn(s.EnergyLowLimit, s.EnergyHighLimit, c.ScaleIndex, Listed(factors));
    c.UnitIndex = view.UnitIndex;
    c.LowValue = view.LowValue;
    c.HighValue = view.HighValue;
    c.BinsCount = s.EnergyBinsCount;
    c.InitialSize = s.EnergyInitialSize;
    c.StorageRate = s.EnergyStorageRate;
    // A style or mode the engine does not know would store nothing.
    c.StorageStyle = s.EnergyStorageStyle == 2 ? 2 : 1;
    c.StorageMode = s.EnergyStorageMode == 1 ? 1 : 0;
    c.TimeStamp = s.EnergyTimeStamp;
    c.Statistics = int16_t(s.EnergyStatistics & 3);
    c.DisplayStyle = s.EnergyDisplayStyle == 1 ? 1 : 0;
    return c;
}

void StoreChoices(const EnergyChoices& c, int leftBar, int rightBar, const EnergyFactors& factors,
                  EnergySettings& s) {
    const LimitBarPair bars = OrderLimitBars(leftBar, rightBar);
    s.EnergyDisplayStyle = c.DisplayStyle;
    s.EnergyStatistics = c.Statistics;
    s.EnergyScaleIndex = c.ScaleIndex;
    const double factor = factors[size_t(std::clamp<int16_t>(c.UnitIndex, 0, kListedEnergyUnits - 1))];
    s.EnergyLowLimit = LimitInBaseUnit(bars.Low, c.ScaleIndex, factor);
    s.EnergyHighLimit = LimitInBaseUnit(bars.High, c.ScaleIndex, factor);
    s.EnergyBinsCount = c.BinsCount;
    s.EnergyInitialSize = c.InitialSize;
    s.EnergyStorageMode = c.StorageMode;
    s.EnergyStorageRate = c.StorageRate;
    s.EnergyStorageStyle = c.StorageStyle;
    s.EnergyTimeStamp = c.TimeStamp;
}
