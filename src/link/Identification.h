#pragma once

#include <QString>

// Meter model from the probe reply (and "CH B" / "II" for two families).
void IdentifyDevice(bool start, const QString& reply = QString());

// Everything learnt about the meter after a connect or disconnect: model,
// heads, rapid-pulse capability, units and reading units. Does nothing
// while not connected, so the last meter's description stays.
void IdentifyInstrument();

// Type, name and serial number of the head on each channel.
void IdentifyHeads(bool start, const QString& reply = QString());

// Six hex words, low byte first, one separator after each: up to 12
// characters without trailing blanks.
QString DecodeHexText(const QString& text);

// Two hex words, low word first: the decimal text of the 32-bit number.
QString DecodeHexNumber(const QString& text);

// FirmwareVersion and TalonVersion from VersionReply.
void ParseVersionReply();
