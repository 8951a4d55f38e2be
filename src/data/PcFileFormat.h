#pragma once

#include <QString>
#include <cstdint>

// Reading PC data files: what their header line says, and which viewer gets
// each later line.

// Kinds of data (LoadKind).
enum LoadKindCode : int16_t {
    LoadPower = 0,
    LoadEnergy = 1,          // energy without time stamps
    LoadEnergyWithTime = 2,  // energy with time stamps
    LoadNothing = 3,
};

// What a header line says. The kind words ("Power", "Energy", "Channel",
// "Time" and the energy flags) are looked for before the first "Head" only,
// so a head named, say, "Power Max" cannot change the kind of a file.
struct PcFileHeader {
    int16_t kind = LoadNothing;
    bool dual = false;
    QString headPart;   // "; " + the line from its first "Head", or ""
    QString headAPart;  // dual: the head part up to its "Head B", without the TAB and blank before it
    QString headBPart;  // dual: the head part from its "Head B"
    bool relativeUnits = false;          // energy in RP units
    bool missingPulseDetection = false;  // ",Missing Pulses Detection On,"
};
PcFileHeader ReadPcFileHeader(const QString& line);

// The base unit a power header names ("W", "Lx", "Fc", "A" or "V"; "W" when
// it names none). Single-channel: the long names up to the first "Head";
// dual-channel: the symbol between the first comma and "Channel".
QString UnitOfHeader(const QString& header, bool dual);

// Cuts a line at its first two TABs: `first` and `second` keep their TAB,
// `rest` is what follows the second. No TAB: all three empty; one TAB:
// `second` is the rest of the line and `rest` empty.
void SplitTabFields(const QString& line, QString& first, QString& second, QString& rest);

// The heads a dual-channel header names, from its head part; defaults where
// the text does not say.
struct DualHeads {
    QString aName = "DefaultA";
    QString aSerial = "; s/n 12345";
    QString bName = "DefaultB";
    QString bSerial = "; s/n 12345";
};
DualHeads HeadsOfDualHeader(const QString& headPart);

// The viewer (ViewerKindCode) that receives the lines of a data set of this
// kind, channel count and view mode (of the view-mode dialog); -1: none, the
// lines are dropped.
int16_t ReceivingViewer(int16_t kind, bool dual, int16_t viewMode);

// One data line routed: the viewer and the text it gets.
struct RoutedLine {
    int16_t viewer = -1;  // -1: dropped
    QString text;
};
RoutedLine RouteDataLine(const QString& line, int16_t kind, bool dual, int16_t viewMode);
