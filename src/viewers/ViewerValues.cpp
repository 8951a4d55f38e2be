#include "viewers/ViewerValues.h"

#include "data/DataFileSave.h"
#include "data/NumberFormat.h"
#include "data/Parsing.h"
#include "platform/Prompts.h"

#include <cfloat>
#include <charconv>
#include <cmath>

bool IsMissedText(const QString& text) {
    return text.trimmed() == QLatin1String("Missed") || text.contains(QLatin1String("-9876"));
}

double FieldNumber(const QString& field, const char* what) {
    double value = 0;
    if (!ParseFileNumber(field, value))
        throw DataFileError(QStringLiteral("%1 \"%2\" is not a number").arg(what, field.trimmed().left(40)));
    return value;
}

void RequireSingle(double value, const QString& text) {
    if (!(std::fabs(value) <= FLT_MAX))
        throw DataFileError(QStringLiteral("\"%1\" is beyond a single").arg(text.trimmed().left(40)));
}

QString DoubleText(double value) {
    if (!std::isfinite(value)) return std::isnan(value) ? QStringLiteral("NaN") : SingleText(float(value));
    if (value == 0) return QStringLiteral("0");
    char buf[40];
    const double a = std::fabs(value);
    const bool plain = a >= 1e-4 && a < 1e15;
    const auto res = std::to_chars(buf, buf + sizeof buf, value,
                                   plain ? std::chars_format::fixed : std::chars_format::scientific);
    QString text = QString::fromLatin1(buf, int(res.ptr - buf));
    if (!plain) {
        // 1.5e-07 -> 1.5E-07, as the single texts read.
        const int e = int(text.indexOf(QLatin1Char('e')));
        const int exponent = text.mid(e + 1).toInt();
        text = text.left(e) + (exponent < 0 ? QStringLiteral("E-") : QStringLiteral("E+")) +
               QStringLiteral("%1").arg(std::abs(exponent), 2, 10, QLatin1Char('0'));
    }
    const QString sep = DecimalSeparator();
    if (sep != QLatin1String(".")) text.replace(QLatin1Char('.'), sep);
    return text;
}

QString HeadPartOf(const QString& caption) {
    const int at = int(caption.indexOf(QLatin1String("Head")));
    return at < 0 ? QString() : caption.mid(at);
}

bool RefuseIncomplete(bool incomplete) {
    if (!incomplete) return false;
    platform::prompts().Message(QStringLiteral("The data file was not loaded completely: this window holds "
                                               "only part of it. Open the file again before saving or "
                                               "printing it."),
                                QStringLiteral("Incomplete data"), platform::Icon::Exclamation);
    return true;
}
