#pragma once

#include <QString>

// Leading-number conversion: skips leading blanks and tabs, reads the
// longest leading decimal number (sign, digits, decimal separator, exponent
// with optional sign) and ignores the rest. No number at all gives 0.
// The separator is "." (what the meter sends) or the current
// DecimalSeparator() (what our data files hold). Returns False, leaving
// `value` unchanged, when the number is too large for a double; numbers too
// small become 0.
bool TryParseNumber(const QString& text, double& value);

// A reading field: "OVER" gives OverrangeValue, anything else is a number.
bool ParseReading(const QString& text, double& value);

// Cuts a two-channel reply at its first blank (after leading blanks): `first`
// keeps the blank, `rest` is what follows. Without a blank both are "N".
void SplitAtFirstSpace(const QString& text, QString& first, QString& rest);

// A number field of a data file, as the viewers read it: the whole field,
// blanks and TABs around it allowed, must be one decimal number: an optional
// sign, digits with at most one decimal separator, and an optional exponent
// ("E" or "e", optional sign, digits). The separator may be any a locale
// gives ("." "," or the Arabic U+066B), whatever the user's locale, because a
// field never holds a thousands separator: files written under one locale
// read the same under another.
// Returns False, leaving `value` unchanged, for anything else (an empty
// field, "1,234.5", "Overrange", "inf", text after the number) and for a
// number too large for a double; numbers too small become 0.
bool ParseFileNumber(const QString& text, double& value);
