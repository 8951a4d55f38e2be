#include "data/NumberFormat.h"

#include <QLocale>
#include <QVarLengthArray>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

namespace {

QString g_separator;  // the override, or the system locale's once read
bool g_separatorKnown = false;

// |value| as decimal digits rounded half away from zero to `decimals`
// places: integer digits without leading zeros (possibly empty) and exactly
// `decimals` fraction digits. Works from the 15-significant-digit form.
void RoundedDigits(double magnitude, int decimals, std::string& integer, std::string& fraction) {
    integer.clear();
    fraction.assign(static_cast<size_t>(decimals), '0');
    if (magnitude == 0) return;

    char buf[40];
    auto res = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific, 14);
    *res.ptr = '\0';           // d.dddddddddddddde+XX
    std::string digits = "0";  // room for a carry out of the first digit
    digits += buf[0];
    digits.append(buf + 2, 14);
    int exponent = std::atoi(buf + 17);
    int point = exponent + 2;  // digits before the decimal point

    long keep = static_cast<long>(point) + decimals;
    if (keep <= 0) return;  // everything rounds away (the first digit is the carry room)
    if (keep < static_cast<long>(digits.size())) {
        bool up = digits[static_cast<size_t>(keep)] >= '5';
        digits.resize(static_cast<size_t>(keep));
        for (long i = keep - 1; up && i >= 0; --i) {
            char& d = digits[static_cast<size_t>(i)];
            if (d == '9') {
                d = '0';
            } else {
                ++d;
                up = false;
            }
        }
    } else {
        digits.append(static_cast<size_t>(keep) - digits.size(), '0');
    }

    if (point > 0) {
        integer = digits.substr(0, static_cast<size_t>(point));
        fraction = digits.substr(static_cast<size_t>(point));
    } else {
        fraction = std::string(static_cast<size_t>(-point), '0') + digits;
        fraction.resize(static_cast<size_t>(decimals));
    }
    size_t first = integer.find_first_not_of('0');
    integer.erase(0, first == std::string::npos ? integer.size() : first);
}

bool IsPlaceholder(QChar c) {
    return c == QLatin1Char('0') || c == QLatin1Char('#');
}

}  // namespace

QString DecimalSeparator() {
    if (!g_separatorKnown) {
        g_separator = QLocale().decimalPoint();
        g_separatorKnown = true;
    }
    return g_separator;
}

void SetDecimalSeparator(const QString& separator) {
    g_separator = separator;
    g_separatorKnown = !separator.isEmpty();
}

double RoundDecimals(double value, int decimals) {
    if (!std::isfinite(value)) return value;
    if (decimals < 0) decimals = 0;
    if (decimals > 15) decimals = 15;
    std::string integer, fraction;
    RoundedDigits(std::fabs(value), decimals, integer, fraction);
    std::string text = (integer.empty() ? std::string("0") : integer) + "." + fraction + "0";
    double r = 0;
    std::from_chars(text.data(), text.data() + text.size(), r);  // locale-free
    return value < 0 ? -r : r;
}

QString FormatNumber(double value, const QString& pattern) {
    if (std::isnan(value)) return QStringLiteral("NaN");
    if (std::isinf(value)) return value < 0 ? QStringLiteral("-Inf") : QStringLiteral("Inf");

    const int dot = pattern.indexOf(QLatin1Char('.'));
    const QStringView intPart = dot < 0 ? QStringView(pattern) : QStringView(pattern).left(dot);
    const QStringView fracPart = dot < 0 ? QStringView() : QStringView(pattern).mid(dot + 1);

    int decimals = 0;
    for (QChar c : fracPart)
        if (IsPlaceholder(c)) ++decimals;
    int intSlots = 0;
    for (QChar c : intPart)
        if (IsPlaceholder(c)) ++intSlots;
    if (intSlots == 0 && dot < 0) return pattern;

    std::string integer, fraction;
    RoundedDigits(std::fabs(value), decimals, integer, fraction);
    const bool nonZero = integer.find_first_not_of('0') != std::string::npos ||
                         fraction.find_first_not_of('0') != std::string::npos;

    // Integer section, right to left: digits fill the placeholders; digits
    // beyond the placeholders all go where the first placeholder stands.
    QVarLengthArray<QChar, 48> head;
    int remaining = static_cast<int>(integer.size());
    int slot = intSlots;
    for (int i = intPart.size() - 1; i >= 0; --i) {
        const QChar c = intPart[i];
        if (!IsPlaceholder(c)) {
            head.append(c);
        } else if (--slot == 0 && remaining > 0) {
            while (remaining > 0) head.append(QLatin1Char(integer[static_cast<size_t>(--remaining)]));
        } else if (remaining > 0) {
            head.append(QLatin1Char(integer[static_cast<size_t>(--remaining)]));
        } else if (c == QLatin1Char('0')) {
            head.append(QLatin1Char('0'));
        }
    }
    if (intSlots == 0)  // a pattern like ".00" still shows the integer digits
        for (int k = 0; k < remaining; ++k)
            head.insert(head.cbegin(), QLatin1Char(integer[static_cast<size_t>(k)]));

    QString result;
    result.reserve(head.size() + fracPart.size() + 4);
    if (value < 0 && nonZero) result.append(QLatin1Char('-'));
    for (auto it = head.crbegin(); it != head.crend(); ++it) result.append(*it);
    if (dot < 0) return result;

    // Fraction section, left to right; "#" drops trailing zeros up to the
    // last "0" placeholder or non-zero digit.
    int lastShown = -1;
    int k = 0;
    for (QChar c : fracPart) {
        if (!IsPlaceholder(c)) continue;
        if (c == QLatin1Char('0') || fraction[static_cast<size_t>(k)] != '0') lastShown = k;
        ++k;
    }
    result.append(DecimalSeparator());
    k = 0;
    for (QChar c : fracPart) {
        if (!IsPlaceholder(c)) {
            result.append(c);
            continue;
        }
        if (k <= lastShown) result.append(QLatin1Char(fraction[static_cast<size_t>(k)]));
        ++k;
    }
    return result;
}
