// A headless power run end to end: `kelvaro32 log` in its own process against
// kelvaro-meter-sim --instant over a pseudo-terminal, with the data file
// written as it goes (0) or JSON lines on standard output (1); and the data
// file without and with one control-socket client reading the stream, with
// the ratio of the two rates. The rate is the run's own: its readings over
// the time of its last one.

#include <benchmark/benchmark.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <array>
#include <optional>

#include "MeterSimProcess.h"

namespace {

QString ProgramPath() {
    const QString fromEnv = qEnvironmentVariable("KELVARO32");
    if (!fromEnv.isEmpty()) return fromEnv;
    return QCoreApplication::applicationDirPath() + "/../src/app/kelvaro32";
}

// Readings and the time of the last one, from the file or the JSON lines.
std::pair<double, double> Counted(const QByteArray& output, bool jsonl) {
    QList<QByteArray> lines = output.split('\n');
    while (!lines.isEmpty() && lines.back().trimmed().isEmpty()) lines.removeLast();
    if (lines.size() < 2) return {0, 0};
    if (jsonl) return {double(lines.size()), QJsonDocument::fromJson(lines.back()).object()["t"].toDouble()};
    return {double(lines.size() - 1), lines.back().split('\t').value(1).trimmed().toDouble()};
}

// Subscribes to the run's stream and reads it until the run ends; the events read.
int64_t FollowStream(QProcess& program, const QString& socketPath) {
    QLocalSocket client;
    while (program.state() != QProcess::NotRunning) {
        client.connectToServer(socketPath);
        if (client.waitForConnected(100)) break;
        program.waitForFinished(20);
    }
    client.write("{\"cmd\":\"subscribe\"}\n");
    int64_t lines = 0;
    while (client.state() == QLocalSocket::ConnectedState) {
        client.waitForReadyRead(100);
        lines += client.readAll().count('\n');
    }
    return lines;
}

// One run of 3 s: its readings and the time of its last one; nothing when it failed.
std::optional<std::pair<double, double>> OneRun(int output) {
    const bool jsonl = output == 1, control = output == 2;
    QProcess sim;
    const QString path = StartSimulator(sim, "type=1,name=XLP12,serial=1,value=0.0125,noise=0.1");
    QTemporaryDir work;
    QProcess program;
    program.setWorkingDirectory(work.path());
    QStringList args = {"log", "--port", path, "--for", "3s"};
    args += jsonl ? QStringList{"--jsonl"} : QStringList{"--out", "run.pwr"};
    if (control) args += {"--control", "--mode", "power"};
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", work.path());
    program.setProcessEnvironment(env);
    program.start(ProgramPath(), args);
    if (control && FollowStream(program, work.path() + "/kelvaro32/control") == 0) return std::nullopt;
    const bool ended = program.state() == QProcess::NotRunning || program.waitForFinished(30000);
    StopSimulator(sim);
    if (path.isEmpty() || !ended || program.exitCode() != 0) return std::nullopt;
    QFile file(QDir(work.path()).filePath("run.pwr"));
    return Counted(jsonl ? program.readAllStandardOutput()
                         : (file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray()),
                   jsonl);
}

void HeadlessPowerRun(benchmark::State& state) {
    double readings = 0, seconds = 0;
    for (auto _ : state) {
        const auto run = OneRun(int(state.range(0)));
        if (!run) return state.SkipWithError("no headless run on the simulator");
        readings += run->first;
        seconds += run->second;
    }
    state.counters["readings/s"] = seconds > 0 ? readings / seconds : 0;
}
BENCHMARK(HeadlessPowerRun)
    ->ArgName("jsonl")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(2)
    ->UseRealTime()
    ->Unit(benchmark::kSecond);

// The data file with and without one control-socket client reading the
// stream, in turns, so that the machine's load falls on both alike.
void SubscribedClientCost(benchmark::State& state) {
    std::array<double, 2> readings{}, seconds{};
    for (auto _ : state)
        for (int subscribed = 0; subscribed < 2; ++subscribed) {
            const auto run = OneRun(subscribed ? 2 : 0);
            if (!run) return state.SkipWithError("no headless run on the simulator");
            readings[size_t(subscribed)] += run->first;
            seconds[size_t(subscribed)] += run->second;
        }
    const double plain = readings[0] / seconds[0], subscribed = readings[1] / seconds[1];
    state.counters["plain/s"] = plain;
    state.counters["subscribed/s"] = subscribed;
    state.counters["ratio"] = subscribed / plain;
}
BENCHMARK(SubscribedClientCost)->Iterations(4)->UseRealTime()->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
    return RunBenchmarksWithEventLoop(argc, argv);
}
