// A headless power run end to end: `kelvaro32 log` in its own process against
// kelvaro-meter-sim --instant over a pseudo-terminal, with the data file
// written as it goes (0), JSON lines on standard output (1), or the data file
// with one control-socket client subscribed and reading the stream (2). The
// rate is the run's own: its readings over the time of its last one; the
// subscribed run also reports its ratio to the plain one.

#include <benchmark/benchmark.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>

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
    program.waitForFinished(30000);
    return lines;
}

double g_plainRate = 0;

void HeadlessPowerRun(benchmark::State& state) {
    const bool jsonl = state.range(0) == 1, control = state.range(0) == 2;
    double readings = 0, seconds = 0;
    for (auto _ : state) {
        QProcess sim;
        const QString path = StartSimulator(sim, "type=1,name=XLP12,serial=1,value=0.0125,noise=0.1");
        QTemporaryDir work;
        QProcess program;
        program.setWorkingDirectory(work.path());
        QStringList args = {"log", "--port", path, "--for", "3s"};
        args += jsonl ? QStringList{"--jsonl"} : QStringList{"--out", "run.pwr"};
        if (control) args += "--control";
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", work.path());
        program.setProcessEnvironment(env);
        program.start(ProgramPath(), args);
        if (control)
            state.counters["events"] = double(FollowStream(program, work.path() + "/kelvaro32/control"));
        if (path.isEmpty() || !program.waitForFinished(30000) || program.exitCode() != 0) {
            state.SkipWithError("no headless run on the simulator");
            StopSimulator(sim);
            return;
        }
        QFile file(QDir(work.path()).filePath("run.pwr"));
        const QByteArray output = jsonl ? program.readAllStandardOutput()
                                        : (file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
        const auto [n, t] = Counted(output, jsonl);
        readings += n;
        seconds += t;
        StopSimulator(sim);
    }
    const double rate = seconds > 0 ? readings / seconds : 0;
    state.counters["readings/s"] = rate;
    if (state.range(0) == 0) g_plainRate = rate;
    if (control && g_plainRate > 0) state.counters["ratio"] = rate / g_plainRate;
}
BENCHMARK(HeadlessPowerRun)
    ->ArgName("output")
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Iterations(2)
    ->UseRealTime()
    ->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
    return RunBenchmarksWithEventLoop(argc, argv);
}
