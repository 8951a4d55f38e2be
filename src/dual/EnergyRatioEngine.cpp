#include "dual/EnergyRatioEngine.h"

#include "data/Arithmetic.h"
#include "data/FileCommand.h"
#include "data/LogLines.h"
#include "data/Overrange.h"
#include "data/Parsing.h"
#include "data/TimeBase.h"
#include "dual/DualTexts.h"
#include "link/MeterIdentity.h"
#include "link/Transaction.h"
#include "platform/Clock.h"
#include "platform/Prompts.h"
#include "platform/SerialPort.h"
#include "state/AppState.h"
#include "state/Configuration.h"

#include <cmath>

namespace {

const std::array<QString, 4> kStatPrefixes = {QStringLiteral("Min:  "), QStringLiteral("Max:  "),
                                              QStringLiteral("Average:  "), QStringLiteral("St.Dev.:  ")};
constexpr double kSbTimeout = double(0.3f);

const ChannelInfo& Head(int channel) {
    return Meter().Channels[size_t(channel)];
}

QString HeadText(int channel) {
    return Head(channel).HeadName + Head(channel).HeadSerial;
}

}  // namespace

ModeTraits EnergyRatioEngine::Traits(int16_t) const {
    ModeTraits t;
    t.Start = StartOrder::AfterBegin;
    t.PassesRefusals = true;
    t.ReadsBothChannels = true;
    return t;
}

void EnergyRatioEngine::Begin() {
    QString none;
    EnergyRatioLog(-1, none);
    PublishBegan();
}

void EnergyRatioEngine::End() {
    QString none;
    EnergyRatioLog(1, none);
    PublishEnded();
}

std::optional<RunProgress> EnergyRatioEngine::Progress() const {
    return PulseProgress(*this, Stats(0).Count);
}

EnergyRatioEngine::EnergyRatioEngine() {
    Display.Caption = QStringLiteral("Real-Time Energy Ratio Logging");
    Display.StatLabels = kStatPrefixes;
}

void EnergyRatioEngine::Relayout() {
    if (View.Redraw)
        View.Redraw();
    else
        PrepareLayout();
}

void EnergyRatioEngine::PrepareLayout() {
    const EnergyRatioSettings& cfg = CurrentSettings().EnergyRatio;
    Chart.EnergyLow = float(cfg.RatioEnergyLow);
    Chart.EnergyHigh = float(cfg.RatioEnergyHigh);
    Chart.RatioLow = float(cfg.RatioLowLimit);
    Chart.RatioHigh = float(cfg.RatioHighLimit);
    Chart.GridStyle = cfg.RatioGridStyle;
    if (Stopped) ShowStatistics(true);  // during a run the lines stay hidden until the next refresh
    Flush();
}

void EnergyRatioEngine::HandDisplay() {
    Display.RatioMode = RatioMode;
    if (View.DisplayChanged) View.DisplayChanged(Display);
}

void EnergyRatioEngine::DrawWholeChart(platform::Surface& surface) {
    DrawScatterFrame(Chart, surface);
    ReplayScatter(Chart.Screen, surface, store_.Count(), StoredPoints());
}

ScatterSource EnergyRatioEngine::StoredPoints() const {
    return [this](int32_t i, double& a, double& y) {
        const PairRecord& r = store_.OldestFirst(i);
        a = r.A;
        return RatioOf(RatioMode, NormFactor, r.A, r.B, y);
    };
}

QString EnergyRatioEngine::StatisticText(size_t i) const {
    const RunningStats& s = stats_[size_t(RatioMode)];
    const double values[] = {s.Min, s.Max, s.Average(), s.StdDev()};
    return RatioStatisticsText(kStatPrefixes[i], values[i], NormFactor);
}

void EnergyRatioEngine::ResetStatistics() {
    for (RunningStats& s : stats_) s.Reset();
    Display.StatLabels = kStatPrefixes;
    Changed();
}

void EnergyRatioEngine::ShowStatistics(bool show) {
    if (!show) {
        Display.StatVisible = {};
        Changed();
        return;
    }
    if (!stats_[size_t(RatioMode)].Empty())
        for (size_t i = 0; i < 4; ++i) Display.StatLabels[i] = StatisticText(i);
    const StatVisibility v = VisibleStatistics(CurrentSettings().EnergyRatio.RatioStatistics);
    Display.StatVisible = {v.MinMax, v.MinMax, v.AvgDev, v.AvgDev};
    Changed();
}

