// Numbers of data files and meter replies. Any text: a number read from it
// is finite, and a field that is not a number leaves the value alone. A
// double written in full, with "." or "," and blanks or TABs around it, and
// a single written as a data line both read back to the same number.
//
// Input: 8 bytes of a double, a style byte, 4 bytes of a single, then the
// text read as a field and as a reply.

#include "data/LogLines.h"
#include "data/Overrange.h"
#include "data/Parsing.h"
#include "fuzz/PureTarget.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzBytes in(data, size);

    const double written = in.Raw<double>();
    const uint8_t style = in.Byte();
    if (std::isnormal(written) || written == 0) {
        QString text = QString::number(written, 'g', 17);
        if (style & 1) text.replace(QLatin1Char('.'), QLatin1Char(','));
        if (style & 2) text = QStringLiteral(" \t") + text + QStringLiteral("\t ");
        if (style & 4) text = text.toUpper();
        double back = 0;
        Require(ParseFileNumber(text, back) && back == written);
        double reply = 0;
        if (!(style & 1)) Require(TryParseNumber(text, reply) && reply == written);
    }

    const float single = in.Raw<float>();
    if (std::isfinite(single)) {
        const QString line = FormatLogLine(single, 1.5, style & 8);
        const QString field = line.section(QLatin1Char('\t'), 0, 0);
        Require(field.size() >= 18 && line.contains(QLatin1Char('\t')));
        if (IsOverrange(single)) {
            Require(field.trimmed() == QLatin1String("Overrange"));
        } else {
            double back = 0;
            Require(ParseFileNumber(field, back) && float(back) == single);
        }
    }

    const QString text = in.Rest();
    const double untouched = 12345.5;
    double value = untouched;
    if (ParseFileNumber(text, value))
        Require(std::isfinite(value));
    else
        Require(value == untouched);
    value = untouched;
    if (TryParseNumber(text, value))
        Require(std::isfinite(value));
    else
        Require(value == untouched);
    if (ParseReading(text, value)) Require(std::isfinite(value));
    return 0;
}
