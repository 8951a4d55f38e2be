#include "power/PowerEngine.h"

#include "data/Arithmetic.h"
#include "data/FileCommand.h"
#include "data/LogLines.h"
#include "data/Overrange.h"
#include "data/Parsing.h"
#include "data/TimeBase.h"
#include "data/Units.h"
#include "link/Dispatch.h"
#include "link/HeadDetection.h"
#include "link/LinkState.h"
#include "link/MeterIdentity.h"
#include "link/PortControl.h"
#include "link/Transaction.h"
#include "platform/Clock.h"
#include "platform/Prompts.h"
#include "platform/SerialPort.h"
#include "power/PowerTexts.h"
#include "state/AppState.h"
#include "state/Configuration.h"

#include <cfloat>
#include <cmath>
#include <utility>

namespace {

void LogFileOnOffEnable(bool enabled) {
    if (App().Shell.LogFileOnOffEnable) App().Shell.LogFileOnOffEnable(enabled);
}

// A reading the single-precision store can hold (the over-range mark included).
bool Storable(double v) {
    return IsOverrange(v) || std::fabs(v) <= double(FLT_MAX);
}

// Over range with either sign (a difference whose subtrahend is over range).
bool OutOfRange(double v) {
    return IsOverrange(v) || IsOverrange(-v);
}

// A combined value beyond what a single holds is over range, with its sign.
double Bounded(double v) {
    if (std::fabs(v) <= double(FLT_MAX)) return v;
    return v > 0 ? OverrangeValue : -OverrangeValue;
}

}  // namespace

PowerEngine::PowerEngine(const PowerProfile& profile) : profile_(&profile) {
    Display.Caption = QString::fromLatin1(profile.Caption);
    Display.StartStopCaption = QStringLiteral("&Start");
    Display.StatLabels = {kMinPrefix, kMaxPrefix, kAveragePrefix, kStDevPrefix};
    const PowerRunSettings s = Settings();
    Chart.GridStyle = s.Grid;
    Chart.YLabelMode = profile.YLabelMode;
    Chart.YTitle = QString::fromLatin1(profile.YTitle);
    ClearStores();
    UndoAdjustment();
}

ModeTraits PowerEngine::Traits(int16_t) const {
    ModeTraits t;
    t.PausesForFiles = true;
    if (profile_->Channels == 1) {
        // The meter is in power mode before the first request goes out.
        t.Start = StartOrder::BeforeBegin;
        t.ResendOnRefusal = "FP";
    } else {
        t.Start = StartOrder::AfterBegin;
        t.PassesRefusals = true;
        t.ReadsBothChannels = true;
    }
    return t;
}

void PowerEngine::Begin() {
    NotSaved = false;
    AutoRescale = false;
    LimitsOn = false;
    SetDirection(0);
    if (Adjusted) ToggleAdjustment();
    // Two channels show in the unit of channel A.
    const int16_t c = Meter().CurrentChannel == 1 && profile_->Channels == 1 ? 1 : 0;
    const QString unit = Meter().Channels[size_t(c)].ReadingUnit;
    Chart.Units.BaseUnit = unit.isEmpty() ? QStringLiteral("W") : unit;
    PowerLog(-1, QString());
    PublishBegan();
}

void PowerEngine::End() {
    PowerLog(1, QString());
    PublishEnded();
}

bool PowerEngine::HasUnsaved() const {
    return NotSaved && !CurrentSettings().LogToFile;
}

void PowerEngine::Flush() {
    if (!displayDirty_) return;
    displayDirty_ = false;
    Display.Direction = Direction;
    if (View.DisplayChanged) View.DisplayChanged(Display);
}

std::array<QString, 2> PowerEngine::Heads() const {
    // Another channel may be selected by now: the run's data belong to its heads.
    if (!runHeads_[0].isEmpty()) return runHeads_;
    const MeterIdentity& meter = Meter();
    if (profile_->Channels == 1) return {CurrentHead().HeadName + CurrentHead().HeadSerial, QString()};
    return {meter.Channels[0].HeadName + meter.Channels[0].HeadSerial,
            meter.Channels[1].HeadName + meter.Channels[1].HeadSerial};
}

double PowerEngine::Shown(double value) const {
    if (OutOfRange(value)) return value;
    return value * Scale - Shift;
}

