#pragma once

#include "charts/ChartCursor.h"
#include "charts/StripChart.h"
#include "data/ChannelPairing.h"
#include "data/Statistics.h"
#include "data/WorkFile.h"
#include "link/Dispatch.h"
#include "power/PowerProfile.h"
#include "power/PowerStore.h"
#include "state/AppState.h"
#include "state/Mode.h"

#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace platform {
class Surface;
}

// What a power window shows besides the chart, as the engine hands it over.
struct PowerDisplay {
    QString Caption;
    QString StartStopCaption;
    QString ReadingText;
    bool ReadingVisible = false;
    bool RescaleVisible = true;
    std::array<QString, 4> StatLabels;  // Min, Max, Average, St.Dev.
    std::array<bool, 4> StatVisible{};
    QString AdjustCaption;  // butNormalize / butOffset
    QString AdjustLabel;    // lblNorma / lblOffset
    int16_t Direction = 0;  // the direction shown
};

// What the engine asks of the window that shows it. Unset hooks do nothing.
struct PowerViewHooks {
    // Captions, read-out, statistics or visibility changed: all of it, once
    // per step that changed any.
    std::function<void(const PowerDisplay&)> DisplayChanged;
    std::function<void(const ChartPoint&)> PointAdded;  // draw this new point
    std::function<void()> Redraw;                       // lay out and draw the whole chart afresh
    std::function<void()> ReopenSetup;                  // the setup dialog was open when Reset was pressed
    std::function<void()> ShowWindow;
    // The trial reading that learns the current channel's unit at a fresh
    // start; empty: the link's DetectReadingUnits.
    std::function<void()> TrialReading;
};

// The real-time power logging of one window: poll states, the point store,
// statistics, read-out texts, the working file, the run's life cycle, and
// saving and printing what was logged. Plain C++: the window only mirrors
// the display fields and draws the chart. The profile says which variant
// it logs; two-channel variants keep both directions (A/B and B/A, or A-B
// and B-A) in two stores and two sets of statistics, so a change of
// direction redraws without loss.
class PowerEngine : public Mode {
public:
    explicit PowerEngine(const PowerProfile& profile = kPowerProfile);

    // The mode as the shell drives it.
    ModeTraits Traits(int16_t code) const override;
    // A fresh entry: nothing unsaved, the first direction unadjusted, and
    // the units of the head now selected, so the empty chart and the setup
    // name them before the first Start.
    void Begin() override;
    void Reply(QString& line) override { PowerLog(0, line); }
    void Refused(QString& line) override { PowerLog(kRefusedReplyOp, line); }
    void End() override;
    void Save(const QString& fileName) override { PowerSave(fileName); }
    void Print() override { PowerPrint(); }
    void Pause(bool on) override { PauseGraph(on); }
    bool HasUnsaved() const override;
    bool MayLeave() override { return MayDiscard(); }
    void Resume() override;
    void Interrupt() override;

    // op -1: prepare for power mode (and every fresh start); 0: one reply
    // line; 1: leave power mode; kRefusedReplyOp: the meter refused the
    // last request.
    void PowerLog(int op, const QString& reply);

    void StartStop();  // butStartStop
    void Start();
    void Stop();
    void Reset(bool setupWasOpen);  // butReset
    void PauseGraph(bool pause);
    void SetAutoRescale(bool on);  // chkAutoRescale
    // chkAutoScale: the chart's range follows the data while it comes in.
    void SetAutoScale(bool on);
    // How far the run has come, for the status strip.
    std::optional<RunProgress> Progress() const override;
    void SetLimitsOn(bool on);  // chkLimitsOn
    // The direction shown (0 A/B or A-B, 1 the other way); a change undoes
    // the adjustment and redraws from the other direction's store.
    void SetDirection(int16_t direction);
    // Normalize / Offset and their undo: the factor is 1 / the running
    // average (an average of 0 beeps and changes nothing), the offset the
    // running average, of the direction shown.
    void ToggleAdjustment();
    void ResetStatistics();
    // The close procedure: asks to save unsaved data; `fromModeSwitch` false
    // also leaves power mode through the main window. False when the user
    // cancelled the question: nothing was closed.
    bool Unload(bool fromModeSwitch);
    // Before the run is discarded or left: the save reminder when it holds
    // unsaved data. False when the user keeps it; a running run goes on.
    bool MayDiscard();

    void PowerSave(const QString& fileName);
    void PowerPrint();
    // The printout's texts: the head line, the four statistics lines, the title.
    void PrintTexts(platform::Surface& page) const;
    // Min, Max, Average and St.Dev. of the direction shown, as displayed.
    std::array<QString, 4> StatisticsLines() const;

