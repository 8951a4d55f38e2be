// Header and line routing of PC data files. A header of each form the
// program writes, with any head names, reads back as the kind and channel
// count it was written with, and its heads come back by name; every data
// line goes to the viewer the header and the view mode choose, channel A's
// field to the channel A view and channel B's to the channel B view. Any
// other header and line: no crash, and routing still agrees with the header.
//
// Input: the form byte, the view-mode byte, head A and head B names of up to
// 40 bytes, three fields of up to 20 bytes; the rest is a free header line.

#include "data/PcFileFormat.h"
#include "fuzz/PureTarget.h"
#include "state/AppState.h"

namespace {

struct Form {
    const char* text;  // up to and including the "Head" label
    int16_t kind;
    bool dual;
    bool relative;
    bool missingPulses;
};

const Form kForms[] = {
    {"Power, in Watts \t Time, in Seconds \t Head: ", LoadPower, false, false, false},
    {"Power, in Footcandles \t Time, in Seconds \tHead: ", LoadPower, false, false, false},
    {"Energy, in Joules \t Head: ", LoadEnergy, false, false, false},
    {"Energy, in RP-Units \tTime, in Seconds\t Head: ", LoadEnergyWithTime, false, true, false},
    {"Energy, in Joules \t,Missing Pulses Detection On,\tHead: ", LoadEnergy, false, false, true},
    {"Power, Lx Channel A\t Channel B \t Time, in Seconds \t Head A: ", LoadPower, true, false, false},
    {"Energy, J Channel A\t Channel B \t Head A: ", LoadEnergy, true, false, false},
    {"Energy, J Channel A\t Channel B \t Time, Seconds\t Head A: ", LoadEnergyWithTime, true, false, false},
};

// The viewer that shows a data set: one channel in the single views, the
// two together in the ratio and difference views (none for energy).
int16_t ExpectedViewer(int16_t kind, bool dual, int16_t viewMode) {
    const bool power = kind == LoadPower;
    if (!dual || viewMode == 0 || viewMode == 1) return power ? ViewPower : ViewEnergy;
    if (viewMode == 2) return power ? ViewPowerRatio : ViewEnergyRatio;
    if (viewMode == 3 && power) return ViewPowerDifference;
    return -1;
}

void CheckRouting(const PcFileHeader& h, const QString& line, int16_t viewMode) {
    const RoutedLine r = RouteDataLine(line, h.kind, h.dual, viewMode);
    Require(r.viewer == ReceivingViewer(h.kind, h.dual, viewMode));
    if (h.kind == LoadNothing) Require(r.viewer == -1);
    if (r.viewer < 0) Require(r.text.isEmpty());
    Require(r.text.size() <= line.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzBytes in(data, size);
    const Form& form = kForms[in.Byte() % std::size(kForms)];
    const int16_t viewMode = int16_t(in.Byte() % 5) - 1;
    const QString nameA = Without(in.Text(40), "\t\r\n");
    const QString nameB = Without(in.Text(40), "\t\r\n");
    const QString a = Without(in.Text(20), "\t"), b = Without(in.Text(20), "\t"),
                  t = Without(in.Text(20), "\t");

    QString header = QLatin1String(form.text) + nameA + QStringLiteral("; s/n 1234");
    if (form.dual) header += QStringLiteral("\t Head B: ") + nameB + QStringLiteral("; s/n 5678");
    const PcFileHeader h = ReadPcFileHeader(header);
    Require(h.kind == form.kind && h.dual == form.dual);
    if (form.kind != LoadPower)
        Require(h.relativeUnits == form.relative && h.missingPulseDetection == form.missingPulses);
    Require(h.headPart.startsWith(QLatin1String("; ")) && h.headPart.contains(nameA));

    const QString names = nameA + QLatin1Char('|') + nameB;
    const bool plainNames = !names.contains(QLatin1Char(':')) && !names.contains(QLatin1Char(';')) &&
                            !names.contains(QLatin1String("s/n")) && !names.contains(QLatin1String("Head B"));
    if (form.dual && plainNames) {
        const DualHeads heads = HeadsOfDualHeader(h.headPart);
        Require(heads.aName == nameA.trimmed() && heads.bName == nameB.trimmed());
        Require(heads.aSerial == QLatin1String("; s/n 1234") && heads.bSerial == QLatin1String("; s/n 5678"));
    }

    // A data line as the logging windows write it.
    const bool withTime = form.kind != LoadEnergy;
    QString line = a + QLatin1Char('\t');
    if (form.dual) line += b + QLatin1Char('\t');
    if (withTime) line += t;
    const RoutedLine r = RouteDataLine(line, h.kind, h.dual, viewMode);
    Require(r.viewer == ExpectedViewer(form.kind, form.dual, viewMode));
    const QString time = form.kind == LoadPower ? t : QString();
    if (form.dual && viewMode == 0) Require(r.text == a + QLatin1Char('\t') + time);
    if (form.dual && viewMode == 1) Require(r.text == b + QLatin1Char('\t') + time);
    if (!form.dual) Require(r.text.startsWith(a + QLatin1Char('\t')));
    if (r.viewer == ViewPowerRatio || r.viewer == ViewPowerDifference || r.viewer == ViewEnergyRatio)
        Require(r.text.startsWith(a + QLatin1Char('\t') + b + QLatin1Char('\t')));

    // Any header and line.
    const QString free = in.Rest();
    const PcFileHeader any = ReadPcFileHeader(free);
    const bool kindWords = free.contains(QLatin1String("Power")) || free.contains(QLatin1String("Energy"));
    if (!kindWords) Require(any.kind == LoadNothing);
    const QString unit = UnitOfHeader(free, any.dual);
    Require(unit == QLatin1String("W") || unit == QLatin1String("Lx") || unit == QLatin1String("Fc") ||
            unit == QLatin1String("A") || unit == QLatin1String("V"));
    HeadsOfDualHeader(any.headPart);
    CheckRouting(any, free, viewMode);
    CheckRouting(h, free, viewMode);
    return 0;
}
