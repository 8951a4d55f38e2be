#pragma once

#include "charts/Histogram.h"
#include "data/ReadingStore.h"
#include "data/Readout.h"
#include "data/Statistics.h"
#include "data/Units.h"
#include "data/WorkFile.h"
#include "energy/PulseRun.h"

#include <QString>
#include <array>
#include <cstdint>
#include <functional>

namespace platform {
class Surface;
}

// One stored pulse: its energy (or the over-range mark) and, with time
// stamps on, seconds from the start of the run.
struct EnergyRecord {
    float Value = 0;
    double Time = 0;
};

// "Min:  12.34mJ": the prefix, then the value in its own prefix of
// `units` with "###0.00", and the unit.
QString EnergyStatisticsText(const QString& prefix, double value, const UnitScale& units);

// What an energy window shows besides the histogram, as the engine hands it over.
struct EnergyDisplay : PulseDisplay {
    QString EnergyText;
    bool EnergyVisible = false;
    bool ReadyVisible = false;
    bool ReadyGreen = false;
    // Min, Max, Average, St.Dev., Pulses, Overranged.
    std::array<QString, 6> StatLabels;
    std::array<bool, 6> StatVisible{};
};

// What the engine asks of the window that shows it. Unset hooks do nothing.
struct EnergyViewHooks {
    // Captions, read-out, statistics or visibility changed: all of it, once
    // per step that changed any.
    std::function<void(const EnergyDisplay&)> DisplayChanged;
    std::function<void(int bin)> BarAdded;  // a pulse was counted: draw the bar of its bin
    std::function<void()> Redraw;           // form_Resize: lay out and draw the histogram afresh
    std::function<void()> ShowWindow;
    std::function<void()> ReopenSetup;  // the setup dialog was open when Reset was pressed
};

// The real-time energy and rapid-pulse logging of one window: the query
// cycle, binning, statistics, the store and its rate filter, the working
// file, the run's life cycle, saving and printing. Plain C++: the window
// shows the display record it is handed and draws the histogram.
class EnergyEngine : public PulseRun {
public:
    EnergyEngine();

    // The mode as the shell drives it, for energy and rapid pulse alike.
    ModeTraits Traits(int16_t code) const override;
    void Begin() override {
        StartEnergy();
        PublishBegan();
    }
    void Reply(QString& line) override { EnergyLog(0, line); }
    void End() override;
    void Save(const QString& fileName) override { EnergySave(fileName); }
    void Print() override { EnergyPrint(); }
    std::optional<RunProgress> Progress() const override;

    // Titles, units and buffers for the mode now entered (energy or rapid pulse).
    void StartEnergy();
    // -1 reset and show; 0 one reply line (cleared); 1 leave the mode.
    void EnergyLog(int action, QString& reply);

    void Start() override;
    void Stop() override;
    void Reset(bool reopenSetup);  // butReset
    void ResetStatistics();
    // The close procedure; `fromModeSwitch` false also leaves the mode
    // through the main window. False when the user cancelled the save
    // reminder: nothing was closed.
    bool Unload(bool fromModeSwitch);

    void EnergySave(const QString& fileName);
    void EnergyPrint();

    // The data side of form_Resize: before a run, new bins and y scale
    // from the settings; the display style; the statistics lines, handed
    // over with the rest of the display.
    void PrepareLayout();
    // The empty histogram, then every non-empty bar.
    void DrawWholeHistogram(platform::Surface& surface, const std::function<void()>& relayout);
    // The first line of the run's files.
    QString HeaderLine() const;

    const ReadingStore<EnergyRecord>& Store() const { return store_; }
    const RunningStats& Stats() const { return stats_; }
    bool RapidPulse() const { return rapidPulse_; }

    // What the window is to show, handed to it through View.DisplayChanged.
    EnergyDisplay Display;

    // Run state.
    QString WindowTitle;
    QString AxisTitle;
    bool RelativeUnits = false;
    UnitScale Units() const { return {QStringLiteral("W"), RelativeUnits}; }
    int32_t OverCount = 0;
    int32_t YScale = 100;
    HistogramSpec Hist;
    EnergyViewHooks View;

private:
    void ProcessReading(const QString& reply);
    void Publish(double value, bool over);  // to the mode's observers
    void SendNext(bool afterReading);
    void ShowStatistics(bool show);
    void StoreReading(double value);
    void BufferReading(double value);
    void ClearHistogram();
    void Relayout();
    PulseDisplay& RunDisplay() override { return Display; }
    void HandDisplay() override {
        if (View.DisplayChanged) View.DisplayChanged(Display);
    }
    QString HeadText() const;

    ReadingStore<EnergyRecord> store_;
    StorageRateFilter filter_;
    WorkFileRun workFile_;
    RunningStats stats_;
    ReadoutThrottle throttle_{0.3};
    bool rapidPulse_ = false;
    int lastBin_ = 0;  // the bin of the latest pulse in range (an over-range one draws it again)
    QString runHead_;  // head name and serial of the run, taken at its fresh start
};
