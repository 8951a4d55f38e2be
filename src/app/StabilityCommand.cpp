#include "app/StabilityCommand.h"

#include "analysis/StabilityText.h"
#include "platform/Console.h"
#include "viewers/StabilitySource.h"

#include <QCommandLineParser>
#include <cstdio>

namespace {

int Bad(const QString& text) {
    std::fprintf(stderr, "kelvaro32 stability: %s\nTry 'kelvaro32 stability --help' for the options.\n",
                 qPrintable(text));
    return 2;
}

}  // namespace

int RunStabilityCommand(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Stability figures of a saved power, dual-power or energy file: mean, standard "
                       "deviation, RSD, peak-to-peak, drift and the Allan deviation."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    const QCommandLineOption json(QStringLiteral("json"), QStringLiteral("Print one JSON object."));
    const QCommandLineOption channel(
        QStringLiteral("channel"),
        QStringLiteral("For a two-channel file: A, B, ratio or difference (power only). Default A."),
        QStringLiteral("CHANNEL"), QStringLiteral("A"));
    parser.addOption(help);
    parser.addOption(json);
    parser.addOption(channel);
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The data file."));
    QStringList args = arguments;
    if (args.size() > 1) args.removeAt(1);  // "stability"
    if (!parser.parse(args)) return Bad(parser.errorText());
    if (parser.isSet(help)) {
        std::fputs(qPrintable(platform::CommandHelpText(parser, QStringLiteral("kelvaro32 stability"))),
                   stdout);
        return 0;
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() != 1)
        return Bad(files.isEmpty() ? QStringLiteral("a data file is needed")
                                   : QStringLiteral("one data file at a time"));
    const auto which = StabilityChannelNamed(parser.value(channel));
    if (!which) return Bad(QStringLiteral("--channel takes A, B, ratio or difference"));

    const StabilityLoad load = LoadStabilityOfFile(files.first(), *which);
    if (load.BadChannel)
        return Bad(QStringLiteral("%1 has no channel '%2'").arg(files.first(), parser.value(channel)));
    if (!load.Figures) {
        std::fprintf(stderr, "%s\n", qPrintable(load.Error));
        return 1;
    }
    const StabilityOfFile& f = *load.Figures;
    const std::string unit = f.Unit.toStdString();
    std::string out;
    if (parser.isSet(json))
        out = (f.Power ? analysis::PowerJson(f.PowerFigures) : analysis::EnergyJson(f.EnergyFigures)) + "\n";
    else if (f.Power)
        out = analysis::ReportText(analysis::PowerRows(f.PowerFigures, unit), &f.PowerFigures, unit);
    else
        out = analysis::ReportText(analysis::EnergyRows(f.EnergyFigures, unit), nullptr, unit);
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}
