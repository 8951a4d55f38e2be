#include "data/Parsing.h"

#include "data/NumberFormat.h"
#include "data/Overrange.h"

#include <charconv>
#include <string>
#include <system_error>

namespace {

bool IsDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Every decimal separator a locale can give our writers: ".", "," and the
// Arabic one (ar_EG, fa_IR, ...).
bool IsDecimalSeparator(QChar c) {
    return c == QLatin1Char('.') || c == QLatin1Char(',') || c == QChar(0x066B);
}

}  // namespace

bool TryParseNumber(const QString& text, double& value) {
    const int size = text.size();
    int i = 0;
    while (i < size && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t'))) ++i;

    bool negative = false;
    if (i < size && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    std::string whole, fraction;
    while (i < size && IsDigit(text[i])) whole += static_cast<char>(text[i++].unicode());

    const QString sep = DecimalSeparator();
    int pointLength = 0;
    if (i < size && text[i] == QLatin1Char('.'))
        pointLength = 1;
    else if (!sep.isEmpty() && QStringView(text).mid(i).startsWith(sep))
        pointLength = sep.size();
    if (pointLength > 0) {
        int j = i + pointLength;
        while (j < size && IsDigit(text[j])) fraction += static_cast<char>(text[j++].unicode());
        i = j;
    }
    if (whole.empty() && fraction.empty()) {
        value = 0;  // no number at all
        return true;
    }

    // Exponent only when complete: "1.5E" and "1e+" stop before the E.
    long exponent = 0;
    if (i < size && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
        int j = i + 1;
        bool expNegative = false;
        if (j < size && (text[j] == QLatin1Char('+') || text[j] == QLatin1Char('-'))) {
            expNegative = text[j] == QLatin1Char('-');
            ++j;
        }
        if (j < size && IsDigit(text[j])) {
            while (j < size && IsDigit(text[j])) {
                if (exponent < 100000) exponent = exponent * 10 + (text[j].unicode() - '0');
                ++j;
            }
            if (expNegative) exponent = -exponent;
        }
    }

    size_t firstSignificant = whole.find_first_not_of('0');
    whole.erase(0, firstSignificant == std::string::npos ? whole.size() : firstSignificant);
    const bool allZero = whole.empty() && fraction.find_first_not_of('0') == std::string::npos;
    if (allZero) {
        value = 0;
        return true;
    }

    std::string canonical = (whole.empty() ? std::string("0") : whole) + "." +
                            (fraction.empty() ? std::string("0") : fraction) + "e" + std::to_string(exponent);
    double parsed = 0;
    auto res = std::from_chars(canonical.data(), canonical.data() + canonical.size(), parsed);
    if (res.ec == std::errc::result_out_of_range) {
        // Decimal position of the first significant digit decides which way.
        long magnitude = exponent;
        if (!whole.empty())
            magnitude += static_cast<long>(whole.size());
        else
            magnitude -= static_cast<long>(fraction.find_first_not_of('0'));
        if (magnitude > 0) return false;  // too large: value left as it was
        parsed = 0;
    } else if (res.ec != std::errc()) {
        return false;
    }
    value = negative && parsed != 0 ? -parsed : parsed;
    return true;
}

bool ParseReading(const QString& text, double& value) {
    const QString trimmed = text.trimmed();
    if (trimmed.startsWith(QLatin1String("OVER"))) {
        value = OverrangeValue;
        return true;
    }
    return TryParseNumber(trimmed, value);
}

bool ParseFileNumber(const QString& text, double& value) {
    const QString field = text.trimmed();
    std::string s;
    s.reserve(size_t(field.size()));
    int separators = 0;
    bool digits = false;
    bool inExponent = false;
    for (int i = 0; i < field.size(); ++i) {
        const QChar c = field[i];
        if (IsDigit(c)) {
            digits = digits || !inExponent;
        } else if (IsDecimalSeparator(c) && !inExponent) {
            if (++separators > 1) return false;
            s += '.';
            continue;
        } else if ((c == QLatin1Char('e') || c == QLatin1Char('E')) && digits && !inExponent) {
            inExponent = true;
        } else if (c == QLatin1Char('+') || c == QLatin1Char('-')) {
            // A sign opens the number or its exponent.
            const bool opens = i == 0 || field[i - 1] == QLatin1Char('e') || field[i - 1] == QLatin1Char('E');
            if (!opens) return false;
            if (c == QLatin1Char('+')) continue;  // from_chars takes no plus
        } else {
            return false;
        }
        s += char(c.unicode());
    }
    if (!digits || s.back() == 'e' || s.back() == 'E' || s.back() == '-') return false;
    double parsed = 0;
    const auto res = std::from_chars(s.data(), s.data() + s.size(), parsed, std::chars_format::general);
    if (res.ptr != s.data() + s.size()) return false;
    if (res.ec == std::errc::result_out_of_range) {
        // Too small becomes 0; too large is no value.
        const size_t e = s.find_first_of("eE");
        if (e == std::string::npos || s[e + 1] != '-') return false;
        parsed = 0;
    } else if (res.ec != std::errc()) {
        return false;
    }
    value = parsed;
    return true;
}

void SplitAtFirstSpace(const QString& text, QString& first, QString& rest) {
    int start = 0;
    while (start < text.size() && text[start] == QLatin1Char(' ')) ++start;
    const QString s = text.mid(start);
    const int p = s.indexOf(QLatin1Char(' '));
    if (p < 0) {
        first = QStringLiteral("N");
        rest = QStringLiteral("N");
        return;
    }
    first = s.left(p + 1);
    rest = s.mid(p + 1);
}
