#include "data/PcFileFormat.h"

#include "state/AppState.h"

namespace {

// The part of a header that tells its kind: what precedes the head names.
QString KindPart(const QString& line) {
    const int head = line.indexOf(QLatin1String("Head"));
    return head < 0 ? line : line.left(head);
}

}  // namespace

PcFileHeader ReadPcFileHeader(const QString& line) {
    PcFileHeader h;
    const int head = line.indexOf(QLatin1String("Head"));
    if (head >= 0) h.headPart = QStringLiteral("; ") + line.mid(head);
    const QString kind = KindPart(line);
    h.dual = kind.contains(QLatin1String("Channel"));
    if (kind.contains(QLatin1String("Power"))) {
        h.kind = LoadPower;
    } else if (kind.contains(QLatin1String("Energy"))) {
        h.kind = kind.contains(QLatin1String("Time")) ? LoadEnergyWithTime : LoadEnergy;
        h.relativeUnits = kind.contains(QLatin1String("RP-Units"));
        h.missingPulseDetection = kind.contains(QLatin1String(",Missing Pulses Detection On,"));
    }
    if (h.dual) {
        const int b = h.headPart.indexOf(QLatin1String("Head B"));
        // A header that names no head B keeps all of its head part for A.
        h.headAPart = b < 0 ? h.headPart : h.headPart.left(std::max(0, b - 2));
        h.headBPart = b < 0 ? QString() : h.headPart.mid(b);
    }
    return h;
}

QString UnitOfHeader(const QString& header, bool dual) {
    if (!dual) {
        const int head = header.indexOf(QLatin1String("Head"));
        if (head < 0) return QStringLiteral("W");
        const QString names = header.left(head + 4);
        static const char* const kLong[][2] = {
            {"Watts", "W"}, {"Lux", "Lx"}, {"Footcandles", "Fc"}, {"Amperes", "A"}, {"Volts", "V"}};
        for (const auto& [name, unit] : kLong)
            if (names.contains(QLatin1String(name))) return QLatin1String(unit);
        return QStringLiteral("W");
    }
    const int channel = header.indexOf(QLatin1String("Channel"));
    if (channel < 1) return QStringLiteral("W");
    const QString before = header.left(channel);
    const int comma = before.indexOf(QLatin1Char(','));
    if (comma < 0) return QStringLiteral("W");
    const QString symbol = before.mid(comma + 1);
    for (const char* unit : {"W", "Lx", "Fc", "A", "V"})
        if (symbol.contains(QLatin1String(unit))) return QLatin1String(unit);
    return QStringLiteral("W");
}

void SplitTabFields(const QString& line, QString& first, QString& second, QString& rest) {
    const int tab = line.indexOf(QLatin1Char('\t'));
    if (tab < 0) {
        first.clear();
        second.clear();
        rest.clear();
        return;
    }
    first = line.left(tab + 1);
    const int next = line.indexOf(QLatin1Char('\t'), tab + 1);
    if (next < 0) {
        second = line.mid(tab + 1);
        rest.clear();
    } else {
        second = line.mid(tab + 1, next - tab);
        rest = line.mid(next + 1);
    }
}

DualHeads HeadsOfDualHeader(const QString& text) {
    DualHeads h;
    // Head A: name after the first colon up to ";", serial after "s/n" up to the TAB.
    const int colon = text.indexOf(QLatin1Char(':'));
    const int nameEnd = colon < 0 ? -1 : text.indexOf(QLatin1Char(';'), colon + 1);
    if (nameEnd < 0) return h;
    h.aName = text.mid(colon + 1, nameEnd - colon - 1).trimmed();
    const int sn = text.indexOf(QLatin1String("s/n"), nameEnd);
    const int tab = sn < 0 ? -1 : text.indexOf(QLatin1Char('\t'), sn);
    if (tab < 0) return h;
    h.aSerial = QStringLiteral("; s/n ") + text.mid(sn + 3, tab - sn - 3).trimmed();
    // Head B, from its own label on.
    const int b = text.indexOf(QLatin1String("Head B"), tab);
    const int bColon = b < 0 ? -1 : text.indexOf(QLatin1Char(':'), b);
    const int bNameEnd = bColon < 0 ? -1 : text.indexOf(QLatin1Char(';'), bColon + 1);
    if (bNameEnd < 0) return h;
    h.bName = text.mid(bColon + 1, bNameEnd - bColon - 1).trimmed();
    const int bSn = text.indexOf(QLatin1String("s/n"), bNameEnd);
    if (bSn < 0) return h;
    h.bSerial = QStringLiteral("; s/n ") + text.mid(bSn + 3).trimmed();
    return h;
}

int16_t ReceivingViewer(int16_t kind, bool dual, int16_t viewMode) {
    const bool single = !dual || viewMode == 0 || viewMode == 1;
    if (kind == LoadPower) {
        if (single) return ViewPower;
        if (viewMode == 2) return ViewPowerRatio;
        if (viewMode == 3) return ViewPowerDifference;
    } else if (kind == LoadEnergy || kind == LoadEnergyWithTime) {
        if (single) return ViewEnergy;
        if (viewMode == 2) return ViewEnergyRatio;
    }
    return -1;
}

RoutedLine RouteDataLine(const QString& line, int16_t kind, bool dual, int16_t viewMode) {
    RoutedLine r{ReceivingViewer(kind, dual, viewMode), QString()};
    if (r.viewer < 0) return r;
    const bool withTime = kind == LoadEnergyWithTime;
    // Whole lines: single power and plain energy, and both ratio and difference of power.
    if ((!dual && !withTime) || (dual && viewMode >= 2 && (kind == LoadPower || !withTime))) {
        r.text = line;
        return r;
    }
    QString first, second, rest;
    SplitTabFields(line, first, second, rest);
    if (kind == LoadPower)
        r.text = (viewMode == 0 ? first : second) + rest;
    else if (!dual || viewMode == 0)
        r.text = first;  // energy time stamps stay behind
    else if (viewMode == 1)
        r.text = second;
    else
        r.text = first + second;
    return r;
}
