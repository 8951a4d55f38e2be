#include "data/FieldBytes.h"
#include "data/Parsing.h"
#include "data/PcFileFormat.h"
#include "state/AppState.h"
#include "support/SeparatorScope.h"

#include <gtest/gtest.h>

const QString kDualPower =
    "Power, W Channel A\t Channel B \t Time, in Seconds \t Head A: PS19; s/n 1234\t Head B: PE25; s/n 5678";

// The kind of each file a logging window saves: the round trip; its head part: the loader tests.
TEST(PcFileHeader, kindChannelsHeadPartsEnergyFlagsUnitAndDualHeadsComeFromTheHeaderLine) {
    // clang-format off
    const struct { QString line; int16_t kind; bool dual, relative, missing; QString head, headA, headB; } cases[] = {
        {"Energy, in RP-Units \t,Missing Pulses Detection On,\tHead: RP; s/n 7", 1, false, true, true, "; Head: RP; s/n 7", "", ""},
        {kDualPower, 0, true, false, false, "; Head A: PS19; s/n 1234\t Head B: PE25; s/n 5678", "; Head A: PS19; s/n 1234", "Head B: PE25; s/n 5678"},
        // A dual header that names no head B keeps its head part for A.
        {"Energy, J Channel A\t Channel B \t Head A: X; s/n 1", 1, true, false, false, "; Head A: X; s/n 1", "; Head A: X; s/n 1", ""},
        // Head names cannot change the kind.
        {"Energy, in Joules \t Head: Power Channel Time; s/n 5", 1, false, false, false, "; Head: Power Channel Time; s/n 5", "", ""},
        {"Wavelength, nm\tHead: X", 3, false, false, false, "; Head: X", "", ""}};
    // clang-format on
    for (const auto& c : cases) {
        const PcFileHeader h = ReadPcFileHeader(c.line);
        EXPECT_EQ(std::tuple(h.kind, h.dual, h.relativeUnits, h.missingPulseDetection),
                  std::tuple(c.kind, c.dual, c.relative, c.missing))
            << c.line.toStdString();
        EXPECT_EQ(std::tuple(h.headPart, h.headAPart, h.headBPart), std::tuple(c.head, c.headA, c.headB))
            << c.line.toStdString();
    }
    // The unit comes from the long name or the dual symbol.
    // clang-format off
    const std::tuple<QString, bool, QString> units[] = {
        {"Power, in Footcandles \t Time, in Seconds \t Head: PH1", false, "Fc"},
        {"Power, in Volts \t Time, in Seconds \t Head: PD1", false, "V"},
        {"Power, in Lux \t Time, in Seconds \t", false, "W"},  // no "Head": nothing looked at
        {"Power, in Kelvin \t Head: Volts", false, "W"},       // after "Head" is the head's name
        {kDualPower, true, "W"}, {"Power, Lx Channel A\t Channel B ", true, "Lx"}, {"Power, V Channel A", true, "V"},
        {"Power Lx Channel A", true, "W"} /* no comma */, {"Channel A, Lx", true, "W"} /* "Channel" first */};
    // clang-format on
    for (const auto& [header, dual, unit] : units)
        EXPECT_EQ(UnitOfHeader(header, dual), unit) << header.toStdString();
    // The dual heads come from the head part, with defaults where it stops.
    // clang-format off
    const struct { QString text, aName, aSerial, bName, bSerial; } heads[] = {
        {"; Head A: PS19 ; s/n 1234 \t Head B: PE25; s/n 5678 ", "PS19", "; s/n 1234", "PE25", "; s/n 5678"},
        {"; Head A: PS19; s/n 1234", "PS19", "; s/n 12345", "DefaultB", "; s/n 12345"},  // no TAB
        {"; Head A: PS19", "DefaultA", "; s/n 12345", "DefaultB", "; s/n 12345"},
        {"", "DefaultA", "; s/n 12345", "DefaultB", "; s/n 12345"}};
    // clang-format on
    for (const auto& c : heads) {
        const DualHeads h = HeadsOfDualHeader(c.text);
        EXPECT_EQ(std::tuple(h.aName, h.aSerial, h.bName, h.bSerial),
                  std::tuple(c.aName, c.aSerial, c.bName, c.bSerial))
            << c.text.toStdString();
    }
}