void PowerEngine::ClearStores() {
    const int32_t logTime = Settings().LogTime;
    for (PowerStore& store : stores_) store.Clear(logTime);
    for (PowerStore& store : channelStores_) store.Clear(logTime);
}

void PowerEngine::ClearChart() {
    ClearStores();
    FinishedPoints = 0;
    if (View.Redraw) View.Redraw();
}

void PowerEngine::ResetStatistics() {
    for (RunningStats& stats : stats_) stats.Reset();
    Display.StatLabels = {kMinPrefix, kMaxPrefix, kAveragePrefix, kStDevPrefix};
    Changed();
}

void PowerEngine::ShowStatistics(bool show) {
    if (show) {
        Display.StatLabels = StatisticsLines();
        const int16_t mode = Settings().StatMode;
        const bool minMax = mode == 1 || mode == 3;
        const bool avgDev = mode == 2 || mode == 3;
        Display.StatVisible = {minMax, minMax, avgDev, avgDev};
    } else {
        Display.StatVisible = {false, false, false, false};
    }
    Changed();
}

void PowerEngine::PowerLog(int op, const QString& reply) {
    switch (op) {
        case -1:
            runHeads_ = {};
            gaps_.clear();
            gapPending_ = false;
            // A factor or offset taken from another run's average means nothing here.
            UndoAdjustment();
            SkippedChars = 0;
            SkippedReplies = 0;
            Display.StartStopCaption = QStringLiteral("&Start");
            Stopped = true;
            Pairing.Reset();
            ClearChart();
            if (View.ShowWindow) View.ShowWindow();
            ResetStatistics();
            Display.ReadingVisible = false;
            Changed();
            break;
        case 0:
            if (Stopped) return;
            refusals_.Answered();
            if (PollState == 0) {
                Display.ReadingText.clear();
                Changed();
                SendNext();
            } else if (PollState == 2 && profile_->Channels == 1) {
                if (reply.contains(QLatin1Char('1'))) {
                    PollState = 3;
                    SendCommand(platform::serialPort(), QStringLiteral("SP"), kQueryTimeout, true);
                } else {
                    SendCommand(platform::serialPort(), QStringLiteral("EF"), kQueryTimeout, true);
                }
            } else {
                Reading(reply);
            }
            break;
        case kRefusedReplyOp:
            if (Stopped) return;
            if (refusals_.Refused()) {
                Stop();
                Flush();
                return RefusedReplies::Tell();
            }
            SendNext();
            break;
        case 1:
            Display.ReadingVisible = false;
            Changed();
            Unload(true);
            ClearStores();
            FinishedPoints = 0;
            break;
        default:
            break;
    }
    Flush();
}

void PowerEngine::Reading(const QString& reply) {
    const int star = reply.indexOf(QLatin1Char('*'));
    if (star < 0) return SendNext();
    if (star > 0) {
        SkippedChars += star;
        if (SkippedReplies < INT16_MAX) ++SkippedReplies;
    }
    QString text = reply.mid(star + 1);
    text.chop(1);  // the line end
    std::array<double, 2> channels{}, values{};
    if (!TakeValues(text, channels, values)) return SendNext();
    Process(channels, values);
    // A reading that ended the run asks for no more.
    if (!Stopped) SendNext();
}

// One reading, or a completed pair of channel values combined both ways.
bool PowerEngine::TakeValues(const QString& text, std::array<double, 2>& channels,
                             std::array<double, 2>& values) {
    if (profile_->Channels == 1) {
        if (text.isEmpty() || !ParseReading(text, channels[0]) || !Storable(channels[0])) return false;
        values[0] = channels[0];
        return true;
    }
    QString a, b;
    if (!Pairing.Take(text, a, b)) return false;
    if (!ParseReading(a, channels[0]) || !ParseReading(b, channels[1]) || !Storable(channels[0]) ||
        !Storable(channels[1]) || !profile_->Combine(channels[0], channels[1], values)) {
        Pairing.Drop();
        return false;
    }
    for (double& v : values) v = Bounded(v);
    return true;
}