    // Sets the chart's value range: the logged range for a finished run with
    // rescaling on, the graph limits otherwise.
    void ApplyChartRange();
    // The empty chart for the log time, then every stored point in order.
    void DrawWholeChart(platform::Surface& surface);
    // Points of the run on show: those of the running or stopped run, or of
    // the finished one.
    int32_t PointsOnShow() const { return Store().PointCount > 0 ? Store().PointCount : FinishedPoints; }
    // Calls `add` with each shown point in turn (empty points skipped): the
    // full redraw and the printout share this walk.
    template <class Add>
    void ForEachShownPoint(Add add);

    // The store and statistics of the direction shown, or of one direction.
    const PowerStore& Store() const { return stores_[size_t(Direction)]; }
    const RunningStats& Stats() const { return stats_[size_t(Direction)]; }
    const PowerStore& Store(int direction) const { return stores_[size_t(direction & 1)]; }
    // Two channels: the store of channel A's (0) or B's (1) powers, point for
    // point beside the combined values.
    const PowerStore& ChannelStore(int channel) const { return channelStores_[size_t(channel & 1)]; }
    const RunningStats& Stats(int direction) const { return stats_[size_t(direction & 1)]; }
    const PowerProfile& Profile() const { return *profile_; }
    PowerRunSettings Settings() const { return profile_->Settings(); }
    // A stored value as drawn and shown: adjusted, over range left as it is.
    double Shown(double value) const;
    // Head name and serial of channel A (or the current channel) and B.
    std::array<QString, 2> Heads() const;

    // What the window is to show, handed to it through View.DisplayChanged.
    PowerDisplay Display;

    // Run state.
    int16_t PollState = 0;  // 0 first reply, 2 pulse-ready flag, 3 (1 two channels) readings
    int16_t Direction = 0;  // RatioMode / DifferenceMode
    bool Adjusted = false;  // Normalized / OffsetOn
    double Scale = 1;       // NormFactor
    double Shift = 0;       // PowerOffset
    ChannelPairing Pairing;
    bool Stopped = true;
    bool RunActive = false;
    bool NotSaved = false;
    bool AutoRescale = false;
    bool AutoScale = false;
    bool LimitsOn = false;
    bool PausedByCaller = false;
    double StartTime = 0;
    double LastTime = 0;
    double LastReading = 0;
    double LastDisplayTime = 0;
    int32_t FinishedPoints = 0;  // points of the last finished run
    int64_t Readings = 0;        // readings taken in the run
    double RunSeconds = 0;       // run time of the latest reading
    int32_t SkippedChars = 0;
    int16_t SkippedReplies = 0;

    ChartSettings Chart;
    PowerViewHooks View;

private:
    void Reading(const QString& reply);
    bool TakeValues(const QString& text, std::array<double, 2>& channels, std::array<double, 2>& values);
    void Process(const std::array<double, 2>& channels, const std::array<double, 2>& values);
    void SendNext();
    // Logging from the run's first request on: its reply is checked for a
    // refusal and only opens the polling.
    void Running();
    void Publish(double value, double t, const std::array<double, 2>& channels);
    void ShowStatistics(bool show);
    void UpdateDisplay(double reading, double now);
    void WriteWorkFileHeader();
    void ClearStores();
    void ClearChart();
    void EndRun(double t, double reading);
    void UndoAdjustment();
    void AfterViewChange();
    void Changed() { displayDirty_ = true; }
    void Flush();
    // The auto-scaled range of the data shown, if there is one to follow.
    std::optional<ChartRange> DataRange() const;

    const PowerProfile* profile_;
    std::array<PowerStore, 2> stores_;         // by direction; one channel uses the first
    std::array<PowerStore, 2> channelStores_;  // two channels: the powers they were made of
    std::array<RunningStats, 2> stats_;
    WorkFileRun workFile_;
    RefusedReplies refusals_;
    bool anchored_ = false;  // the time base of the run is set by its first reading
    bool displayDirty_ = false;
    bool unloading_ = false;
    std::array<QString, 2> runHeads_;  // head names and serials of the run, taken at its fresh start
    std::vector<double> gaps_;         // run times of the first readings after the meter was away
    bool gapPending_ = false;          // the next reading is the first after a return
};

template <class Add>
void PowerEngine::ForEachShownPoint(Add add) {
    const int32_t count = PointsOnShow();
    int32_t drawn = 0;
    size_t gap = 0;
    for (int32_t k = 1; k <= count; ++k) {
        const PowerPoint& p = Store().PowerData[size_t(k)];
        if (p.PointTime < 0) continue;
        // A return of the meter since the point before breaks the line here.
        bool afterGap = false;
        for (; gap < gaps_.size() && gaps_[gap] <= p.PointTime; ++gap) afterGap = true;
        add(ChartPoint{p.PointTime, Shown(PowerStore::PointValue(p)), drawn++,
                       BandOf(p, [this](double v) { return Shown(v); }), afterGap});
    }
}
