#include "data/LogLines.h"

#include "data/Arithmetic.h"
#include "data/NumberFormat.h"
#include "data/Overrange.h"

#include <cmath>

namespace {

const QChar Tab(QLatin1Char('\t'));

QString ValueField(float value) {
    QString text = IsOverrange(value) ? QStringLiteral("Overrange") : SingleText(value);
    return PadRight(text, 18);
}

}  // namespace

QString PadRight(QString& text, int width) {
    text = text.trimmed();
    QString padded = text;
    if (width > padded.size()) padded.resize(width, QLatin1Char(' '));
    return padded;
}

QString FormatLogLine(float value, double time, bool withTime) {
    QString line = ValueField(value) + Tab;
    if (withTime) line += FormatNumber(time, QStringLiteral("0.00"));
    return line;
}

QString FormatDualLogLine(float a, float b, double time, bool withTime) {
    QString line = ValueField(a) + Tab + ValueField(b) + Tab;
    if (withTime) line += FormatNumber(time, QStringLiteral("0.00"));
    return line;
}

QString FormatFourDigits(double value) {
    const double a = std::fabs(value);
    if (a < 10) return FormatNumber(value, QStringLiteral("0.000"));
    if (a < 100) return FormatNumber(value, QStringLiteral("00.00"));
    if (a < 1000) return FormatNumber(value, QStringLiteral("000.0"));
    return FormatNumber(value, QStringLiteral("0000"));
}

int RoundedDecade(double value, int decimals) {
    const int e = DecadeExponent(value);
    return std::fabs(RoundDecimals(value / std::pow(10.0, e), decimals)) >= 10 ? e + 1 : e;
}

QString FormatScientific(double value) {
    if (RoundDecimals(value, 6) == 0) return QStringLiteral("0");
    const int e = RoundedDecade(value, 2);
    if (e == 0) return FormatNumber(value, QStringLiteral("#0.00"));
    const QString mantissa = FormatNumber(value / std::pow(10.0, e), QStringLiteral("#0.00"));
    if (e < 0) return mantissa + QStringLiteral(" E") + FormatNumber(e, QStringLiteral("00"));
    return mantissa + QStringLiteral(" E+") + FormatNumber(e, QStringLiteral("00"));
}
