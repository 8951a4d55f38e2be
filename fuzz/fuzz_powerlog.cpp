// Random reply lines to the power engine in every poll state, with the
// user's Start/Stop, Reset and pauses in between. Nothing may crash or hang,
// the store never exceeds its 6000 points and the statistics stay finite.
//
// Input: byte 0 the head type, byte 1 the meter model, byte 2 the log time;
// then records of one control byte and a line of up to 63 bytes.

#include "data/Units.h"
#include "fuzz/FuzzTarget.h"
#include "link/LinkState.h"
#include "platform/Clock.h"
#include "platform/Prompts.h"
#include "platform/SerialPort.h"
#include "power/PowerEngine.h"
#include "state/AppState.h"
#include "tests/support/QuietPlatform.h"

#include <QCoreApplication>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace {

QuietPrompts g_prompts;
StepClock g_clock{86000};  // close to midnight, so that runs cross it
FeedPort g_port;

void Check(const PowerEngine& e) {
    TrapUnlessFinite(e.Stats());
    if (e.Store().PointCount < 0 || e.Store().PointCount > kMaxPowerPoints) __builtin_trap();
    if (e.PointsOnShow() > kMaxPowerPoints) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    InstallQuietPlatform(argc, argv, g_prompts, g_clock, g_port);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    ResetAppState();
    ResetLinkState();
    AppState& app = App();
    app.Connected = true;
    app.ActiveMode = ModePower;
    app.Channels[0].HeadType = static_cast<int16_t>(data[0] % 8);
    app.Channels[0].ReadingUnit = QStringLiteral("W");
    app.DeviceType = static_cast<int16_t>(data[1] % 10);
    static const int32_t logTimes[] = {1, 15, 299, 300, 600, 3600, 86400};
    app.Config.Power.LogTime = logTimes[data[2] % 7];
    app.Config.Power.GraphLow = 0.001;
    app.Config.Power.GraphHigh = 1;

    PowerEngine engine;
    engine.View.TrialReading = [] {};
    engine.PowerLog(-1, QString());
    engine.StartStop();

    size_t pos = 3;
    while (pos < size) {
        const uint8_t control = data[pos++];
        const size_t len = std::min<size_t>(control % 64, size - pos);
        const QString line = QString::fromLatin1(reinterpret_cast<const char*>(data + pos), qsizetype(len));
        pos += len;
        switch (control >> 6) {
            case 0:  // force a poll state, including ones the engine never sets
                engine.PollState = static_cast<int16_t>(control & 3);
                break;
            case 1:
                g_clock.Advance((control & 63) * 0.37);
                break;
            case 2:
                if (control & 1)
                    engine.PauseGraph((control & 2) != 0);
                else if (control & 2)
                    engine.StartStop();
                else if (control & 4)
                    engine.Reset(false);
                else
                    engine.SetLimitsOn((control & 8) != 0);
                break;
            default:
                g_clock.Advance(0.01);
                break;
        }
        engine.PowerLog(0, line);
        Check(engine);
    }
    engine.SetAutoRescale(true);
    engine.ApplyChartRange();
    if (!std::isfinite(engine.Chart.YMin) || !std::isfinite(engine.Chart.YMax)) __builtin_trap();
    engine.PowerLog(1, QString());
    Check(engine);
    return 0;
}