void EnergyRatioEngine::EnergyRatioLog(int action, QString& reply) {
    switch (action) {
        case -1:
            Display.StartStopCaption = QStringLiteral("&Start");
            Stopped = true;
            pairing_.Reset();
            Relayout();
            if (View.ShowWindow) View.ShowWindow();
            ResetStatistics();
            Display.RatioVisible = false;
            Changed();
            break;
        case kRefusedReplyOp:
            if (Stopped) break;
            reply.clear();
            if (refusals_.Refused()) {
                Stop();
                Flush();
                return RefusedReplies::Tell();
            }
            SendSB();
            break;
        case 0:
            if (Stopped) break;
            refusals_.Answered();
            if (PollState == 0) {
                Display.RatioText.clear();
                Changed();
            } else {
                ProcessPair(reply);
            }
            reply.clear();
            PollState = 1;
            SendSB();
            break;
        case 1:
            Display.RatioVisible = false;
            Changed();
            Unload(true);
            break;
        default:
            break;
    }
    Flush();
}

void EnergyRatioEngine::SendSB() {
    SendCommand(platform::serialPort(), QStringLiteral("SB"), kSbTimeout, true);
}

void EnergyRatioEngine::ProcessPair(const QString& reply) {
    const int star = reply.indexOf(QLatin1Char('*'));
    if (star < 0) return;
    QString text = reply.mid(star + 1);
    text.chop(1);  // the carriage return
    QString tokenA, tokenB;
    if (!pairing_.Take(text, tokenA, tokenB)) return;
    double a = 0, b = 0;
    std::array<double, 2> r{};
    if (!ParseReading(tokenA, a) || !ParseReading(tokenB, b) || !StorableAsSingle(a) ||
        !StorableAsSingle(b) || !RatioOf(0, 1, a, b, r[0]) || !RatioOf(1, 1, a, b, r[1])) {
        pairing_.Drop();
        return;
    }
    Ratio = r;
    LastTime = platform::clock().SecondsSinceMidnight();
    StoreReading(a, b);
    for (size_t d = 0; d < 2; ++d) stats_[d].Add(r[d]);

    const double ratio = r[size_t(RatioMode)];
    const bool over = IsOverrange(ratio);
    if (View.PointAdded) View.PointAdded(a, over ? ratio : ratio * NormFactor);
    Publish(a, b, over ? ratio : ratio * NormFactor, over);
    if (over) {
        platform::prompts().Beep();
        Display.RatioText = QStringLiteral("Overrange");
        Changed();
    } else if (throttle_.Due(LastTime)) {
        ShowStatistics(true);
        Display.RatioText = RatioDisplayText(ratio, NormFactor);
        Changed();
    }
}

void EnergyRatioEngine::Publish(double a, double b, double ratio, bool over) {
    const RunningStats& st = stats_[size_t(RatioMode)];
    ::Reading r;
    r.Value = ratio;
    r.Channel = 2;
    r.Time = ElapsedSeconds(StartTime, LastTime);
    r.OverRange = over;
    r.Stats = {st.Count, st.Min, st.Max, st.Average(), st.StdDev()};
    r.ChannelValues = std::array<double, 2>{a, b};
    r.ChannelUnit = QStringLiteral("J");
    PublishReading(r);
}

void EnergyRatioEngine::StoreReading(double a, double b) {
    const EnergyRatioSettings& cfg = CurrentSettings().EnergyRatio;
    if (store_.Full(cfg.RatioStorageMode == 1)) return;
    // Both channels run through filters of their own, in step: averaged separately.
    double storedA = 0, storedB = 0;
    const bool takeA = filterA_.Take(a, cfg.RatioStorageRate, cfg.RatioStorageStyle, storedA);
    const bool takeB = filterB_.Take(b, cfg.RatioStorageRate, cfg.RatioStorageStyle, storedB);
    if (takeA && takeB) BufferReading(storedA, storedB);
}

