#pragma once

#include "power/PowerTexts.h"

#include <QString>
#include <array>
#include <cstdint>

class PowerEngine;
struct ChannelInfo;

// The record of the channel selected now.
const ChannelInfo& CurrentHead();

// The settings a power-type run reads, whichever mode owns them.
struct PowerRunSettings {
    int32_t LogTime = 15;
    double Low = 0;   // chart range, base unit (ratio: plain number)
    double High = 1;  // (and the limits warning of single-channel power)
    int16_t DisplayMode = 2;
    int16_t Grid = 3;
    int16_t StatMode = 3;
};

// What the displayed values of a two-channel run are adjusted by: nothing,
// a factor (normalised ratio) or an offset subtracted (difference).
enum class PowerAdjustment : int16_t { None, Scale, Shift };

// One variant of power logging: single-channel power, the ratio and the
// difference of the two channels. The engine is the same for all; a variant
// is a constant row of these fields and functions.
struct PowerProfile {
    const char* Caption;  // window caption and printout title
    int Channels;         // 1: one reading per reply; 2: both channels of a reply
    const char* FirstCommand;
    double FirstTimeout;
    bool TrialReading;  // learn the current channel's unit at a fresh start
    int16_t YLabelMode;
    const char* YTitle;
    double RescaleFloor;  // the rescaled chart of a finished run stays within these
    double RescaleCeiling;
    PowerAdjustment Adjustment;
    std::array<const char*, 2> AdjustCaptions;  // the button: off, on
    const char* AdjustPrintPrefix;              // "Norm. Factor:  "
    std::array<const char*, 2> DirectionNames;  // "A/B", "B/A"

    PowerRunSettings (*Settings)();
    QString (*WorkFilePath)();
    PollStep (*NextPoll)();
    // Two channels: the values of both directions (index = direction) from
    // the channel values; false when there is no result.
    bool (*Combine)(double a, double b, std::array<double, 2>& values);
    QString (*RunCaption)();
    // The data file's first line, from the heads of the run (A and B).
    QString (*Header)(const UnitScale& units, const std::array<QString, 2>& heads);
    // The read-out for a value of the current direction, over range too.
    QString (*Readout)(const PowerEngine& engine, double value);
    // A statistics line; `spread`: the standard deviation.
    QString (*StatText)(const PowerEngine& engine, const QString& prefix, double value, bool spread);
    // The factor or offset label; null without adjustment.
    QString (*AdjustText)(const PowerEngine& engine);
};

// Single-channel power ("SP" and "EF" by head and meter).
extern const PowerProfile kPowerProfile;
