#pragma once

// What the power-type benchmarks share: feeding replies to an engine, and
// counting readings that arrive over a real link.

#include "link/Link.h"
#include "platform/PortTable.h"
#include "power/PowerEngine.h"
#include "state/AppState.h"
#include "state/Configuration.h"
#include "tests/support/ProgramState.h"
#include "tests/support/QuietPlatform.h"

#include <benchmark/benchmark.h>
#include <QCoreApplication>
#include <QString>
#include <functional>
#include <vector>

// One reply per iteration, 20 ms apart on `clock`; a run that ends is
// started afresh off the clock, its first reply `opening`.
inline void FeedReplies(benchmark::State& state, PowerEngine& engine, const std::vector<QString>& replies,
                        const QString& opening, StepClock& clock) {
    size_t i = 0;
    for (auto _ : state) {
        if (engine.Stopped) {
            state.PauseTiming();
            engine.Reset(false);
            engine.StartStop();
            engine.PowerLog(0, opening);
            state.ResumeTiming();
        }
        clock.Advance(0.02);
        engine.PowerLog(0, replies[i++ % replies.size()]);
    }
    state.SetItemsProcessed(int64_t(state.iterations()));
}

// Each iteration waits for one more reading; the rate is readings per second.
inline void CountReadings(benchmark::State& state, const std::function<int64_t()>& readings) {
    for (auto _ : state) {
        const int64_t before = readings();
        while (readings() == before) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    state.counters["readings/s"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

// Connected on COM1 to the terminal at `path`, waits processing events as
// the main window does; false when the connect failed.
inline bool ConnectOnCom1(const QString& path) {
    FreshProgramState();
    App().Shell.ProcessEvents = [] { QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents); };
    platform::portTable().Override("COM1 " + path + "\n");
    CurrentSettings().CommPort = 1;
    return Connect();
}

inline void LeaveLink() {
    if (Meter().Connected) Disconnect();
    App().Shell = ShellHooks{};
    FreshProgramState();
}
