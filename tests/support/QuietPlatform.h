#pragma once

// Header-only stand-ins for the fuzz targets and benchmarks (no GoogleTest): silent prompts,
// a clock that moves only when told, and a port whose input is whatever is put in `pending`.

#include "platform/Clock.h"
#include "platform/SerialPort.h"
#include "platform/SilentPrompts.h"

#include <QByteArray>
#include <cmath>
#include <utility>

using QuietPrompts = platform::SilentPrompts;

class StepClock : public platform::Clock {
public:
    explicit StepClock(double startOfDay = 0) : now(startOfDay) {}
    double SecondsSinceMidnight() override { return now; }
    double Monotonic() override { return mono; }
    QString DateText() override { return QStringLiteral("01/01/2026"); }
    QString TimeText() override { return QStringLiteral("00:00:00"); }
    QString DateTimeText() override { return DateText() + QLatin1Char(' ') + TimeText(); }
    void Advance(double s) {
        mono += s;
        now = std::fmod(now + s, 86400.0);
    }
    double now, mono = 0;
};

class FeedPort : public platform::SerialPort {
public:
    void SetCommPort(int) override {}
    int CommPort() const override { return 1; }
    bool SetSettings(const QString&) override { return true; }
    QString Settings() const override { return {}; }
    platform::OpenResult Open() override { return platform::OpenResult::Ok; }
    void Close() override {}
    bool IsOpen() const override { return true; }
    void SetDTR(bool) override {}
    void SetRTS(bool) override {}
    void SetThresholds(int, int) override {}
    void Output(const QByteArray&) override {}
    QByteArray Input() override { return std::exchange(pending, {}); }
    int InBufferCount() override { return int(pending.size()); }
    void WaitForInput(double) override {}
    int CommEvent() const override { return platform::ComEvReceive; }

    QByteArray pending;
};
