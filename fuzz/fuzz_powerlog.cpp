// Random reply lines to the power, power ratio and power difference engines
// in every poll state, with the user's Start/Stop, Reset, pauses, direction
// changes and Normalize/Offset in between. Nothing may crash or hang, the
// stores never exceed their 6000 points and statistics, factor and offset
// stay finite.
//
// Input: byte 0 the head type (bits 0-2) and the variant (bits 3-4: power,
// ratio, difference), byte 1 the meter model, byte 2 the log time; then
// records of one control byte and a line of up to 63 bytes. For the two-
// channel variants the line may instead be made into an "SB" reply of none,
// one or two tokens: "N", "OVER", "0", a number, or the line's own bytes.

#include "data/Units.h"
#include "dual/DualPowerProfiles.h"
#include "fuzz/FuzzTarget.h"
#include "link/LinkState.h"
#include "platform/Clock.h"
#include "platform/Prompts.h"
#include "platform/SerialPort.h"
#include "power/PowerEngine.h"
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

const PowerProfile* const kVariants[] = {&kPowerProfile, &kPowerRatioProfile, &kPowerDifferenceProfile};

void Check(const PowerEngine& e) {
    for (int d = 0; d < 2; ++d) {
        TrapUnlessFinite(e.Stats(d));
        if (e.Store(d).PointCount < 0 || e.Store(d).PointCount > kMaxPowerPoints) __builtin_trap();
    }
    if (e.PointsOnShow() > kMaxPowerPoints) __builtin_trap();
    if (!std::isfinite(e.Scale) || !std::isfinite(e.Shift)) __builtin_trap();
}

QString Token(uint8_t kind, uint8_t value, const QString& line) {
    switch (kind % 5) {
        case 0:
            return QStringLiteral("N");
        case 1:
            return QStringLiteral("OVER");
        case 2:
            return QStringLiteral("0");
        case 3:
            return QString::number((value - 100) * 1.7e-4, 'E', 3);
        default:
            return line.left(value % 12);
    }
}

// An "SB" reply from the record's bytes: none, one or two tokens.
QString BothChannelReply(const QString& line) {
    const QByteArray b = line.toLatin1() + QByteArray(4, '\0');
    const QString a = Token(uint8_t(b[0]), uint8_t(b[1]), line.mid(4));
    const QString second = Token(uint8_t(b[2]), uint8_t(b[3]), line.mid(4));
    switch (uint8_t(b[0]) / 5 % 3) {
        case 0:
            return QStringLiteral("*\r");
        case 1:
            return "*" + a + "\r";
        default:
            return "*" + a + " " + second + "\r";
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    InstallQuietPlatform(argc, argv, g_prompts, g_clock, g_port);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    FreshProgramState();
    AppState& app = App();
    TestMeter().Connected = true;
    app.ActiveMode = ModePower;
    for (ChannelInfo& head : TestMeter().Channels) {
        head.HeadType = HeadKind(data[0] % 8);
        head.ReadingUnit = QStringLiteral("W");
    }
    const PowerProfile& variant = *kVariants[(data[0] >> 3) % 3];
    TestMeter().DeviceType = MeterModel(data[1] % 10);
    static const int32_t logTimes[] = {1, 15, 299, 300, 600, 3600, 86400};
    CurrentSettings().Power.LogTime = logTimes[data[2] % 7];
    CurrentSettings().PowerRatio.RatioLogTime = CurrentSettings().PowerDifference.DifferenceLogTime =
        CurrentSettings().Power.LogTime;
    CurrentSettings().Power.GraphLow = 0.001;
    CurrentSettings().Power.GraphHigh = 1;

    PowerEngine engine(variant);
    engine.View.TrialReading = [] {};
    engine.PowerLog(-1, QString());
    engine.StartStop();

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
                    engine.PauseGraph((control & 2) != 0);
                else if (control & 2)
                    engine.StartStop();
                else if (control & 4)
                    engine.Reset(false);
                else if (control & 8)
                    engine.SetDirection(static_cast<int16_t>((control >> 4) & 1));
                else if (control & 16)
                    engine.ToggleAdjustment();
                else
                    engine.SetLimitsOn((control & 32) != 0);
                break;
            default:
                g_clock.Advance(0.01);
                if (variant.Channels == 2 && (control & 1)) line = BothChannelReply(line);
                break;
        }
        engine.PowerLog(0, line);
        Check(engine);
    });
    engine.SetAutoRescale(true);
    engine.ApplyChartRange();
    if (!std::isfinite(engine.Chart.YMin) || !std::isfinite(engine.Chart.YMax)) __builtin_trap();
    engine.PowerLog(1, QString());
    Check(engine);
    return 0;
}
