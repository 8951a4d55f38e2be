// Random replies to the listing and download steps of each meter family,
// with the user's choice, the view mode, Cancel and leaving the view in
// between. Nothing may crash or hang, and the counters stay within the log.
//
// Input: byte 0 the meter model, byte 1 the view-mode answer (its value
// mod 6, less 1) and the viewers (the real ones, which then draw what was
// downloaded, when it is 128 or more), byte 2 the firmware; then records of
// one control byte and a line of up to 63 bytes.

#include "fuzz/FuzzTarget.h"
#include "fuzz/FuzzViewers.h"
#include "link/LinkState.h"
#include "meterlogs/LogRetrieval.h"
#include "state/AppState.h"
#include "tests/support/ProgramState.h"
#include "viewers/StoredDataViewer.h"
#include "viewers/Viewers.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace {

QuietPrompts g_prompts;
StepClock g_clock;
FeedPort g_port;

// Counts what it is fed, like a viewer that keeps nothing.
struct CountingViewer : StoredDataViewer {
    void Load(int step, const QString&) override {
        if (step == -1) lines = 0;
        lines += step == 0;
    }
    void ShowData() override {}
    void DataSave(const QString&) override {}
    void Print() override {}
    int64_t lines = 0;
};
std::array<CountingViewer, kViewerKinds> g_viewers;

void Check() {
    const LogTransfer& t = Transfer();
    if (t.DownloadStep == 3 && t.PointsExpected >= 0 && t.PointsReceived > t.PointsExpected) __builtin_trap();
    if (t.ReadFailures >= 3 || t.FileIndex < 0 || t.FileIndex > 11) __builtin_trap();
    for (const CountingViewer& v : g_viewers)
        if (v.lines > t.PointsReceived + 10 && t.Receiver >= 0 && &v == &g_viewers[size_t(t.Receiver)])
            __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    MakeWindowApplication(argc, argv);
    InstallQuietPlatform(argc, argv, g_prompts, g_clock, g_port);
    RealViewers();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    FreshProgramState();
    ForgetViewers();
    UseViewers(data[1] >= 0x80, g_viewers);
    AppState& app = App();
    TestMeter().Connected = true;
    using M = MeterModel;
    static const MeterModel models[] = {M::Talon,  M::MeridelOne, M::MeridelTwo,
                                        M::Talon2, M::Sirka,      M::KorvenTH};
    TestMeter().DeviceType = models[data[0] % 6];
    Link().FirmwareVersion = data[2] / 50.0;
    const int16_t viewMode = int16_t(int(data[1] % 6) - 1);

    uint8_t control = 0;
    int depth = 0;  // a retry inside a retry ends here, as a user would
    app.Shell.SwitchMode = [&](int16_t mode) {
        if (app.ActiveMode == ModeDeviceFile) LeaveDeviceFileView();
        app.ActiveMode = mode;
        if (mode == ModeDeviceFile && ++depth < 4) RetrieveLogs(-1, QString());
    };
    RetrievalHooks& h = MeterLogHooks();
    h.AskViewMode = [&](int16_t, const QString&) { return viewMode; };
    h.ChooseFile = [&](const QStringList& choices) {
        if (control & 1)
            RetrieveLogs(1, QString());
        else
            RetrieveLogs(0, choices.value(control % qMax(1, int(choices.size()))));
    };
    h.LetEventsRun = [&] {
        if ((control & 0x3F) == 0x3F) RetrieveLogFile(QStringLiteral("cancel retrieve"));
    };
    app.Shell.SwitchMode(ModeDeviceFile);

    ForEachStep(data, size, 3, [&](uint8_t step, QString& line) {
        control = step;
        LogTransfer& t = Transfer();
        switch (control >> 6) {
            case 0:  // jump to a step, so that random lines reach every one
                t.RetrieveStep = int16_t(2 + control % 5);
                t.DownloadStep = int16_t((control >> 3) & 3);
                break;
            case 1:
                if (control & 1) app.Shell.SwitchMode(control & 2 ? ModeDeviceFile : ModeNone);
                break;
            default:
                break;
        }
        if (app.ActiveMode == ModeDeviceFile) RetrieveLogs(0, line);
        Check();
    });
    app.Shell.SwitchMode(ModeNone);
    ForgetViewers();
    return 0;
}
