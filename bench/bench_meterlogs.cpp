// Meter-log download: a 60000-reading log parsed from its data blocks (the
// replies handed over in memory, no line time), and the download of the same
// log from kelvaro-meter-sim --instant over a pseudo-terminal.

#include "link/Link.h"
#include "meterlogs/LogRetrieval.h"
#include "platform/PortTable.h"
#include "state/AppState.h"
#include "state/Configuration.h"
#include "tests/support/ProgramState.h"
#include "viewers/StoredDataViewer.h"
#include "viewers/Viewers.h"

#include <benchmark/benchmark.h>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>

#include "MeterSimProcess.h"

namespace {

constexpr int kReadings = 60000;

// Keeps the lines' total length, so that nothing is optimised away.
struct CountingViewer : StoredDataViewer {
    void Load(int step, const QString& text) override {
        if (step == -1) lines = 0;
        if (step == 0) {
            ++lines;
            chars += text.size();
        }
    }
    void ShowData() override { ++shows; }
    void DataSave(const QString&) override {}
    void Print() override {}
    int64_t lines = 0, chars = 0;
    int shows = 0;
};

QString Description(int readings) {
    return QString("* 0 0 0 %1 30 W 0 0 3A           1000 123456 NONE         1000 0 NONE 0\r").arg(readings);
}

void ParseSixtyThousandReadings(benchmark::State& state) {
    QStringList blocks;
    for (int b = 0; b < kReadings / 10; ++b) {
        QString reply = "*";
        for (int i = 0; i < 10; ++i) reply += QString::asprintf("%+06d ", (b * 10 + i) % 999);
        blocks << reply.trimmed() + "\r";
    }
    CountingViewer viewer;
    for (auto _ : state) {
        FreshProgramState();
        ForgetViewers();
        SetViewerFactory(ViewPower, [&] { return &viewer; });
        TestMeter().DeviceType = MeterModel::MeridelOne;  // a Meridel; not connected, so nothing is sent
        Transfer().RetrieveStep = 6;
        Transfer().DownloadStep = 1;
        RetrieveLogs(0, Description(kReadings));
        RetrieveLogs(0, "*\r");
        for (const QString& block : blocks) RetrieveLogs(0, block);
    }
    if (viewer.shows != int(state.iterations())) state.SkipWithError("the log was not shown");
    state.counters["readings/s"] =
        benchmark::Counter(double(state.iterations()) * kReadings, benchmark::Counter::kIsRate);
    ForgetViewers();
}
BENCHMARK(ParseSixtyThousandReadings)->Unit(benchmark::kMillisecond);

// From Mode > Show Device-File to the viewer's drawing, the file picked at once.
void DownloadOverPty(benchmark::State& state) {
    QProcess sim;
    sim.start(SimulatorPath(), {"--model", "meridel1", "--log", QString("file=2,count=%1").arg(kReadings),
                                "--instant", "--exit-when-idle", "30"});
    sim.waitForStarted(5000);
    while (!sim.canReadLine() && sim.waitForReadyRead(5000)) {
    }
    const QString path = QString::fromUtf8(sim.readLine()).trimmed();
    FreshProgramState();
    App().Shell.ProcessEvents = [] { QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents); };
    platform::portTable().Override("COM1 " + path + "\n");
    CurrentSettings().CommPort = 1;
    if (path.isEmpty() || !Connect()) {
        state.SkipWithError("no connection to the simulator");
        StopSimulator(sim);
        return;
    }
    IdentifyInstrument();
    CountingViewer viewer;
    ForgetViewers();
    SetViewerFactory(ViewPower, [&] { return &viewer; });
    // The device-file view as the reply routing sees it.
    struct Retrieval final : Mode {
        ModeTraits Traits(int16_t) const override { return {}; }
        void Begin() override {}
        void Reply(QString& line) override { RetrieveLogs(0, line); }
        void End() override {}
    } retrieval;
    Modes().Register(ModeDeviceFile, retrieval);
    MeterLogHooks().ChooseFile = [](const QStringList& choices) { RetrieveLogs(0, choices.value(0)); };
    for (auto _ : state) {
        const int shown = viewer.shows;
        App().ActiveMode = ModeDeviceFile;
        RetrieveLogs(-1, QString());
        QDeadlineTimer deadline(120000);
        while (viewer.shows == shown && Meter().Connected && !deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            Timer2_Timer();
        }
        if (viewer.shows == shown) state.SkipWithError("the download did not end");
        if (viewer.lines != kReadings) state.SkipWithError("readings went missing");
    }
    state.counters["readings/s"] =
        benchmark::Counter(double(state.iterations()) * kReadings, benchmark::Counter::kIsRate);
    Disconnect();
    App().Shell = ShellHooks{};
    FreshProgramState();
    ForgetViewers();
    StopSimulator(sim);
}
BENCHMARK(DownloadOverPty)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    return RunBenchmarksWithEventLoop(argc, argv);
}
