// Saving and printing an energy ratio run.
#include "auxiliary/NotesWindow.h"
#include "charts/SurfaceText.h"
#include "data/Arithmetic.h"
#include "data/DataFileSave.h"
#include "data/LogLines.h"
#include "dual/EnergyRatioEngine.h"
#include "link/MeterIdentity.h"
#include "platform/Printer.h"
#include "state/AppState.h"
#include "state/Configuration.h"

void EnergyRatioEngine::EnergyRatioSave(const QString& fileName) {
    const bool timeStamp = CurrentSettings().EnergyRatio.RatioTimeStamp;
    // Without a working file of this run the store is what holds the data;
    // after a Reset neither holds the discarded run.
    SaveLoggedData(
        fileName, Initialised && workFile_.Complete(), WorkFiles().RatioWorkFile, HeaderLine(),
        SaveNotes,
        [this, timeStamp] {
            WriteStoredLines(store_, [timeStamp](const PairRecord& r) {
                return FormatDualLogLine(r.A, r.B, r.Time, timeStamp);
            });
        });
    Unsaved = false;
}

void EnergyRatioEngine::EnergyRatioPrint() {
    platform::Printer& printer = platform::printer();
    Relayout();  // the chart limits as set now
    if (!PrintScatterFrame(Chart, printer, [](platform::Surface& page) { Notes().PrintNotesBox(page); }))
        return ThrowIfPrintFailed(printer);
    platform::Surface& page = printer.Page();
    page.SetForeColor(0);
    auto head = [](int c) {
        return Meter().Channels[size_t(c)].HeadName + Meter().Channels[size_t(c)].HeadSerial;
    };
    PrintAt(page, 0, 5, QStringLiteral("Channel A: ") + head(0) + QStringLiteral("; Channel B: ") + head(1));
    PrintAt(page, 0, 12,
            QStringLiteral("Real-Time Energy Ratio Logging(") + (RatioMode == 1 ? "B/A" : "A/B") +
                QLatin1Char(')'));
    const double top = Chart.Paper.Top;
    for (size_t i = 0; i < 4; ++i) PrintAt(page, 0, top + 6 * double(i), StatisticText(i));
    PrintAt(page, 0, top + 24,
            QStringLiteral("Norm. Factor:  ") +
                (Normalized ? FormatScientific(NormFactor) : QStringLiteral("None")));
    ReplayScatter(Chart.Paper, page, store_.Count(), StoredPoints());
    printer.EndDoc();
    ThrowIfPrintFailed(printer);
}
