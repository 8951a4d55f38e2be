#pragma once

#include "sim/Meter.h"
#include "sim/Options.h"

#include <gtest/gtest.h>
#include <QProcess>
#include <QString>

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
        if (at >= 0) m.Receive(("$" + command + "\r").toLatin1(), at, m.Config().baud);
        const QByteArray got = at < 0 ? m.Answer(command) : m.Transmit(m.NextTransmitTime(), m.Config().baud);
        EXPECT_EQ(got.toStdString(), (reply + "\r\n").toStdString())
            << options.toStdString() << ": " << step.toStdString();
    }
}
