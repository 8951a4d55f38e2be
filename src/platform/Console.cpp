#include "platform/Console.h"

#include <QCommandLineParser>

#include <cstdio>

#ifdef Q_OS_UNIX
#include <unistd.h>
#include <csignal>
#endif

namespace platform {

QString CommandHelpText(const QCommandLineParser& parser, const QString& command) {
    QString text = parser.helpText();
    // The first line is "Usage: <program> [options] ...": only the program is replaced.
    const qsizetype end = text.indexOf(QLatin1String(" [options]"));
    if (text.startsWith(QLatin1String("Usage: ")) && end > 0) text.replace(7, end - 7, command);
    return text;
}

void ConsolePrompts::Message(const QString& text, const QString&, Icon) {
    WriteStandardError(QStringLiteral("kelvaro32: ") + text + QLatin1Char('\n'));
}

bool StandardErrorIsTerminal() {
#ifdef Q_OS_UNIX
    return ::isatty(STDERR_FILENO) == 1;
#else
    return false;
#endif
}

void WriteStandardError(const QString& text) {
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

bool WriteStandardOutput(const QByteArray& bytes) {
    const bool all = std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) == size_t(bytes.size());
    return std::fflush(stdout) == 0 && all;
}

void WritesToClosedPipesFail() {
#ifdef Q_OS_UNIX
    std::signal(SIGPIPE, SIG_IGN);
#endif
}

}  // namespace platform
