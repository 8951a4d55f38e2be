// Random file bytes through LoadPcFile, and each of their lines through the
// header and line helpers. Nothing may crash or hang, the loading window is
// gone when a load returns, and memory stays flat over many runs.
//
// Input: byte 0 answers the view-mode dialog (-1 .. 3, its value mod 5) and
// chooses the viewers (the real ones, which then draw what was loaded, when
// its value mod 10 is 5 or more); the rest is the file. With the recording
// viewers a data line beginning "#" makes the viewer refuse it, one
// containing "CANCEL" presses the loading window's Cancel, and one
// containing "TICK" lets 30 ms pass (window events run).

#include "auxiliary/NotesWindow.h"
#include "data/DataFileSave.h"
#include "data/Parsing.h"
#include "data/PcFileFormat.h"
#include "fuzz/FuzzTarget.h"
#include "fuzz/FuzzViewers.h"
#include "link/LinkState.h"
#include "platform/Clock.h"
#include "platform/Prompts.h"
#include "state/AppState.h"
#include "tests/support/QuietPlatform.h"
#include "viewers/LoadingWindow.h"
#include "viewers/PcFileLoader.h"
#include "viewers/StoredDataViewer.h"
#include "viewers/ViewModeDialog.h"
#include "viewers/Viewers.h"

#include <QFile>
#include <QTemporaryDir>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace {

QuietPrompts g_prompts;
StepClock g_clock;
int16_t g_answer = 0;

struct FuzzViewer : StoredDataViewer {
    int16_t kind = 0;
    long lines = 0;
    void Load(int step, const QString& text) override {
        if (step == -1) {
            App().ViewerKind = kind;
            lines = 0;
        } else if (step == 1) {
            App().ViewerKind = -1;
        } else {
            ++lines;
            if (text.startsWith(QLatin1Char('#'))) throw DataFileError("not a number: " + text.left(20));
            if (text.contains(QLatin1String("CANCEL"))) DataLoadCancel();
            if (text.contains(QLatin1String("TICK"))) g_clock.Advance(0.03);
        }
    }
    void ShowData() override {}
    void DataSave(const QString&) override {}
    void Print() override {}
};

std::array<FuzzViewer, kViewerKinds> g_viewers;
void CheckLine(const QString& line) {
    const PcFileHeader h = ReadPcFileHeader(line);
    if (h.kind < 0 || h.kind > 3) __builtin_trap();
    if (!h.headPart.isEmpty() && !h.headPart.startsWith(QLatin1String("; "))) __builtin_trap();
    for (const bool dual : {false, true})
        if (UnitOfHeader(line, dual).isEmpty()) __builtin_trap();
    HeadsOfDualHeader(line);
    QString first, second, rest;
    SplitTabFields(line, first, second, rest);
    // The three pieces are the line itself, cut; no TAB, no pieces.
    const bool tab = line.contains(QLatin1Char('\t'));
    if (first + second + rest != (tab ? line : QString())) __builtin_trap();
    for (int16_t kind = 0; kind <= 3; ++kind)
        for (int16_t mode = -1; mode <= 3; ++mode)
            for (const bool dual : {false, true})
                if (RouteDataLine(line, kind, dual, mode).viewer != ReceivingViewer(kind, dual, mode))
                    __builtin_trap();
    double value = 0;
    if (ParseFileNumber(line, value) && !std::isfinite(value)) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    MakeWindowApplication(argc, argv);  // the loading window and the notes
    platform::setPrompts(&g_prompts);
    platform::setClock(&g_clock);
    for (int16_t k = 0; k < kViewerKinds; ++k) g_viewers[size_t(k)].kind = k;
    RealViewers();
    SetViewModeAnswer([](int16_t, const QString&) { return g_answer; });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("fuzz.pwr"));
    g_answer = int16_t(int(data[0] % 5) - 1);
    const bool real = data[0] % 10 >= 5;
    UseViewers(real, g_viewers);
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return 0;
        f.write(bytes);
    }
    ForgetDualViewMode();
    const int16_t kind = LoadPcFile(path);
    if (kind < 0 || kind > 3 || DataLoadShowing()) __builtin_trap();
    if (real && kind != 3)
        if (StoredDataViewer* v = CurrentViewer()) v->ShowData();
    Notes().ClearNotesBox();

    for (const QByteArray& line : bytes.split('\n')) CheckLine(QString::fromUtf8(line));
    return 0;
}
