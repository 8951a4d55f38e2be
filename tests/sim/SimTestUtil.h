#pragma once

#include "sim/Meter.h"

#include <QString>

// The reply line to one command, without its CR LF.
inline QString Ask(sim::Meter& m, const QString& command) {
    QByteArray r = m.Answer(command);
    if (r.endsWith("\r\n")) r.chop(2);
    return QString::fromLatin1(r);
}

inline sim::HeadSpec Head(int type, const QString& name = "3A", quint32 serial = 123456,
                          const QString& unit = {}) {
    sim::HeadSpec h;
    h.type = type;
    h.name = name;
    h.serial = serial;
    h.unit = unit;
    return h;
}

inline sim::MeterConfig Config(sim::Model model, sim::HeadSpec a = Head(1), sim::HeadSpec b = Head(0)) {
    sim::MeterConfig c;
    c.model = model;
    c.heads = {a, b};
    return c;
}
