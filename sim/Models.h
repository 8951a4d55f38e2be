#pragma once

#include "sim/Meter.h"

#include <QString>

namespace sim {

// What a model answers and which commands it knows.
struct ModelInfo {
    Model model;
    const char* name;         // command-line name
    const char* versionCode;  // text after "*" in the "VE" reply, before the firmware
    const char* firmware;     // default firmware text
    const char* korvenCode;   // "II" reply code; nullptr for other models
    int channels;
    bool headMemory;  // "RB" reads the head's memory
    bool logFiles;    // numbered logs "LF" 0..10
    bool singleLog;   // the one log of the first model
};

const ModelInfo& InfoOf(Model m);
// Model by its command-line name or DeviceType code; false when unknown.
bool ModelFromText(const QString& text, Model& out);
QStringList ModelNames();

// Two-letter code of a head type in "HT" replies ("TH", "PY", ...); "NO" for none.
QString HeadTypeCode(int type);
// Word the head's memory holds at its type address ("4854" for a thermopile).
quint16 HeadMemoryTypeWord(int type);
// Unit of a head when its spec leaves it empty: "J" for pyroelectric heads, "Lx" for photometers.
QString DefaultUnit(int type);
// The firmware of `cfg`, or its model's default.
QString FirmwareOf(const MeterConfig& cfg);
// Firmware text as a number (its leading number; 0 when none).
double FirmwareNumber(const QString& text);

}  // namespace sim
