#pragma once

#include "link/MeterModels.h"

#include <QString>
#include <cstdint>

// Thermopile heads that can measure rapid pulses become rapid-pulse heads (Meridel).
void DetectRapidPulseHeads();
void QueryHeadInfo(bool start, const QString& reply = QString());
bool IsRapidPulseHead(const QString& reply);

// Unit text (and head type) of each head from "HT" on newer meters.
void DetectUnits();
void QueryHeadType(bool start, const QString& reply = QString());
bool ParseHeadType(const QString& reply, HeadKind& type, QString& unit);

// One trial reading per head to learn the unit of its readings.
void DetectReadingUnits(bool all, int16_t channel);
bool WaitForReading();
QString ReadingUnit(const QString& reply);

// Switches the two-channel Meridel to channel 0 (A) or 1 (B).
void SelectChannel(bool start, int16_t channel, const QString& reply = QString());
