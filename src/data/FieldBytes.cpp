#include "data/FieldBytes.h"

#include <charconv>
#include <system_error>
#include <utility>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// The Arabic decimal separator U+066B in UTF-8.
constexpr char kArabicSeparator[] = "\xD9\xAB";

}  // namespace

std::string_view TrimBlanks(std::string_view field) {
    while (!field.empty() && IsBlank(field.front())) field.remove_prefix(1);
    while (!field.empty() && IsBlank(field.back())) field.remove_suffix(1);
    return field;
}

bool ReadPlainNumber(const char*& at, const char* end, double& value) {
    double v = 0;
    const auto res = std::from_chars(at, end, v);
    if (res.ec != std::errc()) return false;
    // from_chars also takes exponents, "inf" and "nan": only digits, one
    // point and the leading minus are plain.
    bool point = false;
    for (const char* c = *at == '-' ? at + 1 : at; c < res.ptr; ++c)
        if (*c == '.' ? std::exchange(point, true) : (*c < '0' || *c > '9')) return false;
    value = v;
    at = res.ptr;
    return true;
}

FieldRead ReadFieldNumber(std::string_view field, double& value) {
    field = TrimBlanks(field);
    const char* at = field.data();
    if (double plain = 0;
        ReadPlainNumber(at, field.data() + field.size(), plain) && at == field.data() + field.size()) {
        value = plain;
        return FieldRead::Number;
    }
    // Our numbers are short: a field of hundreds of digits is left to the
    // text rules rather than copied here.
    constexpr size_t kMaxDigits = 120;
    if (field.size() > kMaxDigits) return FieldRead::AskText;
    char s[kMaxDigits];
    size_t n = 0;
    int separators = 0;
    bool digits = false, inExponent = false;
    for (size_t i = 0; i < field.size(); ++i) {
        const char c = field[i];
        if (c >= '0' && c <= '9') {
            digits = digits || !inExponent;
        } else if ((c == '.' || c == ',') && !inExponent) {
            if (++separators > 1) return FieldRead::NotNumber;
            s[n++] = '.';
            continue;
        } else if (field.substr(i, 2) == kArabicSeparator) {
            if (inExponent || ++separators > 1) return FieldRead::NotNumber;
            s[n++] = '.';
            ++i;
            continue;
        } else if (static_cast<unsigned char>(c) >= 0x80) {
            return FieldRead::AskText;  // a blank or letter beyond ASCII
        } else if ((c == 'e' || c == 'E') && digits && !inExponent) {
            inExponent = true;
        } else if (c == '+' || c == '-') {
            // A sign opens the number or its exponent.
            const bool opens = i == 0 || field[i - 1] == 'e' || field[i - 1] == 'E';
            if (!opens) return FieldRead::NotNumber;
            if (c == '+') continue;  // from_chars takes no plus
        } else {
            return FieldRead::NotNumber;
        }
        s[n++] = c;
    }
    if (!digits || s[n - 1] == 'e' || s[n - 1] == 'E' || s[n - 1] == '-') return FieldRead::NotNumber;
    double parsed = 0;
    const auto res = std::from_chars(s, s + n, parsed, std::chars_format::general);
    if (res.ptr != s + n) return FieldRead::NotNumber;
    if (res.ec == std::errc::result_out_of_range) {
        // Too small becomes 0; too large is no value.
        const std::string_view text(s, n);
        const size_t e = text.find_first_of("eE");
        if (e == std::string_view::npos || text[e + 1] != '-') return FieldRead::NotNumber;
        parsed = 0;
    } else if (res.ec != std::errc()) {
        return FieldRead::NotNumber;
    }
    value = parsed;
    return FieldRead::Number;
}
