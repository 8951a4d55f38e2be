#pragma once

// Qt's strings in a failed expectation read as text, line ends and TABs
// shown, instead of as a dump of their bytes. Included in every test.

#include <QByteArray>
#include <QString>
#include <ostream>

inline void PrintTo(const QByteArray& bytes, std::ostream* os) {
    *os << '"'
        << QByteArray(bytes).replace('\r', "\\r").replace('\n', "\\n").replace('\t', "\\t").toStdString()
        << '"';
}
inline void PrintTo(const QString& text, std::ostream* os) {
    PrintTo(text.toUtf8(), os);
}
