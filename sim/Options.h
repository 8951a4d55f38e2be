#pragma once

#include "sim/Meter.h"

#include <QString>
#include <QStringList>

namespace sim {

// What the kelvaro-meter-sim command line asks for.
struct SimOptions {
    MeterConfig meter;
    QString portsDir;  // write "COM<n> <pty>" into portsDir/kelvaro.ports
    int com = 0;
    QString linkPath;    // a symbolic link to the terminal, the same at every start
    QString recordPath;  // every command and reply appended here, a line each
    double exitWhenIdle = 0;  // seconds without input from the program; 0 = run until killed
    bool help = false;
};

// Parses the arguments after the program name; false with `error` set on bad input.
bool ParseOptions(const QStringList& args, SimOptions& out, QString& error);
QString UsageText();

// "COM<n> <path>" entry replaced or added in the text of a ports file.
QString WithPortEntry(const QString& portsText, int com, const QString& path);

}  // namespace sim
