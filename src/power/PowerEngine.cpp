#include "power/PowerEngine.h"

#include "data/Arithmetic.h"
#include "data/FileCommand.h"
#include "data/LogLines.h"
#include "data/Overrange.h"
#include "data/Parsing.h"
#include "data/TimeBase.h"
#include "data/Units.h"
#include "link/HeadDetection.h"
#include "link/LinkState.h"
#include "link/PortControl.h"
#include "link/Transaction.h"
#include "platform/Clock.h"
#include "platform/Prompts.h"
#include "platform/SerialPort.h"
#include "power/PowerFile.h"
#include "power/PowerTexts.h"
#include "state/AppState.h"

#include <cfloat>
#include <cmath>

namespace {

const QString kCaption = QStringLiteral("Real-Time Power Logging");

const ChannelInfo& CurrentHead() {
    const AppState& app = App();
    const int c = app.CurrentChannel;
    return app.Channels[size_t(c >= 0 && c < int(app.Channels.size()) ? c : 0)];
}

void LogFileOnOffEnable(bool enabled) {
    if (App().Shell.LogFileOnOffEnable) App().Shell.LogFileOnOffEnable(enabled);
}

// A reading the single-precision store can hold (the over-range mark included).
bool Storable(double v) {
    return IsOverrange(v) || std::fabs(v) <= double(FLT_MAX);
}

}  // namespace

PowerEngine::PowerEngine() {
    Caption = kCaption;
    StartStopCaption = QStringLiteral("&Start");
    StatLabels = {kMinPrefix, kMaxPrefix, kAveragePrefix, kStDevPrefix};
    Chart.GridStyle = App().Config.Power.GraphGrid;
    store_.Clear(App().Config.Power.LogTime);
}

void PowerEngine::Flush() {
    if (!displayDirty_) return;
    displayDirty_ = false;
    if (View.DisplayChanged) View.DisplayChanged();
}

QString PowerEngine::HeadText() const {
    // Another channel may be selected by now: the run's data belong to its head.
    if (!runHead_.isEmpty()) return runHead_;
    return CurrentHead().HeadName + CurrentHead().HeadSerial;
}

void PowerEngine::ClearChart() {
    store_.Clear(App().Config.Power.LogTime);
    Chart.LastIndex = 0;
    FinishedPoints = 0;
    if (View.Redraw) View.Redraw();
}

void PowerEngine::ResetStatistics() {
    stats_.Reset();
    StatLabels = {kMinPrefix, kMaxPrefix, kAveragePrefix, kStDevPrefix};
    Changed();
}

void PowerEngine::ShowStatistics(bool show) {
    if (show) {
        StatLabels = {StatisticsText(kMinPrefix, stats_.Min), StatisticsText(kMaxPrefix, stats_.Max),
                      StatisticsText(kAveragePrefix, stats_.Average()),
                      StatisticsText(kStDevPrefix, stats_.StdDev())};
        const int16_t mode = App().Config.Power.StatMode;
        const bool minMax = mode == 1 || mode == 3;
        const bool avgDev = mode == 2 || mode == 3;
        StatVisible = {minMax, minMax, avgDev, avgDev};
    } else {
        StatVisible = {false, false, false, false};
    }
    Changed();
}

