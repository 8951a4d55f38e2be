// Random chunks through ReceiveEvent and the reply dispatch, during
// identification and in the terminal and logging modes. The first bytes
// choose the scene; each later byte n starts a chunk of n % 64 bytes.

#include "fuzz/FuzzTarget.h"
#include "link/Link.h"
#include "platform/Clock.h"
#include "platform/Prompts.h"
#include "platform/SerialPort.h"
#include "state/AppState.h"
#include "tests/support/ProgramState.h"
#include "tests/support/QuietPlatform.h"
#include "tests/support/RecordingMode.h"

#include <QCoreApplication>
#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>

namespace {

QuietPrompts g_prompts;
StepClock g_clock{100};
FeedPort g_port;
// Every mode, so lines that reach a mode are seen.
std::array<RecordingMode, ModeRegistry::kCodes> g_modes;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    InstallQuietPlatform(argc, argv, g_prompts, g_clock, g_port);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    FreshProgramState();
    TrafficLog(TrafficClear);
    AppState& app = App();
    TestMeter().Connected = true;
    TestMeter().DeviceType = MeterModel(data[0] % 9);
    TestMeter().CurrentChannel = data[1] & 1;
    qint64 modeChars = 0;
    for (int16_t code = 1; code < ModeRegistry::kCodes; ++code) {
        g_modes[size_t(code)].RegisterAs(code);
        g_modes[size_t(code)].Entry = [&modeChars](int, QString& t) { modeChars += t.size(); };
    }

    ProtocolState& s = Link();
    const int scene = data[2] % 6;
    switch (scene) {
        case 0:
            s.AwaitDeviceIdent = true;
            break;
        case 1:
            s.AwaitHeadIdent = true;
            s.IdentStep = static_cast<int16_t>(1 + data[1] % 8);
            break;
        case 2:
            s.AwaitChannelSelect = true;
            s.TargetChannel = data[1] & 1;
            break;
        case 3:
            s.AwaitHeadType = true;
            s.AwaitHeadInfo = (data[1] & 2) != 0;
            break;
        case 4:
            app.ActiveMode = ModeTerminal;
            break;
        default:
            app.ActiveMode = static_cast<int16_t>(data[1] % 14);
            app.ModeCheckPending = true;
            break;
    }

    size_t pos = 3;
    while (pos < size) {
        const size_t len = data[pos] % 64;
        ++pos;
        const size_t take = std::min(len, size - pos);
        g_port.pending = QByteArray(reinterpret_cast<const char*>(data + pos), static_cast<qsizetype>(take));
        pos += take;
        MSComm1_OnComm(g_port.CommEvent());
        g_clock.Advance(0.05);
        Timer2_Timer();
    }

    // Nothing the meter says may grow the link's memory without bound.
    if (s.LineBuffer.size() > kLineBufferLimit) __builtin_trap();
    if (TrafficLogData().Count > 9999) __builtin_trap();
    return 0;
}