void PowerEngine::Process(const std::array<double, 2>& channels, const std::array<double, 2>& values) {
    const int n = profile_->Channels;
    const double now = platform::clock().SecondsSinceMidnight();
    double t = ElapsedSeconds(StartTime, now);
    if (!anchored_) {
        // The run's time 0 is its first reading.
        anchored_ = true;
        StartTime = now;
        StartDayCount();
        t = 0;
    }
    const int32_t regroups = Store().Regroups;
    for (int d = 0; d < n; ++d) stores_[size_t(d)].Store(values[size_t(d)], t);
    if (n == 2)
        for (int c = 0; c < 2; ++c) channelStores_[size_t(c)].Store(channels[size_t(c)], t);
    NotSaved = true;
    ++Readings;
    RunSeconds = t;
    const bool afterGap = std::exchange(gapPending_, false);
    if (afterGap) gaps_.push_back(t);

    const double value = values[size_t(Direction)];
    if (t >= Settings().LogTime) {
        EndRun(t, value);
    } else {
        for (int d = 0; d < n; ++d) stats_[size_t(d)].Add(values[size_t(d)]);
        const PowerStore& store = Store();
        // Points grouped afresh: the chart shows the store as it is now.
        if (store.Regroups != regroups && View.Redraw) View.Redraw();
        const bool merging = store.PointInterval != 0 && store.PointCount > 0;
        LastTime = merging ? store.PowerData[size_t(store.PointCount)].PointTime : t;
        LastReading = value;
        // A range that no longer fits the data: the whole chart afresh.
        const std::optional<ChartRange> range = AutoScale ? DataRange() : std::nullopt;
        if (range && (range->Min != Chart.YMin || range->Max != Chart.YMax) && View.Redraw)
            View.Redraw();
        else if (View.PointAdded)
            View.PointAdded({LastTime, Shown(value), MaxOf(store.PointCount - 1, 0),
                             merging ? BandOf(store.PowerData[size_t(store.PointCount)],
                                              [this](double v) { return Shown(v); })
                                     : ChartBand{},
                             afterGap});
    }

    if (OutOfRange(value)) {
        platform::prompts().Beep();
        Display.ReadingText = profile_->Readout(*this, value);
        Changed();
    } else {
        UpdateDisplay(value, now);
    }

    workFile_.Append(n == 1 ? FormatLogLine(float(channels[0]), t, true)
                            : FormatDualLogLine(float(channels[0]), float(channels[1]), t, true));
    Publish(value, t, channels);
}

void PowerEngine::Publish(double value, double t, const std::array<double, 2>& channels) {
    const RunningStats& stats = Stats();
    ::Reading r;
    r.Value = value;
    // A ratio has no unit; power and difference are in the head's.
    if (profile_->Adjustment != PowerAdjustment::Scale) r.Unit = Chart.Units.BaseUnit;
    r.Channel = profile_->Channels == 2 ? 2 : Meter().CurrentChannel;
    r.Time = t;
    r.OverRange = OutOfRange(value);
    r.Stats = {stats.Count, stats.Min, stats.Max, stats.Average(), stats.StdDev()};
    if (profile_->Channels == 2) {
        r.ChannelValues = channels;
        r.ChannelUnit = Chart.Units.BaseUnit;
    }
    PublishReading(r);
}

void PowerEngine::EndRun(double t, double reading) {
    LastTime = t;
    LastReading = reading;
    if (View.PointAdded) View.PointAdded({t, Shown(reading), MaxOf(Store().PointCount - 1, 0)});
    platform::prompts().Beep();
    FinishedPoints = Store().PointCount;
    for (PowerStore& store : stores_) store.PointCount = 0;
    for (PowerStore& store : channelStores_) store.PointCount = 0;
    Stop();
    RunActive = false;
    if (View.Redraw) View.Redraw();
}

void PowerEngine::UpdateDisplay(double reading, double now) {
    double since = now - LastDisplayTime;
    // The clock restarts at midnight.
    if (since < 0) since += 86400.0;
    if (since < kDisplayInterval) return;
    ShowStatistics(true);
    Display.RescaleVisible = true;
    Display.ReadingText = profile_->Readout(*this, reading);
    LastDisplayTime = now;
    Changed();
}

void PowerEngine::SendNext() {
    const PollStep step = profile_->NextPoll();
    if (!step.Send) return;
    PollState = step.State;
    SendCommand(platform::serialPort(), QString::fromLatin1(step.Command), step.Timeout, true);
}

void PowerEngine::StartStop() {
    if (Stopped)
        Start();
    else
        Stop();
    Flush();
}

