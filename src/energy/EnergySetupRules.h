#pragma once

#include "data/LimitBars.h"
#include "state/AppState.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>

// The arithmetic of the energy histogram setup: the limit bars (data/LimitBars.h)
// in pJ .. J under the 1000 J ceiling, bins in steps of five, the storage-rate
// and initial-height tables, the captions of the bar labels, and what the
// dialog reads from and OK writes into the energy settings.

inline constexpr double kEnergyCeiling = 1000;  // joules
inline constexpr int kListedEnergyUnits = 5;    // pJ .. J in the unit list
inline constexpr int kBinsBarMax = 20;          // 100 bins
inline constexpr int kTableBarMax = 15;         // storage rate and initial size

using EnergyFactors = std::array<double, 6>;

// The unit list: pJ .. J, or the bare prefixes in rapid-pulse relative units
// (the last one a single blank).
QStringList EnergyUnitTexts(bool relativeUnits);

// The tables behind the storage-rate and initial-size bars, position 1..15.
int StorageRateAt(int position);
int InitialSizeAt(int position);
// The position whose table entry equals the value; nothing when none does.
std::optional<int> StorageRatePosition(int rate);
std::optional<int> InitialSizePosition(int size);

// Bins are five times the bar position.
int BinsAt(int position);
int BinsPosition(int bins);  // bins / 5, halves to even, within 1..20

// Captions of the bar labels ("Count 15", "Initial size 100",
// "Store All Readings", "One out of  10").
QString BinsCaption(int bins);
QString InitialSizeCaption(int size);
QString StorageRateCaption(int rate);
// Average and Sample only mean something when not every reading is stored.
bool StorageStyleShown(int rate);

// 1 x (Min/Max ticked) + 2 x (Avr/St.Dev. ticked).
int16_t StatisticsOption(bool minMax, bool avrStDev);

// HighValue once the Right bar moved to `bar`: at least 1, and never above
// 1000 J (then 1000 J expressed in the unit and scale).
double RightAfterMove(int bar, int16_t scale, double unitFactor);
// The unit chosen, or the nearest smaller one that keeps the Right bar
// within 1000 J (only J can pass it).
int16_t FitEnergyUnit(int16_t unit, int rightBar, int16_t scale, const EnergyFactors& factors);
// The scale chosen, or the nearest smaller one that keeps 1000 J.
int16_t FitEnergyScale(int16_t scale, int rightBar, double unitFactor);

// What the dialog edits.
struct EnergyChoices {
    int16_t UnitIndex = 4;
    int16_t ScaleIndex = 0;
    double LowValue = 0;  // in the unit and scale
    double HighValue = 1;
    int16_t BinsCount = 10;
    int32_t InitialSize = 100;
    int16_t StorageRate = 1;
    int16_t StorageStyle = 1;  // 1 Average, 2 Sample
    int16_t StorageMode = 0;   // 0 First Readings, 1 Last Readings
    bool TimeStamp = false;
    int16_t Statistics = 3;
    int16_t DisplayStyle = 0;  // 0 histogram, 1 numeric
};

// The choices the dialog opens with: both limits in the unit of the high
// one; options outside their range fall back to the first choice.
EnergyChoices ChoicesOf(const EnergySettings& s, const EnergyFactors& factors);

// OK: the settings from the choices and the two limit bars; crossed limits
// keep the high one and put the low one a unit below it; limits in joules.
void StoreChoices(const EnergyChoices& c, int leftBar, int rightBar, const EnergyFactors& factors,
                  EnergySettings& s);
