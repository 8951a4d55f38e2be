#include "data/NumberFormat.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

QString SingleText(float value) {
    if (std::isnan(value)) return QStringLiteral("NaN");
    if (std::isinf(value)) return value < 0 ? QStringLiteral("-Inf") : QStringLiteral("Inf");
    if (value == 0) return QStringLiteral("0");

    // Shortest digits that read back to the same single: d[.ddd]e±xx.
    char sci[32];
    const auto res =
        std::to_chars(sci, sci + sizeof sci - 1, std::fabs(value), std::chars_format::scientific);
    *res.ptr = '\0';
    const char* e = std::strchr(sci, 'e');
    const int exponent = std::atoi(e + 1);
    char digits[16];
    int n = 0;
    for (const char* p = sci; p < e; ++p)
        if (*p != '.') digits[n++] = *p;
    while (n > 1 && digits[n - 1] == '0') --n;

    // Built with '.' and given the locale's separator at the end.
    char out[48];
    int o = 0;
    if (value < 0) out[o++] = '-';
    if (exponent >= -4 && exponent <= 14) {
        if (exponent < 0) {
            out[o++] = '0';
            out[o++] = '.';
            for (int z = 0; z < -exponent - 1; ++z) out[o++] = '0';
            for (int k = 0; k < n; ++k) out[o++] = digits[k];
        } else {
            for (int k = 0; k <= exponent || k < n; ++k) {
                if (k == exponent + 1) out[o++] = '.';
                out[o++] = k < n ? digits[k] : '0';
            }
        }
    } else {
        out[o++] = digits[0];
        if (n > 1) out[o++] = '.';
        for (int k = 1; k < n; ++k) out[o++] = digits[k];
        out[o++] = 'E';
        out[o++] = exponent < 0 ? '-' : '+';
        const int a = std::abs(exponent);
        if (a >= 10)
            out[o++] = static_cast<char>('0' + a / 10);
        else
            out[o++] = '0';
        out[o++] = static_cast<char>('0' + a % 10);
    }
    QString text = QString::fromLatin1(out, o);
    const QString sep = DecimalSeparator();
    if (sep != QLatin1String(".")) text.replace(QLatin1Char('.'), sep);
    return text;
}