void PowerEngine::Start() {
    // A finished run not saved yet is not cleared without asking.
    if (!RunActive && !MayDiscard()) return;
    if (!Meter().Connected && !Connect()) return;
    const double now = platform::clock().SecondsSinceMidnight();
    if (!RunActive) {
        // Two-channel variants know their heads' units from the identification.
        if (profile_->TrialReading) {
            if (View.TrialReading)
                View.TrialReading();
            else
                DetectReadingUnits(false, Meter().CurrentChannel);
        }
        const ChannelInfo& unitHead = profile_->Channels == 1 ? CurrentHead() : Meter().Channels[0];
        Chart.Units.BaseUnit = unitHead.ReadingUnit.isEmpty() ? QStringLiteral("W") : unitHead.ReadingUnit;
        PowerLog(-1, QString());
        RunActive = true;
        anchored_ = false;
        LogFileOnOffEnable(false);
        Readings = 0;
        RunSeconds = 0;
        runHeads_ = Heads();
        WriteWorkFileHeader();
        StartTime = platform::clock().SecondsSinceMidnight();
        StartDayCount();
    } else {
        // Continue the time axis where the run stopped.
        const PowerStore& store = Store();
        const double last = store.PointCount > 0 ? store.PowerData[size_t(store.PointCount)].PointTime : 0;
        StartTime = now - MaxOf(last, 0.0);
        if (StartTime < 0) StartTime += 86400.0;
        StartDayCount();
        // A half reply from before the pause has no partner any more.
        Pairing.Reset();
    }
    Running();
}

void PowerEngine::Running() {
    ShowStatistics(false);
    Display.RescaleVisible = false;
    Display.Caption = profile_->RunCaption();
    if (Settings().DisplayMode != 0) Display.ReadingVisible = true;
    App().ModeCheckPending = true;
    PollState = 0;
    refusals_.Answered();
    SendCommand(platform::serialPort(), QString::fromLatin1(profile_->FirstCommand), profile_->FirstTimeout,
                true);
    Display.StartStopCaption = QStringLiteral("&Stop");
    Stopped = false;
    Changed();
    Flush();
}

void PowerEngine::Resume() {
    // The time base stays, so the gap shows in the times; the next point
    // starts a new line, and a half reply from before has no partner.
    gapPending_ = true;
    Pairing.Reset();
    Running();
}

void PowerEngine::Interrupt() {
    if (!Stopped) Stop();
    Flush();
}

void PowerEngine::Stop() {
    Display.StartStopCaption = QStringLiteral("&Start");
    Stopped = true;
    PollState = 0;
    ShowStatistics(true);
    Changed();
}

void PowerEngine::Reset(bool setupWasOpen) {
    if (!MayDiscard()) return;
    RunActive = false;
    Readings = 0;
    RunSeconds = 0;
    ClearChart();
    Pairing.Reset();
    Display.ReadingText.clear();
    Display.ReadingVisible = false;
    LogFileOnOffEnable(true);
    if (!Stopped) Stop();
    ResetStatistics();
    UndoAdjustment();
    NotSaved = false;
    Changed();
    Flush();
    if (setupWasOpen && View.ReopenSetup) View.ReopenSetup();
}

void PowerEngine::PauseGraph(bool pause) {
    if (pause && !Stopped) {
        Stop();
        PausedByCaller = true;
    } else if (!pause && PausedByCaller) {
        PausedByCaller = false;
        Start();
    }
    Flush();
}

void PowerEngine::SetAutoRescale(bool on) {
    AutoRescale = on;
    if (Store().PointCount == 0 && FinishedPoints > 0 && View.Redraw) View.Redraw();
}

void PowerEngine::SetAutoScale(bool on) {
    AutoScale = on;
    if (View.Redraw) View.Redraw();
}

std::optional<ChartRange> PowerEngine::DataRange() const {
    if (Stats().Count == 0) return std::nullopt;
    return AutoScaleRange(Shown(Stats().Min), Shown(Stats().Max), Chart.YDivisions);
}

std::optional<RunProgress> PowerEngine::Progress() const {
    RunProgress p;
    p.Active = RunActive;
    p.Logging = !Stopped;
    p.LogTime = Settings().LogTime;
    p.Readings = Readings;
    p.Elapsed = RunSeconds;
    if (!Stopped && anchored_) {
        // Between readings the clock runs on; a midnight on the way wraps once.
        double since = platform::clock().SecondsSinceMidnight() - StartTime;
        if (since < 0) since += 86400.0;
        p.Elapsed = MaxOf(p.Elapsed, since);
    }
    return p;
}

