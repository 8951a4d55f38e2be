// Texts of a meter log download. A whole number written with blanks around
// reads back the same; a data word of sign and five digits reads as the
// number it holds (or the missed-pulse or over-range mark); a description
// always has its 16 fields; a selection column is exactly its width. Any
// text: no crash.
//
// Input: 4 bytes of a whole number, 4 of a mantissa, an exponent byte, 4 of
// a full-scale count, a width byte; the rest is a reply text.

#include "fuzz/PureTarget.h"
#include "meterlogs/LogText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzBytes in(data, size);

    const int32_t whole = in.Raw<int32_t>();
    int32_t back = 0;
    Require(TryParseWhole(QStringLiteral("  %1 ").arg(whole), back) && back == whole);

    const int32_t mantissa = in.Raw<int32_t>() % 100000;
    const int16_t exponentCode = in.Byte() % 16;
    const int32_t fullScale = in.Raw<int32_t>() % 100000;
    const QString word = (mantissa < 0 ? QStringLiteral("-") : QStringLiteral("+")) +
                         QStringLiteral("%1").arg(std::abs(mantissa), 5, 10, QLatin1Char('0'));
    const int32_t overrange = fullScale > 0 ? OverrangeCount(fullScale) : 0;
    QString reading;
    Require(MeridelReadingText(word, exponentCode, overrange, reading));
    if (mantissa == -9876)
        Require(reading == QLatin1String("-9876"));
    else if (overrange > 0 && mantissa >= overrange)
        Require(reading == QLatin1String("Overrange"));
    else
        Require(reading == QStringLiteral("%1E%2").arg(mantissa).arg(exponentCode - 3));

    const int width = in.Byte() % 40;
    const QString text = in.Rest();
    Require(FitTextToWidth(text, width).size() == width);
    const DescriptionFields fields = CutDescription(text);
    for (const QString& f : fields) Require(!f.isEmpty() && f.size() <= text.size() + 4);
    Require(LogListLine(0, fields).size() == 95);
    int32_t any = 7;
    if (!TryParseWhole(text, any)) Require(any == 7);
    QString anyReading;
    MeridelReadingText(text, exponentCode, overrange, anyReading);
    const QString unit = UnitFromSymbolText(text);
    Require(unit == QLatin1String("W") || unit == QLatin1String("Lx") || unit == QLatin1String("Fc") ||
            unit == QLatin1String("A") || unit == QLatin1String("V"));
    const QString first = FirstWord(text);
    Require(text.startsWith(first));
    return 0;
}
