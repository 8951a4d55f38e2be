#include "app/CommandLine.h"

#include "app/LogCommand.h"
#include "app/StabilityCommand.h"
#include "platform/Console.h"
#include "platform/PortTable.h"
#include "platform/ProgramFolder.h"
#include "state/RecentFiles.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>
#include <cstring>

namespace {
bool g_control = false;
}  // namespace

bool ControlSocketAsked() {
    return g_control;
}

std::optional<int> RunCommand(int argc, char** argv) {
    if (argc < 2) return std::nullopt;
    const bool stability = std::strcmp(argv[1], "stability") == 0;
    if (!stability && std::strcmp(argv[1], "log") != 0) return std::nullopt;
    QCoreApplication app(argc, argv);
    return stability ? RunStabilityCommand(QCoreApplication::arguments())
                     : RunLogCommand(QCoreApplication::arguments());
}

std::optional<int> ParseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Data interface for laser power and energy meters on a serial line."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the program's version and exit."));
    const QCommandLineOption port(
        QStringLiteral("port"),
        QStringLiteral("Use the serial device PATH for the configured COM port in this "
                       "run (for example /dev/serial/by-id/...). No file is changed."),
        QStringLiteral("PATH"));
    const QCommandLineOption control(
        QStringLiteral("control"),
        QStringLiteral("Open the control socket: one JSON request a line, for scripts of this user "
                       "(status, read, subscribe, unsubscribe, mode, start, stop, reset, save, command). "
                       "It is $XDG_RUNTIME_DIR/kelvaro32/control, else /tmp/kelvaro32-<uid>/control."));
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(port);
    parser.addOption(control);
    parser.addPositionalArgument(
        QStringLiteral("stability"),
        QStringLiteral("kelvaro32 stability FILE [--json] [--channel A|B|ratio|difference]: print the "
                       "stability figures of a saved file (see kelvaro32 stability --help)."),
        QStringLiteral("[stability FILE ...]"));
    parser.addPositionalArgument(
        QStringLiteral("log"),
        QStringLiteral("kelvaro32 log [--mode MODE] [--for DURATION | --count N] [--out FILE | --jsonl] "
                       "[--control]: log readings with no window (see kelvaro32 log --help)."),
        QStringLiteral("[log ...]"));

    const QString program = QStringLiteral("kelvaro32");
    if (!parser.parse(arguments)) {
        std::fprintf(stderr, "%s: %s\nTry '%s --help' for the options.\n", qPrintable(program),
                     qPrintable(parser.errorText()), qPrintable(program));
        return 2;
    }
    if (!parser.positionalArguments().isEmpty()) {
        std::fprintf(stderr, "%s: unexpected argument '%s'\nTry '%s --help' for the options.\n",
                     qPrintable(program), qPrintable(parser.positionalArguments().first()),
                     qPrintable(program));
        return 2;
    }
    if (parser.isSet(help)) {
        std::fputs(qPrintable(platform::CommandHelpText(parser, program)), stdout);
        SettleProgramFolders();
        std::fputs(qPrintable(QStringLiteral("\nFolders in use:\n") +
                              platform::FoldersText(platform::programFolders())),
                   stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::printf("%s %s\n", qPrintable(program), KELVARO_VERSION);
        return 0;
    }
    g_control = parser.isSet(control);
    if (parser.isSet(port)) {
        const QString device = parser.value(port);
        if (device.trimmed().isEmpty()) {
            std::fprintf(stderr, "%s: --port needs a device path\n", qPrintable(program));
            return 2;
        }
        platform::setCommandLinePort(device);
    }
    return std::nullopt;
}

std::optional<int> ParseCommandLine(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    return ParseCommandLine(arguments);
}