void PowerEngine::SetLimitsOn(bool on) {
    LimitsOn = on;
}

void PowerEngine::UndoAdjustment() {
    Adjusted = false;
    Scale = 1;
    Shift = 0;
    Display.AdjustCaption = QString::fromLatin1(profile_->AdjustCaptions[0]);
    Display.AdjustLabel = profile_->AdjustText ? profile_->AdjustText(*this) : QString();
}

// After a change of what is shown: the statistics lines in the new terms,
// the chart redrawn, and the read-out of a finished run emptied.
void PowerEngine::AfterViewChange() {
    if (Display.StatVisible[0] || Display.StatVisible[2]) ShowStatistics(true);
    if (View.Redraw) View.Redraw();
    if (Store().PointCount == 0 && FinishedPoints > 0) Display.ReadingText.clear();
    Changed();
    Flush();
}

void PowerEngine::ToggleAdjustment() {
    if (profile_->Adjustment == PowerAdjustment::None) return;
    if (Adjusted) {
        UndoAdjustment();
    } else {
        const double average = Stats().Average();
        if (profile_->Adjustment == PowerAdjustment::Scale) {
            // A factor beyond the doubles (an average of next to nothing) counts as none.
            if (average == 0 || !std::isfinite(1 / average)) return platform::prompts().Beep();
            Scale = 1 / average;
        } else {
            Shift = average;
        }
        Adjusted = true;
        Display.AdjustCaption = QString::fromLatin1(profile_->AdjustCaptions[1]);
        Display.AdjustLabel = profile_->AdjustText(*this);
    }
    AfterViewChange();
}

void PowerEngine::SetDirection(int16_t direction) {
    if (direction < 0 || direction >= profile_->Channels || direction == Direction) return;
    Direction = direction;
    UndoAdjustment();
    AfterViewChange();
}

void PowerEngine::ApplyChartRange() {
    const PowerRunSettings s = Settings();
    Chart.GridStyle = s.Grid;
    if (AutoRescale && Store().PointCount == 0 && FinishedPoints > 0) {
        double low = Shown(Stats().Min);
        double high = Shown(Stats().Max);
        if (low > high) std::swap(low, high);  // a negative factor turns the range over
        low = MaxOf(profile_->RescaleFloor, low);
        high = MinOf(profile_->RescaleCeiling, high);
        if (high > low && std::fabs(low) <= FLT_MAX && std::fabs(high) <= FLT_MAX) {
            Chart.YMin = float(low);
            Chart.YMax = float(high);
            return;
        }
    }
    if (const std::optional<ChartRange> range = AutoScale ? DataRange() : std::nullopt) {
        Chart.YMin = range->Min;
        Chart.YMax = range->Max;
        return;
    }
    Chart.YMin = float(s.Low);
    Chart.YMax = float(s.High);
}

void PowerEngine::DrawWholeChart(platform::Surface& surface) {
    ApplyChartRange();
    DrawChart(0, Chart, surface, 0, float(Settings().LogTime));
    ForEachShownPoint([&](const ChartPoint& p) { DrawChartPoint(Chart, surface, p); });
}

void PowerEngine::WriteWorkFileHeader() {
    workFile_.Begin(profile_->WorkFilePath(), profile_->Header(Chart.Units, Heads()));
}

bool PowerEngine::MayDiscard() {
    if (!NotSaved) return true;
    const bool wasRunning = !Stopped;
    if (wasRunning) Stop();
    Flush();
    if (RemindToSave(NotSaved)) return true;
    // Kept: it runs on, unless the link went away meanwhile.
    if (wasRunning && Meter().Connected) Start();
    return false;
}

bool PowerEngine::Unload(bool fromModeSwitch) {
    if (unloading_) return true;
    unloading_ = true;
    if (!MayDiscard()) {
        unloading_ = false;
        return false;
    }
    if (!Stopped) Stop();
    RunActive = false;
    PausedByCaller = false;
    LogFileOnOffEnable(true);
    Display.Caption = QString::fromLatin1(profile_->Caption);
    Changed();
    Flush();
    unloading_ = false;
    if (!fromModeSwitch && App().Shell.SwitchMode) App().Shell.SwitchMode(ModeNone);
    return true;
}
