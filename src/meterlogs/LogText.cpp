#include "meterlogs/LogText.h"

#include <algorithm>

#include "data/NumberFormat.h"

#include <cmath>

QString FirstWord(const QString& text) {
    if (text.isEmpty() || text == QLatin1String("\r")) return QString();
    const qsizetype blank = text.indexOf(QLatin1Char(' '));
    return blank < 0 ? text : text.left(blank + 1);
}

bool TryParseWhole(const QString& text, int32_t& value) {
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    if (ok) value = v;
    return ok;
}

QString FitTextToWidth(const QString& text, int width) {
    return text.trimmed().leftJustified(width, QLatin1Char(' '), true);
}

DescriptionFields CutDescription(const QString& text) {
    DescriptionFields f;
    f.fill(QStringLiteral("NONE"));
    const qsizetype n = text.size();
    qsizetype pos = 0;
    for (int i = 0; i < kDescriptionFields && pos < n; ++i) {
        if (i == 8 || i == 11) {
            f[size_t(i)] = text.mid(pos, 12);
            pos += 13;
            continue;
        }
        while (pos < n && text[pos] == QLatin1Char(' ')) ++pos;
        if (pos >= n) break;
        qsizetype end = text.indexOf(QLatin1Char(' '), pos);
        if (end < 0) end = n;
        f[size_t(i)] = text.mid(pos, end - pos);
        pos = end + 1;
    }
    return f;
}

QString LogTypeText(const QString& unitField) {
    if (unitField.contains(QLatin1Char('J'))) return QStringLiteral("Energy");
    if (unitField.contains(QLatin1Char('_'))) return QStringLiteral("RP-Units");
    return QStringLiteral("Power");
}

QString LogFileName(int fileIndex) {
    return fileIndex == 0 ? QStringLiteral("Temp") : QString::number(fileIndex);
}

QString SelectionLine(const QStringList& columns) {
    static constexpr int kWidths[] = {10, 15, 20, 30, 20};
    QString line;
    for (int i = 0; i < 5; ++i) line += FitTextToWidth(columns.value(i), kWidths[i]);
    return line;
}

QString LogListLine(int fileIndex, const DescriptionFields& f) {
    const QString name = LogFileName(fileIndex);
    const QString type = LogTypeText(f[5]);
    if (f[11].contains(QStringLiteral("NONE"))) return SelectionLine({name, f[3], type, f[8], f[10]});
    int32_t size = 0;
    TryParseWhole(f[3], size);
    return SelectionLine(
        {name, SingleText(float(size) / 2.0f), type, QStringLiteral("Dual-Channel"), QStringLiteral("---")});
}

QString UnitFromSymbolText(const QString& text) {
    static const std::pair<QLatin1Char, const char*> kUnits[] = {{QLatin1Char('W'), "W"},
                                                                 {QLatin1Char('l'), "Lx"},
                                                                 {QLatin1Char('c'), "Fc"},
                                                                 {QLatin1Char('A'), "A"},
                                                                 {QLatin1Char('V'), "V"}};
    for (const auto& [letter, unit] : kUnits)
        if (text.contains(letter)) return QString::fromLatin1(unit);
    return QStringLiteral("W");
}

QString ReadingText(int32_t mantissa, int16_t exponentCode) {
    return QString::number(mantissa) + QLatin1Char('E') + QString::number(int(exponentCode) - 3);
}

bool MeridelReadingText(const QString& word, int16_t exponentCode, int32_t overrangeCount, QString& text) {
    if (word.size() != 6 || (word[0] != QLatin1Char('+') && word[0] != QLatin1Char('-'))) return false;
    for (qsizetype i = 1; i < 6; ++i)
        if (word[i] < QLatin1Char('0') || word[i] > QLatin1Char('9')) return false;
    const int32_t m = word.toInt();
    if (m == -9876)
        text = QStringLiteral("-9876");
    else if (overrangeCount > 0 && m >= overrangeCount)
        text = QStringLiteral("Overrange");
    else
        text = ReadingText(m, exponentCode);
    return true;
}

int32_t BlocksFor(int32_t readings) {
    // Not (readings + 9) / 10: that overflows near the largest count.
    return readings <= 0 ? 0 : readings / 10 + (readings % 10 != 0 ? 1 : 0);
}

int32_t OverrangeCount(int32_t fullScale) {
    return int32_t(std::min(std::lround(double(fullScale) * 1.1), long(INT32_MAX)));
}

QString PowerLine(const QString& reading, int32_t readingNumber, float sampleInterval) {
    return reading + QStringLiteral("  ") + SingleText(float(double(readingNumber) * double(sampleInterval)));
}