void EnergyRatioEngine::BufferReading(double a, double b) {
    const EnergyRatioSettings& cfg = CurrentSettings().EnergyRatio;
    const double t = cfg.RatioTimeStamp ? ElapsedSeconds(StartTime, LastTime) : 0;
    workFile_.Append(FormatDualLogLine(float(a), float(b), t, cfg.RatioTimeStamp));
    store_.Put({float(a), float(b), t}, cfg.RatioStorageMode == 1);
    Unsaved = true;
}

QString EnergyRatioEngine::HeaderLine() const {
    const QString heads =
        QStringLiteral(" Head A: ") + HeadText(0) + QStringLiteral("\t Head B: ") + HeadText(1);
    const QString channels = QStringLiteral("Energy, J Channel A\t Channel B \t");
    if (CurrentSettings().EnergyRatio.RatioTimeStamp)
        return channels + QStringLiteral(" Time, Seconds\t") + heads;
    return channels + heads;
}

void EnergyRatioEngine::ResetNormalization() {
    Display.NormalizeCaption = QStringLiteral("Normalize");
    NormFactor = 1;
    Normalized = false;
    Display.NormaText = NormFactorText(false, NormFactor);
    Changed();
}

void EnergyRatioEngine::Normalize() {
    if (Normalized) {
        ResetNormalization();
    } else {
        const double average = stats_[size_t(RatioMode)].Average();
        // A factor beyond the doubles (an average of next to nothing) counts as none.
        if (average == 0 || !std::isfinite(1 / average)) {
            platform::prompts().Beep();
            return;
        }
        NormFactor = 1 / average;
        Normalized = true;
        Display.NormalizeCaption = QStringLiteral("DeNormalize");
        Display.NormaText = NormFactorText(true, NormFactor);
        Display.RatioText.clear();
        Changed();
    }
    Relayout();
    Flush();
}

void EnergyRatioEngine::SetRatioMode(int16_t mode) {
    if (mode < 0 || mode > 1 || mode == RatioMode) return;
    RatioMode = mode;
    // A factor taken from the other direction's average means nothing here.
    if (Normalized) ResetNormalization();
    Display.RatioText.clear();
    Changed();
    Relayout();
    Flush();
}

void EnergyRatioEngine::Start() {
    if (!OpenForStart()) return;
    if (!Initialised) {
        Relayout();
        QString none;
        EnergyRatioLog(-1, none);
        store_.Allocate();
        filterA_.Reset();
        filterB_.Reset();
        throttle_.Reset();
        ResetNormalization();
        InitialiseRun(workFile_, WorkFiles().RatioWorkFile, HeaderLine());
    } else {
        // A half reply from before the pause has no partner any more.
        pairing_.Reset();
    }
    if (!store_.Allocated()) store_.Allocate();
    ShowStatistics(false);
    Display.Caption = QStringLiteral("Real-Time Energy Ratio Logging - A: ") + HeadText(0) +
                      QStringLiteral("  B: ") + HeadText(1);
    Display.RatioVisible = CurrentSettings().EnergyRatio.RatioDisplayStyle != 0;
    Running();
    refusals_.Answered();
    SendSB();
    Flush();
}

void EnergyRatioEngine::Stop() {
    Stopping();
    ShowStatistics(true);
}

void EnergyRatioEngine::PauseChart(bool pause) {
    if (pause && !Stopped) {
        paused_ = true;
        StartStop();
    } else if (!pause && paused_) {
        paused_ = false;
        if (Stopped) StartStop();
    }
}

void EnergyRatioEngine::Reset(bool reopenSetup) {
    if (!MayDiscard()) return;
    Initialised = false;
    ResetStatistics();
    Display.RatioText.clear();
    Display.RatioVisible = false;
    LogFileOnOff(true);
    if (!Stopped) Stop();
    store_.Reset();
    filterA_.Reset();
    filterB_.Reset();
    pairing_.Reset();
    ResetNormalization();
    Unsaved = false;
    Relayout();
    Changed();
    Flush();
    if (reopenSetup && View.ReopenSetup) View.ReopenSetup();
}

bool EnergyRatioEngine::Unload(bool fromModeSwitch) {
    bool kept = false;
    if (!BeginClosing(kept)) return !kept;
    if (!Stopped) Stop();
    Display.Caption = QStringLiteral("Real-Time Energy Ratio Logging");
    EndClosing(fromModeSwitch);
    store_.Release();
    return true;
}
