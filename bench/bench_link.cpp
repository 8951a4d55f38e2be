// Command round trips through the link against kelvaro-meter-sim over a
// pseudo-terminal, and a raw write/read loop on the same terminal for
// comparison.

#include "link/Link.h"
#include "platform/PortTable.h"
#include "state/AppState.h"
#include "state/Configuration.h"
#include "tests/support/ProgramState.h"

#include <benchmark/benchmark.h>
#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QSerialPort>

#include "MeterSimProcess.h"

namespace {

void LinkRoundTrip(benchmark::State& state) {
    QProcess sim;
    const QString path = StartSimulator(sim, "type=1");
    if (path.isEmpty()) {
        state.SkipWithError("kelvaro-meter-sim did not start");
        return;
    }
    FreshProgramState();
    platform::portTable().Override("COM1 " + path + "\n");
    CurrentSettings().CommPort = 1;
    if (!Connect()) {
        state.SkipWithError("no connection to the simulator");
        return;
    }
    platform::SerialPort& port = platform::serialPort();
    for (auto _ : state) {
        SendCommand(port, "SP", 1.0, false);
        while (!Link().ReplyReceived) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    state.counters["round_trips_per_s"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    port.Close();
    TestMeter().Connected = false;
    sim.kill();
    sim.waitForFinished(2000);
}
BENCHMARK(LinkRoundTrip)->UseRealTime()->MinTime(2.0);

void RawRoundTrip(benchmark::State& state) {
    QProcess sim;
    const QString path = StartSimulator(sim, "type=1");
    QSerialPort port(path);
    if (path.isEmpty() || !port.open(QIODevice::ReadWrite)) {
        state.SkipWithError("no terminal to the simulator");
        return;
    }
    port.setBaudRate(19200);
    for (auto _ : state) {
        port.write("$SP\r");
        QByteArray reply;
        while (!reply.endsWith('\n') && port.waitForReadyRead(1000)) reply += port.readAll();
    }
    state.counters["round_trips_per_s"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    port.close();
    sim.kill();
    sim.waitForFinished(2000);
}
BENCHMARK(RawRoundTrip)->UseRealTime()->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
    return RunBenchmarksWithEventLoop(argc, argv);
}
