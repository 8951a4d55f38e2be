#pragma once

#include "charts/StripChart.h"
#include "data/Statistics.h"
#include "data/WorkFile.h"
#include "power/PowerStore.h"

#include <QString>
#include <array>
#include <cstdint>
#include <functional>

namespace platform {
class Surface;
}

// What the engine asks of the window that shows it. Unset hooks do nothing.
struct PowerViewHooks {
    std::function<void()> DisplayChanged;  // captions, read-out, statistics or visibility changed
    std::function<void()> PointAdded;      // Chart.LastTime/LastReading/LastIndex hold a new point
    std::function<void()> Redraw;          // lay out and draw the whole chart afresh
    std::function<void()> ReopenSetup;     // the setup dialog was open when Reset was pressed
    std::function<void()> ShowWindow;
    // The trial reading that learns the current channel's unit at a fresh
    // start; empty: the link's DetectReadingUnits.
    std::function<void()> TrialReading;
};

// The real-time power logging of one window: poll states, the point store,
// statistics, read-out texts, the working file, the run's life cycle, and
// saving and printing what was logged. Plain C++: the window only mirrors
// the display fields and draws the chart.
class PowerEngine {
public:
    PowerEngine();

    // op -1: prepare for power mode (and every fresh start); 0: one reply
    // line; 1: leave power mode.
    void PowerLog(int op, const QString& reply);

    void StartStop();  // butStartStop
    void Start();
    void Stop();
    void Reset(bool setupWasOpen);  // butReset
    void PauseGraph(bool pause);
    void SetAutoRescale(bool on);  // chkAutoRescale
    void SetLimitsOn(bool on);     // chkLimitsOn
    void ResetStatistics();
    // The close procedure: asks to save unsaved data; `fromModeSwitch` false
    // also leaves power mode through the main window.
    void Unload(bool fromModeSwitch);

    void PowerSave(const QString& fileName);
    void PowerPrint();
    // The printout's texts: the head line, the four statistics lines, the title.
    void PrintTexts(platform::Surface& page) const;

    // Sets the chart's value range: the logged range for a finished run with
    // rescaling on, the graph limits otherwise.
    void ApplyChartRange();
    // The empty chart for the log time, then every stored point in order.
    void DrawWholeChart(platform::Surface& surface);
    // Points of the run on show: those of the running or stopped run, or of
    // the finished one.
    int32_t PointsOnShow() const { return store_.PointCount > 0 ? store_.PointCount : FinishedPoints; }
    // Puts each shown point into Chart.Last* in turn (empty points skipped)
    // and calls `add` for it: the full redraw and the printout share this walk.
    template <class Add>
    void ForEachShownPoint(Add add);

    const PowerStore& Store() const { return store_; }
    const RunningStats& Stats() const { return stats_; }

    // Display state, mirrored by the window.
    QString Caption;
    QString StartStopCaption;
    QString ReadingText;
    bool ReadingVisible = false;
    bool RescaleVisible = true;
    std::array<QString, 4> StatLabels;  // Min, Max, Average, St.Dev.
    std::array<bool, 4> StatVisible{};

    // Run state.
    int16_t PollState = 0;  // 0 first reply, 2 pulse-ready flag, 3 readings
    bool Stopped = true;
    bool RunActive = false;
    bool NotSaved = false;
    bool AutoRescale = false;
    bool LimitsOn = false;
    bool PausedByCaller = false;
    double StartTime = 0;
    double LastTime = 0;
    double LastReading = 0;
    double LastDisplayTime = 0;
    int32_t FinishedPoints = 0;  // points of the last finished run
    int32_t SkippedChars = 0;
    int16_t SkippedReplies = 0;

    ChartSettings Chart;
    PowerViewHooks View;

private:
    void Reading(const QString& reply);
    void Process(double reading);
    void SendNext();
    void ShowStatistics(bool show);
    void UpdateDisplay(double reading, double now);
    void WriteWorkFileHeader();
    void ClearChart();
    void EndRun(double t, double reading);
    void Changed() { displayDirty_ = true; }
    void Flush();
    QString HeadText() const;

    PowerStore store_;
    RunningStats stats_;
    WorkFileRun workFile_;
    bool anchored_ = false;  // the time base of the run is set by its first reading
    bool displayDirty_ = false;
    bool unloading_ = false;
    QString runHead_;  // head name and serial of the run, taken at its fresh start
};

template <class Add>
void PowerEngine::ForEachShownPoint(Add add) {
    const int32_t count = PointsOnShow();
    int32_t drawn = 0;
    for (int32_t k = 1; k <= count; ++k) {
        const PowerPoint& p = store_.PowerData[size_t(k)];
        if (p.PointTime < 0) continue;
        Chart.LastTime = p.PointTime;
        Chart.LastReading = PowerStore::PointValue(p);
        Chart.LastIndex = drawn++;
        add();
    }
}
