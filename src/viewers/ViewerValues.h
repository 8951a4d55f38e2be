#pragma once

#include <QString>

// How the energy viewers read and write the value texts of data files.

// The stored mark of a pulse the meter missed ("Missed" in files).
inline constexpr float kMissedPulse = -9876.0f;

// "Missed", or any text holding -9876.
bool IsMissedText(const QString& text);

// The leading number of a value text, read with either "," or "." as the
// decimal separator (a value field never holds a thousands separator); a
// text without a number gives 0. Throws DataFileError when the number is
// too large to hold.
double LeadingNumber(const QString& text);

// A channel field that must hold a number and nothing else (blanks and a
// closing TAB aside), with either separator. Throws DataFileError naming the
// field otherwise.
double FieldNumber(const QString& field, const char* channel);

// The default text of a double: the shortest digits that read back to it,
// exponent form like 1.5E-07 outside 1E-4 .. 1E+15, the locale's separator.
QString DoubleText(double value);

// The caption from its first "Head" to its end; empty when it has none.
QString HeadPartOf(const QString& caption);
