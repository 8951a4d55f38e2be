#pragma once

#include <QString>

// Number formatting with the small pattern language used throughout the
// program: "0" a digit always shown, "#" a digit shown only when
// significant, "." the decimal separator, every other character literal.
// Values are rounded half away from zero from their 15-significant-digit
// decimal form, so 1.005 with "0.00" gives 1.01 as it reads.
// Integer digits beyond the pattern's are all shown; a negative value gets
// a leading "-" unless it rounds to zero.
QString FormatNumber(double value, const QString& pattern);

// `value` rounded half away from zero to `decimals` places (0..15), the same
// rounding FormatNumber applies.
double RoundDecimals(double value, int decimals);

// The decimal separator of data files and displays: the system locale's
// unless overridden. An empty text restores the system locale's.
QString DecimalSeparator();
void SetDecimalSeparator(const QString& separator);

// Default text of a single: the shortest digits that read back to the same
// single (7 significant digits or fewer for every value that came from a
// 7-digit text; 8 or 9 only where 7 cannot reproduce the single). Plain
// form for 1E-4 <= |x| < 1E+15, otherwise exponent form like 1.234568E-05
// or 3.402823E+38. No trailing zeros, integers without a separator.
QString SingleText(float value);
