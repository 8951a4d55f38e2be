#pragma once

#include <QString>

// Trims `text` (the caller's variable takes the trimmed text) and pads it
// with blanks to `width`; a longer text comes back unchanged.
QString PadRight(QString& text, int width);

// Data line of one-channel power: value padded to 18, TAB, and the time
// with "0.00" when `withTime`. Over-range values read "Overrange".
QString FormatLogLine(float value, double time, bool withTime);

// The same with two value fields (channel A, channel B).
QString FormatDualLogLine(float a, float b, double time, bool withTime);

// A reading with four significant digits ("0.000", "00.00", "000.0" or
// "0000" by the unformatted magnitude); the value is already scaled.
QString FormatFourDigits(double value);

// The decade of `value` for a mantissa shown with `decimals` places: one
// more where the rounded mantissa would read 10 (0.99999 gives 0, not -1).
int RoundedDecade(double value, int decimals);

// Mantissa "#0.00" with " E-03" / " E+04" decade, plain "#0.00" for decade 0,
// "0" for values that vanish at six decimals.
QString FormatScientific(double value);
