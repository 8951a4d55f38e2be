#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

// Texts of a log download: reply words, description fields, selection lines
// and the reading texts handed to the viewers. Pure functions.

inline constexpr int kDescriptionFields = 16;
using DescriptionFields = std::array<QString, kDescriptionFields>;

// The text up to and including its first blank; the whole text without a
// blank; "" for an empty text or a lone CR.
QString FirstWord(const QString& text);

// A whole number (32-bit) written alone, blanks around allowed.
bool TryParseWhole(const QString& text, int32_t& value);

// The trimmed text padded with blanks or cut to `width` character cells; the
// selection window shows it in a fixed-pitch font, so columns line up.
QString FitTextToWidth(const QString& text, int width);

// A description reply (first two characters and a closing CR already
// dropped) cut into its 16 fields: blank-separated words, except fields 8
// and 11, which take 12 characters and skip one blank. Missing fields read
// "NONE".
DescriptionFields CutDescription(const QString& text);

// "Energy" when the unit text holds "J", "RP-Units" for "_", else "Power".
QString LogTypeText(const QString& unitField);

// Name of a meter log file: "Temp" for file 0, else its number.
QString LogFileName(int fileIndex);

// One selection line: five columns of widths 10, 15, 20, 30 and 20.
QString SelectionLine(const QStringList& columns);

// The selection line of a described file.
QString LogListLine(int fileIndex, const DescriptionFields& fields);

// Base unit of a power log's unit text: "W", "Lx", "Fc", "A" or "V" by the
// first of "W", "l", "c", "A", "V" it contains (case matters); "W" otherwise.
QString UnitFromSymbolText(const QString& text);

// mantissa "E" (code - 3), for instance 1234E-3.
QString ReadingText(int32_t mantissa, int16_t exponentCode);

// One data word of a two-channel-family block: exactly a sign and five
// digits. False for anything else (the block is then bad). -9876 is a
// missed pulse ("-9876"); a mantissa at or above `overrangeCount` (when
// that is above 0) reads "Overrange".
bool MeridelReadingText(const QString& word, int16_t exponentCode, int32_t overrangeCount, QString& text);

// "LS" blocks of ten readings that hold `readings`: readings / 10, rounded
// up, for every count up to the largest (0 for none).
int32_t BlocksFor(int32_t readings);

// 110 % of a full-scale count, to the nearest whole number (at most the
// largest 32-bit count).
int32_t OverrangeCount(int32_t fullScale);

// A power reading as the viewers take it: reading text, two blanks, time.
QString PowerLine(const QString& reading, int32_t readingNumber, float sampleInterval);