// The pieces come from cutting the line at its first two TABs, which they keep (power pairs: loader tests).
TEST(PcFileLines, everyDataLineGoesToTheViewerOfItsKindAndViewMode) {
    const QString power = "0.0012            \t0.0034            \t1.50";
    const QString energy = "0.0012            \t0.0034            \t";
    const QString timed = "0.0012            \t0.0034            \t2.25";
    const QString single = "0.0012            \t1.50";
    // clang-format off
    const struct { QString line; int16_t kind; bool dual; int16_t mode, viewer; QString text; } cases[] = {
        {single, 0, false, -1, ViewPower, single}, {single, 0, false, 2, ViewPower, single},
        {"0.0012", 1, false, -1, ViewEnergy, "0.0012"}, {single, 2, false, -1, ViewEnergy, "0.0012            \t"},
        {energy, 1, true, 0, ViewEnergy, "0.0012            \t"}, {timed, 2, true, 1, ViewEnergy, "0.0034            \t"},
        {timed, 2, true, 2, ViewEnergyRatio, "0.0012            \t0.0034            \t"},
        {"1\t2", 0, true, 1, ViewPower, "2"},    // one TAB: the rest is the second piece
        {"0.25", 2, false, -1, ViewEnergy, ""},  // no TAB: no pieces
        {energy, 1, true, 3, -1, ""},            // no difference of energies
        {power, 0, true, -1, -1, ""},            // the dialog was cancelled
        {single, 3, false, 0, -1, ""}};
    // clang-format on
    for (const auto& c : cases) {
        const RoutedLine r = RouteDataLine(c.line, c.kind, c.dual, c.mode);
        EXPECT_EQ(std::tuple(r.viewer, r.text), std::tuple(c.viewer, c.text))
            << "kind " << c.kind << " dual " << c.dual << " mode " << c.mode;
    }
}

TEST(FileNumbers, commaAndPointDecimalsReadTheSameUnderEitherLocale) {
    // clang-format off
    const struct { QString text; bool ok; double value; } cases[] = {
        {"0.0012            ", true, 0.0012}, {"0,0012            ", true, 0.0012}, {"1,5E-05", true, 1.5e-05},
        {"3,402823E+38", true, 3.402823e38}, {"-9876", true, -9876}, {"1e-400", true, 0}, {"1,234.5", false, 0},
        {"1.2.3", false, 0}, {"1.5 W", false, 0}, {"Overrange", false, 0}, {"", false, 0}, {"1e400", false, 0},
        {"\v +1.5e+2\t\f", true, 150}, {"-.5", true, -0.5}, {"\u00a02", true, 2}, {"0\u066b25", true, 0.25},
        {"+-1", false, 0}, {"1e", false, 0}, {"1e5.3", false, 0}, {"1\u066b2,3", false, 0}, {"nan", false, 0}};
    // clang-format on
    for (const char* separator : {",", "."}) {
        SeparatorScope scope(separator);
        for (const auto& c : cases) {
            double value = 99;
            EXPECT_EQ(ParseFileNumber(c.text, value), c.ok) << c.text.toStdString() << " under " << separator;
            EXPECT_DOUBLE_EQ(value, c.ok ? c.value : 99) << c.text.toStdString();
            // Read from the bytes: the same, or left to the text reading.
            double fromBytes = 99;
            const FieldRead read = ReadFieldNumber(c.text.toUtf8().toStdString(), fromBytes);
            if (read != FieldRead::AskText) {
                EXPECT_EQ(read == FieldRead::Number, c.ok) << c.text.toStdString();
            }
            EXPECT_DOUBLE_EQ(fromBytes, read == FieldRead::Number ? c.value : 99) << c.text.toStdString();
        }
    }
}
