#pragma once

#include "link/MeterModels.h"

#include <QString>
#include <array>
#include <cstdint>

// One channel of the meter as identification found it.
struct ChannelInfo {
    HeadKind HeadType = HeadKind::None;
    QString HeadName;
    QString HeadSerial;
    QString UnitText;
    QString ReadingUnit;
    QString SupportNote;
};

// What the program knows of the meter on the line. Only the link writes it
// (connect, disconnect, identification, channel selection); everyone else
// reads it through Meter().
struct MeterIdentity {
    bool Connected = false;
    MeterModel DeviceType = MeterModel::Talon;
    std::array<QString, kMeterModelCount> DeviceNames;
    std::array<QString, kHeadKindCount> HeadTypeNames;
    std::array<ChannelInfo, 3> Channels;
    int16_t CurrentChannel = 0;

    // Names from the tables; empty for a code outside them.
    QString ModelName() const;
    QString HeadTypeName(HeadKind head) const;
};

const MeterIdentity& Meter();

// A head is present on channel c (0..2).
bool HeadPresent(int16_t channel);
