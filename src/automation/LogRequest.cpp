#include "automation/LogRequest.h"

#include "automation/RunLimits.h"
#include "platform/Console.h"
#include "platform/PortTable.h"
#include "state/AppState.h"

#include <QCommandLineParser>
#include <cstdio>

namespace {

constexpr ModeName kModeNames[] = {
    {"power", ModePower, false, false},
    {"energy", ModeEnergy, false, true},
    {"rapid-pulse", ModeRapidPulse, false, true},
    {"power-ratio", ModePowerRatio, true, false},
    {"power-difference", ModePowerDifference, true, false},
    {"energy-ratio", ModeEnergyRatio, true, true},
};

int Bad(const QString& text) {
    platform::WriteStandardError(
        QStringLiteral("kelvaro32 log: %1\nTry 'kelvaro32 log --help' for the options.\n").arg(text));
    return 2;
}

}  // namespace

const ModeName* FindModeName(const QString& name) {
    for (const ModeName& m : kModeNames)
        if (name == QLatin1String(m.name)) return &m;
    return nullptr;
}

const ModeName* ModeNameOfCode(int16_t code) {
    for (const ModeName& m : kModeNames)
        if (code == m.code) return &m;
    return nullptr;
}

std::variant<LogRequest, int> ParseLogCommand(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Logs readings of the connected meter with no window: the mode is entered as from the Mode menu "
        "and runs until the duration or count is reached, or until Ctrl+C (SIGINT) or SIGTERM."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    const QCommandLineOption port(QStringLiteral("port"),
                                  QStringLiteral("Use the serial device PATH for the configured COM port."),
                                  QStringLiteral("PATH"));
    const QCommandLineOption mode(QStringLiteral("mode"),
                                  QStringLiteral("power (default), energy, rapid-pulse, power-ratio, "
                                                 "power-difference or energy-ratio."),
                                  QStringLiteral("MODE"), QStringLiteral("power"));
    const QCommandLineOption channel(QStringLiteral("channel"),
                                     QStringLiteral("A (default) or B: the channel of a two-channel meter "
                                                    "for power, energy and rapid pulse."),
                                     QStringLiteral("A|B"), QStringLiteral("A"));
    const QCommandLineOption relative(QStringLiteral("relative"),
                                      QStringLiteral("Rapid pulse in relative units (absolute by default)."));
    const QCommandLineOption forTime(QStringLiteral("for"),
                                     QStringLiteral("Run this long: 10s, 5m, 2h, 1d (or seconds)."),
                                     QStringLiteral("DURATION"));
    const QCommandLineOption count(QStringLiteral("count"), QStringLiteral("Stop after N readings."),
                                   QStringLiteral("N"));
    const QCommandLineOption timeStamps(QStringLiteral("time-stamps"),
                                        QStringLiteral("Energy modes: the file carries each pulse's time."));
    const QCommandLineOption out(QStringLiteral("out"),
                                 QStringLiteral("Write the mode's data file to FILE as the readings come "
                                                "(as Save writes it); - for standard output."),
                                 QStringLiteral("FILE"));
    const QCommandLineOption jsonl(QStringLiteral("jsonl"),
                                   QStringLiteral("One JSON object a reading on standard output: "
                                                  "{\"t\", \"value\", \"unit\", \"channel\"}."));
    const QCommandLineOption control(
        QStringLiteral("control"),
        QStringLiteral("Open the control socket while it runs (see kelvaro32 --help); without --mode "
                       "no mode is entered and its clients choose one."));
    parser.addOptions({help, port, mode, channel, relative, forTime, count, timeStamps, out, jsonl, control});
    QStringList args = arguments;
    if (args.size() > 1) args.removeAt(1);  // "log"
    if (!parser.parse(args)) return Bad(parser.errorText());
    if (parser.isSet(help)) {
        std::fputs(qPrintable(platform::CommandHelpText(parser, QStringLiteral("kelvaro32 log"))), stdout);
        return 0;
    }
    if (!parser.positionalArguments().isEmpty())
        return Bad(QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().first()));

    LogRequest r;
    if (parser.isSet(forTime)) {
        r.seconds = ParseDuration(parser.value(forTime));
        if (!r.seconds) return Bad(QStringLiteral("--for takes a duration such as 10s, 5m, 2h or 1d"));
    }
    if (parser.isSet(port)) {
        if (parser.value(port).trimmed().isEmpty()) return Bad(QStringLiteral("--port needs a device path"));
        platform::setCommandLinePort(parser.value(port));
    }
    r.control = parser.isSet(control);
    if (r.control && !parser.isSet(mode)) {
        for (const QCommandLineOption& o : {channel, relative, count, timeStamps, out, jsonl})
            if (parser.isSet(o)) return Bad(QStringLiteral("--%1 needs --mode").arg(o.names().constFirst()));
        return r;
    }
    r.mode = FindModeName(parser.value(mode));
    if (!r.mode)
        return Bad(
            QStringLiteral("--mode takes power, energy, rapid-pulse, power-ratio, power-difference or "
                           "energy-ratio"));
    const QString ch = parser.value(channel).toUpper();
    if (ch != QLatin1String("A") && ch != QLatin1String("B"))
        return Bad(QStringLiteral("--channel takes A or B"));
    r.channel = ch == QLatin1String("B") ? 1 : 0;
    if (parser.isSet(channel) && r.mode->twoChannels)
        return Bad(QStringLiteral("--channel is for power, energy and rapid-pulse"));
    r.relative = parser.isSet(relative);
    if (r.relative && r.mode->code != ModeRapidPulse)
        return Bad(QStringLiteral("--relative is for rapid-pulse"));
    r.timeStamps = parser.isSet(timeStamps);
    if (r.timeStamps && !r.mode->pulses)
        return Bad(QStringLiteral("--time-stamps is for the energy modes (power files always carry times)"));
    if (parser.isSet(forTime) && parser.isSet(count))
        return Bad(QStringLiteral("--for or --count, not both"));
    if (parser.isSet(count)) {
        bool ok = false;
        r.count = parser.value(count).toLongLong(&ok);
        if (!ok || r.count < 1) return Bad(QStringLiteral("--count takes a number of readings from 1"));
    }
    if (parser.isSet(out) && parser.isSet(jsonl)) return Bad(QStringLiteral("--out or --jsonl, not both"));
    r.out = parser.value(out);
    if (parser.isSet(out) && r.out.isEmpty()) return Bad(QStringLiteral("--out needs a file name"));
    r.jsonl = parser.isSet(jsonl);
    return r;
}
