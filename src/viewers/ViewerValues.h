#pragma once

#include <QString>

// How the viewers read and write the value texts of data files. A value
// field never holds a thousands separator, so "," and "." both read as the
// decimal separator whatever the locale.

// The stored mark of a pulse the meter missed ("Missed" in files).
inline constexpr float kMissedPulse = -9876.0f;

// "Missed", or any text holding -9876.
bool IsMissedText(const QString& text);

// A field that must hold a number and nothing else (blanks and TABs around
// it aside). Throws DataFileError naming the field (`what`) otherwise.
double FieldNumber(const QString& field, const char* what);

// Throws DataFileError when `value`, read from `text`, is beyond a single:
// the data was logged as singles, so it cannot be a reading of ours.
void RequireSingle(double value, const QString& text);

// The default text of a double: the shortest digits that read back to it,
// exponent form like 1.5E-07 outside 1E-4 .. 1E+15, the locale's separator.
QString DoubleText(double value);

// The caption from its first "Head" to its end; empty when it has none.
QString HeadPartOf(const QString& caption);

// A record whose load ended before its last line holds only part of its
// file: saving or printing it would pass that part off as the whole. Says
// so and returns true when `incomplete`.
bool RefuseIncomplete(bool incomplete);
