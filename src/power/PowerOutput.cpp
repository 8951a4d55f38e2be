// Saving and printing a power-type run.
#include "auxiliary/NotesWindow.h"
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

QString PowerFileHeader(const UnitScale& units, const QString& headNameAndSerial) {
    return QStringLiteral("Power, in ") + UnitLongName(units.BaseUnit) +
           QStringLiteral(" \t Time, in Seconds \t Head: ") + headNameAndSerial;
}

void PowerEngine::PowerSave(const QString& fileName) {
    const int32_t count = PointsOnShow();
    SaveLoggedData(
        fileName, workFile_.Complete(), profile_->WorkFilePath(), profile_->Header(Chart.Units, Heads()),
        SaveNotes,
        [this, count] {
            // Two channels: the channel powers, as the working file holds them.
            const PowerStore& first = profile_->Channels == 1 ? stores_[0] : channelStores_[0];
            BlockLines lines;
            for (int32_t k = 1; k <= count; ++k) {
                const PowerPoint& p = first.PowerData[size_t(k)];
                if (p.PointTime < 0) continue;  // an interval without readings
                const float a = float(PowerStore::PointValue(p));
                if (profile_->Channels == 1) {
                    lines.Add(FormatLogLine(a, p.PointTime, true));
                } else {
                    const float b = float(PowerStore::PointValue(channelStores_[1].PowerData[size_t(k)]));
                    lines.Add(FormatDualLogLine(a, b, p.PointTime, true));
                }
            }
        });
    NotSaved = false;
}

void PowerEngine::PowerPrint() {
    platform::Printer& printer = platform::printer();
    const float span = float(Settings().LogTime);
    ApplyChartRange();
    if (!PrintChart(0, Chart, printer, 0, span, [](platform::Surface& page) { Notes().PrintNotesBox(page); }))
        return ThrowIfPrintFailed(printer);
    PrintTexts(printer.Page());
    ForEachShownPoint([&](const ChartPoint& p) { PrintChartPoint(Chart, printer, p); });
    PrintChart(2, Chart, printer, 0, span);
    ThrowIfPrintFailed(printer);
}

std::array<QString, 4> PowerEngine::StatisticsLines() const {
    const RunningStats& st = Stats();
    auto text = profile_->StatText;
    return {text(*this, kMinPrefix, st.Min, false), text(*this, kMaxPrefix, st.Max, false),
            text(*this, kAveragePrefix, st.Average(), false), text(*this, kStDevPrefix, st.StdDev(), true)};
}

void PowerEngine::PrintTexts(platform::Surface& page) const {
    auto textAt = [&page](double x, double y, const QString& text) {
        page.SetCurrentX(x);
        page.SetCurrentY(y);
        page.Print(text);
    };
    page.SetForeColor(0);
    const std::array<QString, 2> heads = Heads();
    if (profile_->Channels == 1)
        textAt(0, 5, QStringLiteral("Head: ") + heads[0]);
    else
        textAt(0, 5,
               QStringLiteral("Channel A: ") + heads[0] + QStringLiteral(" Channel B: ") + heads[1] +
                   QStringLiteral(" (") + QString::fromLatin1(profile_->DirectionNames[size_t(Direction)]) +
                   QStringLiteral(")"));
    const std::array<QString, 4> stats = StatisticsLines();
    for (size_t i = 0; i < stats.size(); ++i) textAt(0, 10 + 5 * double(i), stats[i]);
    if (profile_->AdjustText)
        textAt(0, 30, QString::fromLatin1(profile_->AdjustPrintPrefix) + Display.AdjustLabel);
    textAt(95, 50, QString::fromLatin1(profile_->Caption));
}
