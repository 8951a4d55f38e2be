// Saving and printing a power run.
#include "auxiliary/frmNotes.h"
#include "data/DataFileSave.h"
#include "data/LogLines.h"
#include "data/Overrange.h"
#include "data/Units.h"
#include "data/WorkFile.h"
#include "platform/Printer.h"
#include "power/PowerEngine.h"
#include "power/PowerFile.h"
#include "power/PowerTexts.h"
#include "state/AppState.h"

QString PowerFileHeader(const QString& headNameAndSerial) {
    return QStringLiteral("Power, in ") + UnitLongName(App().BaseUnit) +
           QStringLiteral(" \t Time, in Seconds \t Head: ") + headNameAndSerial;
}

void PowerEngine::PowerSave(const QString& fileName) {
    const int32_t count = PointsOnShow();
    SaveLoggedData(
        fileName, workFile_.Complete(), App().WorkFileName, PowerFileHeader(HeadText()),
        [] { Notes().SaveNotesBox(); },
        [this, count] {
            for (int32_t k = 1; k <= count; ++k) {
                const PowerPoint& p = store_.PowerData[size_t(k)];
                if (p.PointTime < 0) continue;  // an interval without readings
                WorkFile(3, FormatLogLine(float(PowerStore::PointValue(p)), p.PointTime, true));
            }
        });
    NotSaved = false;
}

void PowerEngine::PowerPrint() {
    platform::Printer& printer = platform::printer();
    const float span = float(App().Config.Power.LogTime);
    ApplyChartRange();
    if (!PrintChart(0, Chart, printer, 0, span, [](platform::Surface& page) { Notes().PrintNotesBox(page); }))
        return ThrowIfPrintFailed(printer);
    PrintTexts(printer.Page());
    ForEachShownPoint([&] { PrintChart(1, Chart, printer, 0, span); });
    PrintChart(2, Chart, printer, 0, span);
    ThrowIfPrintFailed(printer);
}

void PowerEngine::PrintTexts(platform::Surface& page) const {
    auto textAt = [&page](double x, double y, const QString& text) {
        page.SetCurrentX(x);
        page.SetCurrentY(y);
        page.Print(text);
    };
    page.SetForeColor(0);
    textAt(0, 5, QStringLiteral("Head: ") + HeadText());
    textAt(0, 10, StatisticsText(kMinPrefix, stats_.Min));
    textAt(0, 15, StatisticsText(kMaxPrefix, stats_.Max));
    textAt(0, 20, StatisticsText(kAveragePrefix, stats_.Average()));
    textAt(0, 25, StatisticsText(kStDevPrefix, stats_.StdDev()));
    textAt(95, 50, QStringLiteral("Real-Time Power Logging"));
}
