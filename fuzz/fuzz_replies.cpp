// Reply parsing of the identification. Two hex words of a 32-bit number
// read back as its decimal text; six hex words of a head name read back as
// the name; the status byte's rapid-pulse bit decides a rapid-pulse head; a
// head type reply names one of the six head types or none. Any reply: no
// crash.
//
// Input: 4 bytes of a number, 12 of a name, a status byte, a blank byte;
// the rest is a reply.

#include "data/Parsing.h"
#include "fuzz/PureTarget.h"
#include "link/HeadDetection.h"
#include "link/Identification.h"
#include "link/MeterModels.h"

namespace {

// Appends `digits` upper-case hex digits of `value`; the texts are built in
// plain buffers, as a QString per word would cost more than the parsing.
char* Hex(char* out, unsigned value, int digits) {
    for (int i = digits - 1; i >= 0; --i) *out++ = "0123456789ABCDEF"[(value >> (4 * i)) & 15];
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzBytes in(data, size);

    const uint32_t number = in.Raw<uint32_t>();
    char words[9];
    Hex(words, number & 0xFFFF, 4)[0] = ' ';
    Hex(words + 5, number >> 16, 4);
    Require(DecodeHexNumber(QString::fromLatin1(words, 9)) == QString::number(number));

    // Two characters per word, the first in the low byte; a NUL adds nothing.
    char text[30];
    char name[12];
    int named = 0;
    for (int w = 0; w < 6; ++w) {
        const uint8_t first = in.Byte(), second = in.Byte();
        Hex(Hex(text + 5 * w, second, 2), first, 2)[0] = ' ';
        if (first) name[named++] = char(first);
        if (second) name[named++] = char(second);
    }
    while (named > 0 && name[named - 1] == ' ') --named;
    Require(DecodeHexText(QString::fromLatin1(text, 30)) == QString::fromLatin1(name, named));

    const uint8_t status = in.Byte();
    char reply3[4] = {'*', 0, 0, '\r'};
    Hex(reply3 + 1, status, 2);
    Require(IsRapidPulseHead(QString::fromLatin1(reply3, 4)) == ((status & 16) != 0));
    const bool blank = in.Byte() & 1;

    const QString reply = in.Rest();
    HeadKind type = HeadKind(-1);
    QString unit;
    if (ParseHeadType(reply, type, unit))
        Require(type >= HeadKind::Thermopile && type <= HeadKind::Photometer && reply.endsWith(unit));
    else
        Require(type == HeadKind::None);
    IsRapidPulseHead(reply);
    DecodeHexText(reply);
    DecodeHexNumber(reply);
    const QString readingUnit = ReadingUnit(reply);
    Require(!readingUnit.isEmpty() && readingUnit.size() <= 2);
    for (auto table : {ProbeModelCodes(), KorvenModelCodes()})
        if (const auto code = FindCode(table, reply))
            Require(int(*code) >= 0 && int(*code) < kMeterModelCount);
    for (auto table : {HeadMemoryCodes(), HeadTypeReplyCodes()})
        if (const auto code = FindCode(table, reply)) Require(int(*code) >= 0 && int(*code) < kHeadKindCount);

    // A two-channel reply: the words on either side of the first blank after the leading ones.
    QString first, rest;
    SplitAtFirstSpace(blank ? QStringLiteral("  ") + reply : reply, first, rest);
    qsizetype lead = 0;
    while (lead < reply.size() && reply[lead] == QLatin1Char(' ')) ++lead;
    if (reply.indexOf(QLatin1Char(' '), lead) >= 0)
        Require(first.endsWith(QLatin1Char(' ')) && reply.mid(lead) == first + rest);
    else
        Require(first == QLatin1String("N") && rest == QLatin1String("N"));
    return 0;
}
