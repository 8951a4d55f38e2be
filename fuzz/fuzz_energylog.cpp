// Random reply lines to the energy engine in every poll state, mode and head
// type, with Start/Stop, Reset, leaving and re-entering the mode in between.
// Nothing may crash or hang, the statistics stay finite, the bins hold
// exactly the valid pulses, and the store never grows beyond its 60000
// records (it is allocated once per run). The same lines, turned into "SB"
// replies (raw, one token, A only, B only, both), go to the energy ratio
// engine with ratio direction, normalisation, Start/Stop and Reset in
// between: its statistics of both directions stay finite and its store bounded.
//
// Input: byte 0 the head type, byte 1 the meter model, byte 2 the mode and
// storage settings; then records of one control byte and a line of up to
// 63 bytes.

#include "data/ReadingStore.h"
#include "dual/EnergyRatioEngine.h"
#include "energy/EnergyEngine.h"
#include "fuzz/FuzzTarget.h"
#include "link/LinkState.h"
#include "platform/Clock.h"
#include "platform/Prompts.h"
#include "platform/SerialPort.h"
#include "state/AppState.h"
#include "state/Configuration.h"
#include "tests/support/ProgramState.h"
#include "tests/support/QuietPlatform.h"

#include <QCoreApplication>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace {

QuietPrompts g_prompts;
StepClock g_clock{86000};  // close to midnight, so that runs cross it
FeedPort g_port;

void Check(const EnergyEngine& e) {
    const RunningStats& s = e.Stats();
    TrapUnlessFinite(s);
    int64_t binned = 0;
    for (const HistogramBin& b : e.Hist.Bins) binned += b.Count;
    if (binned != s.Count || e.OverCount < 0) __builtin_trap();
    const auto& store = e.Store();
    if (store.Count() < 0 || store.Count() > kMaxStoredReadings) __builtin_trap();
    if (store.Records.capacity() > size_t(kMaxStoredReadings)) __builtin_trap();
}

void Check(const EnergyRatioEngine& e) {
    for (int d = 0; d < 2; ++d) TrapUnlessFinite(e.Stats(d));
    const auto& store = e.Store();
    if (store.Count() < 0 || store.Count() > kMaxStoredReadings) __builtin_trap();
    if (store.Records.capacity() > size_t(kMaxStoredReadings)) __builtin_trap();
    if (!std::isfinite(e.NormFactor) || e.Pairing().ChannelState < 0 || e.Pairing().ChannelState > 3)
        __builtin_trap();
}

// The line as an "SB" reply: raw, one token, A only, B only or both.
QString AsDualReply(const QString& line) {
    const qsizetype half = line.size() / 2;
    const QString a = line.left(half), b = line.mid(half);
    switch (line.size() % 5) {
        case 0:
            return line;
        case 1:
            return "*" + line + "\r";
        case 2:
            return "*" + a + " N\r";
        case 3:
            return "*N " + b + "\r";
        default:
            return "*" + a + " " + b + "\r";
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    InstallQuietPlatform(argc, argv, g_prompts, g_clock, g_port);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    static EnergyEngine engine;  // one store for all inputs, as for all runs of a window
    FreshProgramState();
    AppState& app = App();
    TestMeter().Connected = true;
    TestMeter().Channels[0].HeadType = HeadKind(data[0] % 8);
    TestMeter().DeviceType = MeterModel(data[1] % 10);
    const uint8_t flags = data[2];
    app.ActiveMode = (flags & 1) ? ModeRapidPulse : ModeEnergy;
    app.RapidPulseAbsolute = (flags & 2) != 0;
    EnergySettings& cfg = CurrentSettings().Energy;
    cfg.EnergyStorageMode = (flags >> 2) & 1;
    static const int16_t rates[] = {1, 3, 1000, 2};
    cfg.EnergyStorageRate = rates[(flags >> 3) & 3];
    cfg.EnergyStorageStyle = int16_t(1 + ((flags >> 5) & 1));
    cfg.EnergyTimeStamp = (flags & 64) != 0;
    cfg.EnergyBinsCount = (flags & 128) ? 5 : 100;
    cfg.EnergyLowLimit = 1e-3;
    cfg.EnergyHighLimit = 2e-3;
    cfg.EnergyInitialSize = 10;

    EnergyRatioSettings& dual = CurrentSettings().EnergyRatio;
    dual.RatioStorageMode = cfg.EnergyStorageMode;
    dual.RatioStorageRate = cfg.EnergyStorageRate;
    dual.RatioStorageStyle = cfg.EnergyStorageStyle;
    dual.RatioTimeStamp = cfg.EnergyTimeStamp;

    engine.StartEnergy();
    engine.StartStop();
    static EnergyRatioEngine ratio;  // one store for all inputs, as for all runs of the window
    ratio.StartStop();

    ForEachStep(data, size, 3, [&](uint8_t control, QString& line) {
        switch (control >> 6) {
            case 0:  // force a poll state, including ones the engine never sets
                engine.PollState = static_cast<int16_t>(control & 3);
                break;
            case 1:
                g_clock.Advance((control & 63) * 0.37);
                break;
            case 2:
                if (control & 1)
                    engine.StartStop();
                else if (control & 2)
                    engine.Reset(false);
                else if (control & 4) {
                    QString none;
                    engine.EnergyLog(1, none);
                    engine.StartEnergy();
                }
                if (control & 8) ratio.StartStop();
                if (control & 16) ratio.Normalize();
                if (control & 32) ratio.SetRatioMode(int16_t(1 - ratio.RatioMode));
                if ((control & 7) == 2) ratio.Reset(false);
                break;
            default:
                g_clock.Advance(0.001);
                break;
        }
        QString reply = AsDualReply(line);
        engine.EnergyLog(0, line);
        Check(engine);
        ratio.EnergyRatioLog(0, reply);
        Check(ratio);
    });
    engine.StartStop();
    Check(engine);
    if (!ratio.Stopped) ratio.StartStop();
    Check(ratio);
    return 0;
}
