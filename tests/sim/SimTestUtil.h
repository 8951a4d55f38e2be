#pragma once

#include "sim/Meter.h"
#include "sim/Options.h"

#include <gtest/gtest.h>
#include <QProcess>
#include <QString>

// The reply line to one command, without its CR LF.
inline QString Ask(sim::Meter& m, const QString& command) {
    QByteArray r = m.Answer(command);
    if (r.endsWith("\r\n")) r.chop(2);
    return QString::fromLatin1(r);
}

// A command sent through the line at `now`, its reply read back when due.
inline QString AskAt(sim::Meter& m, const QString& command, double now) {
    m.Receive(("$" + command + "\r").toLatin1(), now, m.Config().baud);
    QByteArray r = m.Transmit(m.NextTransmitTime());
    r.chop(2);
    return QString::fromLatin1(r);
}

// A meter configured as kelvaro-meter-sim is on its command line.
inline sim::MeterConfig Config(const QString& options) {
    sim::SimOptions o;
    QString error;
    EXPECT_TRUE(sim::ParseOptions(QProcess::splitCommand(options), o, error)) << error.toStdString();
    return o.meter;
}

// Plays "command>reply|command>reply|..." against a meter made from
// `options`; "@t command>reply" sends the command at t seconds, through the
// line, for replies that depend on time.
inline void ExpectConversation(const QString& options, const QString& script) {
    sim::Meter m(Config(options));
    for (QString step : script.split('|')) {
        double at = -1;
        if (step.startsWith('@')) {
            at = step.section(' ', 0, 0).mid(1).toDouble();
            step = step.section(' ', 1);
        }
        const QString command = step.section('>', 0, 0), reply = step.section('>', 1);
        const QString got = at < 0 ? Ask(m, command) : AskAt(m, command, at);
        EXPECT_EQ(got.toStdString(), reply.toStdString())
            << options.toStdString() << ": " << step.toStdString();
    }
}
