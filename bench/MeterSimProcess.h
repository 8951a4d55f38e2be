#pragma once

// kelvaro-meter-sim as a child process of a benchmark: a TALON answering
// without character time (--instant), so the figures are the program's own cost.

#include <QCoreApplication>
#include <QProcess>
#include <QString>

inline QString SimulatorPath() {
    const QString fromEnv = qEnvironmentVariable("KELVARO_METER_SIM");
    if (!fromEnv.isEmpty()) return fromEnv;
    return QCoreApplication::applicationDirPath() + "/../sim/kelvaro-meter-sim";
}

// Starts the simulator with this head on channel A; its terminal path, or
// empty when it did not start.
inline QString StartSimulator(QProcess& sim, const QString& headA) {
    sim.start(SimulatorPath(),
              {"--model", "talon", "--head-a", headA, "--instant", "--exit-when-idle", "30"});
    if (!sim.waitForStarted(5000)) return {};
    while (!sim.canReadLine() && sim.waitForReadyRead(5000)) {
    }
    return QString::fromUtf8(sim.readLine()).trimmed();
}

inline void StopSimulator(QProcess& sim) {
    sim.terminate();
    if (!sim.waitForFinished(3000)) sim.kill();
}