void PowerEngine::PowerLog(int op, const QString& reply) {
    switch (op) {
        case -1:
            runHead_.clear();
            SkippedChars = 0;
            SkippedReplies = 0;
            StartStopCaption = QStringLiteral("&Start");
            Stopped = true;
            ClearChart();
            if (View.ShowWindow) View.ShowWindow();
            ResetStatistics();
            ReadingVisible = false;
            Changed();
            break;
        case 0:
            if (Stopped) return;
            if (PollState == 0) {
                ReadingText.clear();
                Changed();
                SendNext();
            } else if (PollState == 2) {
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
        case 1:
            ReadingVisible = false;
            Changed();
            Unload(true);
            store_.Clear(App().Config.Power.LogTime);
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
    double reading = 0;
    if (text.isEmpty() || !ParseReading(text, reading) || !Storable(reading)) return SendNext();
    Process(reading);
    // A reading that ended the run asks for no more.
    if (!Stopped) SendNext();
}

void PowerEngine::Process(double reading) {
    AppState& app = App();
    const double now = platform::clock().SecondsSinceMidnight();
    double t = ElapsedSeconds(StartTime, now);
    if (!anchored_) {
        // The run's time 0 is its first reading.
        anchored_ = true;
        StartTime = now;
        app.DayCount = 0;
        t = 0;
    }
    store_.Store(reading, t);
    NotSaved = true;

    const bool overrange = IsOverrange(reading);
    if (t >= app.Config.Power.LogTime) {
        EndRun(t, reading);
    } else {
        stats_.Add(reading);
        const bool merging = store_.PointInterval != 0 && store_.PointCount > 0;
        LastTime = merging ? store_.PowerData[size_t(store_.PointCount)].PointTime : t;
        LastReading = reading;
        Chart.LastTime = LastTime;
        Chart.LastReading = reading;
        Chart.LastIndex = MaxOf(store_.PointCount - 1, 0);
        if (View.PointAdded) View.PointAdded();
    }

    if (overrange) {
        platform::prompts().Beep();
        ReadingText = OverrangeText(LimitsOn);
        Changed();
    } else {
        UpdateDisplay(reading, now);
    }

    workFile_.Append(FormatLogLine(float(reading), t, true));
}

void PowerEngine::EndRun(double t, double reading) {
    LastTime = t;
    LastReading = reading;
    Chart.LastTime = t;
    Chart.LastReading = reading;
    Chart.LastIndex = MaxOf(store_.PointCount - 1, 0);
    if (View.PointAdded) View.PointAdded();
    platform::prompts().Beep();
    FinishedPoints = store_.PointCount;
    store_.PointCount = 0;
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
    RescaleVisible = true;
    const PowerSettings& cfg = App().Config.Power;
    ReadingText = ::ReadingText(reading, LimitsOn, cfg.GraphLow, cfg.GraphHigh);
    LastDisplayTime = now;
    Changed();
}

void PowerEngine::SendNext() {
    const PollStep step = NextPoll(CurrentHead().HeadType, App().DeviceType);
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
    AppState& app = App();
    if (!app.Connected && !Connect()) return;
    const double now = platform::clock().SecondsSinceMidnight();
    if (!RunActive) {
        if (View.TrialReading)
            View.TrialReading();
        else
            DetectReadingUnits(false, app.CurrentChannel);
        app.BaseUnit = CurrentHead().ReadingUnit.isEmpty() ? QStringLiteral("W") : CurrentHead().ReadingUnit;
        BuildPowerUnits();
        PowerLog(-1, QString());
        Chart.LastIndex = 0;
        RunActive = true;
        anchored_ = false;
        LogFileOnOffEnable(false);
        runHead_ = CurrentHead().HeadName + CurrentHead().HeadSerial;
        WriteWorkFileHeader();
        StartTime = platform::clock().SecondsSinceMidnight();
        app.DayCount = 0;
    } else {
        // Continue the time axis where the run stopped.
        const double last = store_.PointCount > 0 ? store_.PowerData[size_t(store_.PointCount)].PointTime : 0;
        StartTime = now - MaxOf(last, 0.0);
        if (StartTime < 0) StartTime += 86400.0;
        app.DayCount = 0;
    }
    ShowStatistics(false);
    RescaleVisible = false;
    const ChannelInfo& head = CurrentHead();
    const int type = head.HeadType;
    const QString typeName =
        type >= 0 && type < int(app.HeadTypeNames.size()) ? app.HeadTypeNames[size_t(type)] : QString();
    Caption =
        kCaption + QStringLiteral(" - ") + typeName + QStringLiteral(": ") + head.HeadName + head.HeadSerial;
    if (app.Config.Power.DisplayMode != 0) ReadingVisible = true;
    app.ModeCheckPending = true;
    PollState = 0;
    SendCommand(platform::serialPort(), QStringLiteral("SP"), 5.0, true);
    StartStopCaption = QStringLiteral("&Stop");
    Stopped = false;
    Changed();
    Flush();
}

void PowerEngine::Stop() {
    StartStopCaption = QStringLiteral("&Start");
    Stopped = true;
    PollState = 0;
    ShowStatistics(true);
    Changed();
}

void PowerEngine::Reset(bool setupWasOpen) {
    RunActive = false;
    ClearChart();
    ReadingText.clear();
    ReadingVisible = false;
    LogFileOnOffEnable(true);
    if (!Stopped) Stop();
    ResetStatistics();
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
    if (store_.PointCount == 0 && FinishedPoints > 0 && View.Redraw) View.Redraw();
}

void PowerEngine::SetLimitsOn(bool on) {
    LimitsOn = on;
}

void PowerEngine::ApplyChartRange() {
    const PowerSettings& cfg = App().Config.Power;
    Chart.GridStyle = cfg.GraphGrid;
    if (AutoRescale && store_.PointCount == 0 && FinishedPoints > 0) {
        const double low = MaxOf(0.0, stats_.Min);
        const double high = MinOf(30000.0, stats_.Max);
        if (high > low) {
            Chart.YMin = float(low);
            Chart.YMax = float(high);
            return;
        }
    }
    Chart.YMin = float(cfg.GraphLow);
    Chart.YMax = float(cfg.GraphHigh);
}

void PowerEngine::DrawWholeChart(platform::Surface& surface) {
    ApplyChartRange();
    DrawChart(0, Chart, surface, 0, float(App().Config.Power.LogTime));
    ForEachShownPoint([&] { DrawChart(1, Chart, surface, 0, 0); });
}

void PowerEngine::WriteWorkFileHeader() {
    workFile_.Begin(App().WorkFileName, PowerFileHeader(HeadText()));
}

void PowerEngine::Unload(bool fromModeSwitch) {
    if (unloading_) return;
    unloading_ = true;
    if (!Stopped) Stop();
    RemindToSave(NotSaved);
    RunActive = false;
    PausedByCaller = false;
    LogFileOnOffEnable(true);
    Caption = kCaption;
    Changed();
    Flush();
    unloading_ = false;
    if (!fromModeSwitch && App().Shell.SwitchMode) App().Shell.SwitchMode(ModeNone);
}
