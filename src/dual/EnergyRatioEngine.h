#pragma once

#include "charts/ScatterChart.h"
#include "data/ChannelPairing.h"
#include "data/ReadingStore.h"
#include "data/Readout.h"
#include "data/Statistics.h"
#include "data/WorkFile.h"
#include "energy/PulseRun.h"
#include "link/Dispatch.h"

#include <QString>
#include <array>
#include <cstdint>
#include <functional>

// One stored pulse pair: both channels' energies in joules (or the
// over-range mark) and, with time stamps on, seconds from the start of the run.
struct PairRecord {
    float A = 0;
    float B = 0;
    double Time = 0;
};

// What an energy ratio window shows besides the chart, as the engine hands it over.
struct EnergyRatioDisplay : PulseDisplay {
    QString NormalizeCaption = QStringLiteral("Normalize");
    QString RatioText;  // lblEnergyRatio
    bool RatioVisible = false;
    QString NormaText = QStringLiteral("None");  // lblNorma
    std::array<QString, 4> StatLabels;           // Min, Max, Average, St.Dev.
    std::array<bool, 4> StatVisible{};
    int16_t RatioMode = 0;  // the direction shown
};

// What the engine asks of the window that shows it. Unset hooks do nothing.
struct EnergyRatioViewHooks {
    // Captions, read-out or statistics changed: all of it, once per step
    // that changed any.
    std::function<void(const EnergyRatioDisplay&)> DisplayChanged;
    std::function<void(double a, double y)> PointAdded;  // draw one point of the chart
    std::function<void()> Redraw;                        // lay out and draw the chart afresh from the store
    std::function<void()> ShowWindow;
    std::function<void()> ReopenSetup;  // the setup dialog was open when Reset was pressed
};

// The real-time energy ratio logging of the two-channel meter: "SB" replies
// paired across channels, both ratios with statistics per direction, the
// store of pairs with its rate filter, the working file, the run's life
// cycle, normalisation, saving and printing. Plain C++: the window shows
// the display record it is handed and draws the scatter chart.
class EnergyRatioEngine : public PulseRun {
public:
    EnergyRatioEngine();

    // The mode as the shell drives it.
    ModeTraits Traits(int16_t code) const override;
    void Begin() override;
    void Reply(QString& line) override { EnergyRatioLog(0, line); }
    void Refused(QString& line) override { EnergyRatioLog(kRefusedReplyOp, line); }
    void End() override;
    void Save(const QString& fileName) override { EnergyRatioSave(fileName); }
    void Print() override { EnergyRatioPrint(); }
    std::optional<RunProgress> Progress() const override;

    // -1 reset and show; 0 one reply line (cleared); 1 leave the mode;
    // kRefusedReplyOp the meter refused the last request.
    void EnergyRatioLog(int action, QString& reply);

    void Start() override;
    void Stop() override;
    void Reset(bool reopenSetup);  // butReset
    void ResetStatistics();
    // fromModeSwitch false: closed by the user, leave the mode too. False when
    // the user cancelled the save reminder: nothing was closed.
    bool Unload(bool fromModeSwitch);
    void PauseChart(bool pause);

    void SetRatioMode(int16_t mode);  // cmbRatioMode
    void Normalize();                 // butNormalize

    void EnergyRatioSave(const QString& fileName);
    void EnergyRatioPrint();

    // The data side of the layout: chart limits and statistics lines, handed
    // over with the rest of the display.
    void PrepareLayout();
    // The empty chart, then every k-th stored pair with the current direction and factor.
    void DrawWholeChart(platform::Surface& surface);
    QString HeaderLine() const;

    const ReadingStore<PairRecord>& Store() const { return store_; }
    const RunningStats& Stats(int direction) const { return stats_[size_t(direction & 1)]; }
    const ChannelPairing& Pairing() const { return pairing_; }

    // What the window is to show, handed to it through View.DisplayChanged.
    EnergyRatioDisplay Display;

    // Run state.
    int16_t RatioMode = 0;  // 0 A/B, 1 B/A
    double NormFactor = 1;
    bool Normalized = false;
    std::array<double, 2> Ratio{};  // A/B and B/A of the latest pair, factor 1
    DualChartSpec Chart;
    EnergyRatioViewHooks View;

private:
    void ProcessPair(const QString& reply);
    void Publish(double a, double b, double ratio, bool over);  // to the mode's observers
    void SendSB();
    void ShowStatistics(bool show);
    void StoreReading(double a, double b);
    void BufferReading(double a, double b);
    void ResetNormalization();
    void Relayout();
    PulseDisplay& RunDisplay() override { return Display; }
    void HandDisplay() override;
    // The stored pairs as chart points: the ratio of the current direction and factor.
    ScatterSource StoredPoints() const;
    // "Min:  1.23 E-03": statistic i of the current direction, times the factor.
    QString StatisticText(size_t i) const;

    ReadingStore<PairRecord> store_;
    StorageRateFilter filterA_, filterB_;
    WorkFileRun workFile_;
    ChannelPairing pairing_;
    std::array<RunningStats, 2> stats_;
    ReadoutThrottle throttle_{0.3};
    RefusedReplies refusals_;
    bool paused_ = false;
};
