#include "data/NumberFormat.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

QString SingleText(float value) {
    if (std::isnan(value)) return QStringLiteral("NaN");
    if (std::isinf(value)) return value < 0 ? QStringLiteral("-Inf") : QStringLiteral("Inf");
    if (value == 0) return QStringLiteral("0");

    // Shortest digits that read back to the same single.
    char buf[32];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific);
    std::string text(buf, res.ptr);
    bool negative = text[0] == '-';
    if (negative) text.erase(0, 1);
    size_t e = text.find('e');
    int exponent = std::atoi(text.c_str() + e + 1);
    std::string digits;
    for (size_t i = 0; i < e; ++i)
        if (text[i] != '.') digits += text[i];
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    const int n = static_cast<int>(digits.size());
    const QString sep = DecimalSeparator();

    QString out;
    if (negative) out += QLatin1Char('-');
    if (exponent >= -4 && exponent <= 14) {
        if (exponent < 0) {
            out += QLatin1Char('0') + sep + QString(-exponent - 1, QLatin1Char('0')) + QString::fromStdString(digits);
        } else if (exponent >= n - 1) {
            out += QString::fromStdString(digits) + QString(exponent - (n - 1), QLatin1Char('0'));
        } else {
            out += QString::fromLatin1(digits.data(), exponent + 1) + sep +
                   QString::fromLatin1(digits.data() + exponent + 1, n - exponent - 1);
        }
    } else {
        out += QLatin1Char(digits[0]);
        if (n > 1) out += sep + QString::fromLatin1(digits.data() + 1, n - 1);
        out += exponent < 0 ? QStringLiteral("E-") : QStringLiteral("E+");
        int a = std::abs(exponent);
        if (a < 10) out += QLatin1Char('0');
        out += QString::number(a);
    }
    return out;
}
