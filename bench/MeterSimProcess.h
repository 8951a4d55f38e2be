#pragma once

// kelvaro-meter-sim as a child process of a benchmark: a TALON answering
// without character time (--instant), so the figures are the program's own cost.

#include <benchmark/benchmark.h>
#include <QCoreApplication>
#include <QProcess>
#include <QString>
#include <QStringList>

inline QString SimulatorPath() {
    const QString fromEnv = qEnvironmentVariable("KELVARO_METER_SIM");
    if (!fromEnv.isEmpty()) return fromEnv;
    return QCoreApplication::applicationDirPath() + "/../sim/kelvaro-meter-sim";
}

// Starts the simulator as this meter; its terminal path, or empty when it
// did not start.
inline QString StartSimulatorAs(QProcess& sim, const QStringList& meter) {
    sim.start(SimulatorPath(), meter + QStringList{"--instant", "--exit-when-idle", "30"});
    if (!sim.waitForStarted(5000)) return {};
    while (!sim.canReadLine() && sim.waitForReadyRead(5000)) {
    }
    return QString::fromUtf8(sim.readLine()).trimmed();
}

// The same as a TALON with this head on channel A.
inline QString StartSimulator(QProcess& sim, const QString& headA) {
    return StartSimulatorAs(sim, {"--model", "talon", "--head-a", headA});
}

inline void StopSimulator(QProcess& sim) {
    sim.terminate();
    if (!sim.waitForFinished(3000)) sim.kill();
}

// The main of a benchmark that needs only an event loop beside the simulator.
inline int RunBenchmarksWithEventLoop(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
