// Saving and printing an energy run.
#include "auxiliary/NotesWindow.h"
#include "charts/SurfaceText.h"
#include "data/DataFileSave.h"
#include "data/LogLines.h"
#include "data/WorkFile.h"
#include "energy/EnergyEngine.h"
#include "platform/Printer.h"
#include "state/AppState.h"
#include "state/Configuration.h"

void EnergyEngine::EnergySave(const QString& fileName) {
    const bool timeStamp = CurrentSettings().Energy.EnergyTimeStamp;
    // Without a working file of this run the store is what holds the data;
    // after a Reset neither holds the discarded run.
    SaveLoggedData(
        fileName, Initialised && workFile_.Complete(), WorkFiles().EnergyWorkFile, HeaderLine(),
        SaveNotes,
        [this, timeStamp] {
            WriteStoredLines(store_, [timeStamp](const EnergyRecord& r) {
                return FormatLogLine(r.Value, r.Time, timeStamp);
            });
        });
    Unsaved = false;
}

void EnergyEngine::EnergyPrint() {
    platform::Printer& printer = platform::printer();
    if (!PrintHistogram(0, Hist, printer, YScale, RelativeUnits,
                        [](platform::Surface& page) { Notes().PrintNotesBox(page); }))
        return ThrowIfPrintFailed(printer);
    platform::Surface& page = printer.Page();
    page.SetForeColor(0);
    PrintAt(page, 0, 5, QStringLiteral("Head: ") + HeadText());
    const double top = Hist.Paper.Top;
    PrintAt(page, 0, top, EnergyStatisticsText(QStringLiteral("Min:  "), stats_.Min, Units()));
    PrintAt(page, 0, top + 6, EnergyStatisticsText(QStringLiteral("Max:  "), stats_.Max, Units()));
    PrintAt(page, 0, top + 12, EnergyStatisticsText(QStringLiteral("Average:  "), stats_.Average(), Units()));
    PrintAt(page, 0, top + 18, EnergyStatisticsText(QStringLiteral("St.Dev.:  "), stats_.StdDev(), Units()));
    PrintAt(page, 0, 12, WindowTitle);
    PrintNonEmptyBars(Hist, printer, YScale, RelativeUnits);
    PrintHistogram(2, Hist, printer, YScale, RelativeUnits);
    ThrowIfPrintFailed(printer);
}
