#include "data/NumberFormat.h"

#include <QLocale>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>

namespace {

QString g_separator;  // empty: the system locale's

// |value| as decimal digits rounded half away from zero to `decimals`
// places: integer digits without leading zeros (possibly empty) and exactly
// `decimals` fraction digits. Works from the 15-significant-digit form.
void RoundedDigits(double magnitude, int decimals, std::string& integer, std::string& fraction) {
    integer.clear();
    fraction.assign(static_cast<size_t>(decimals), '0');
    if (magnitude == 0) return;

    char buf[40];
    std::snprintf(buf, sizeof buf, "%.14e", magnitude);  // d.dddddddddddddde+XX
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

bool IsPlaceholder(QChar c) { return c == QLatin1Char('0') || c == QLatin1Char('#'); }

}  // namespace

QString DecimalSeparator() {
    return g_separator.isEmpty() ? QLocale().decimalPoint() : g_separator;
}

void SetDecimalSeparator(const QString& separator) { g_separator = separator; }

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

    int dot = pattern.indexOf(QLatin1Char('.'));
    QStringView intPart = dot < 0 ? QStringView(pattern) : QStringView(pattern).left(dot);
    QStringView fracPart = dot < 0 ? QStringView() : QStringView(pattern).mid(dot + 1);

    int decimals = 0;
    for (QChar c : fracPart)
        if (IsPlaceholder(c)) ++decimals;
    int intSlots = 0;
    for (QChar c : intPart)
        if (IsPlaceholder(c)) ++intSlots;
    if (intSlots == 0 && decimals == 0 && dot < 0) return pattern;

    std::string integer, fraction;
    RoundedDigits(std::fabs(value), decimals, integer, fraction);

    // Integer section: digits fill the placeholders from the right; digits
    // beyond the placeholders all go where the first placeholder stands.
    QString head;
    int remaining = static_cast<int>(integer.size());
    int slot = intSlots;
    for (int i = intPart.size() - 1; i >= 0; --i) {
        QChar c = intPart[i];
        if (!IsPlaceholder(c)) {
            head.prepend(c);
            continue;
        }
        --slot;
        if (slot == 0 && remaining > 0) {
            head.prepend(QString::fromLatin1(integer.data(), remaining));
            remaining = 0;
        } else if (remaining > 0) {
            head.prepend(QLatin1Char(integer[static_cast<size_t>(--remaining)]));
        } else if (c == QLatin1Char('0')) {
            head.prepend(QLatin1Char('0'));
        }
    }
    if (intSlots == 0 && remaining > 0) head.append(QString::fromLatin1(integer.data(), remaining));

    // Fraction section: digits from the left; "#" drops trailing zeros.
    QString tail;
    if (dot >= 0) {
        int lastShown = -1;  // index in `fraction` of the last digit to show
        int k = 0;
        for (QChar c : fracPart) {
            if (!IsPlaceholder(c)) continue;
            if (c == QLatin1Char('0') || fraction[static_cast<size_t>(k)] != '0') lastShown = k;
            ++k;
        }
        // A "0" placeholder forces every digit before it as well.
        k = 0;
        tail = DecimalSeparator();
        for (QChar c : fracPart) {
            if (!IsPlaceholder(c)) {
                tail.append(c);
                continue;
            }
            if (k <= lastShown) tail.append(QLatin1Char(fraction[static_cast<size_t>(k)]));
            ++k;
        }
    }

    bool nonZero = integer.find_first_not_of('0') != std::string::npos ||
                   fraction.find_first_not_of('0') != std::string::npos;
    QString result = head + tail;
    if (value < 0 && nonZero) result.prepend(QLatin1Char('-'));
    return result;
}
