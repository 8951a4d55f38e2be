#include "energy/EnergyEngine.h"

#include "data/Arithmetic.h"
#include "data/FileCommand.h"
#include "data/LogLines.h"
#include "data/NumberFormat.h"
#include "data/Overrange.h"
#include "data/Parsing.h"
#include "data/TimeBase.h"
#include "data/Units.h"
#include "data/WorkFile.h"
#include "energy/EnergyQuery.h"
#include "link/LinkState.h"
#include "link/MeterIdentity.h"
#include "link/PortControl.h"
#include "link/Transaction.h"
#include "platform/Clock.h"
#include "platform/Prompts.h"
#include "platform/SerialPort.h"
#include "state/AppState.h"
#include "state/Configuration.h"

#include <cfloat>
#include <cmath>

namespace {

const std::array<QString, 6> kStatPrefixes = {QStringLiteral("Min:  "),     QStringLiteral("Max:  "),
                                              QStringLiteral("Average:  "), QStringLiteral("St.Dev.:  "),
                                              QStringLiteral("Pulses:  "),  QStringLiteral("Overranged:  ")};

const ChannelInfo& CurrentHead() {
    const MeterIdentity& meter = Meter();
    const int c = meter.CurrentChannel;
    return meter.Channels[size_t(c >= 0 && c < int(meter.Channels.size()) ? c : 0)];
}

// A head that has to settle between pulses shows the READY indicator.
bool ShowsReady(HeadKind head, bool rapidPulse) {
    return head == HeadKind::Thermopile || (head == HeadKind::RapidPulse && !rapidPulse);
}

}  // namespace

QString EnergyStatisticsText(const QString& prefix, double value, const UnitScale& units) {
    const int i = IndexEnergyLabel(value);
    return prefix + FormatNumber(value * UnitScale::EnergyFactors[size_t(i)], QStringLiteral("###0.00")) +
           units.EnergyUnit(i);
}

EnergyEngine::EnergyEngine() {
    WindowTitle = QStringLiteral("Real-Time Energy Logging");
    AxisTitle = QStringLiteral("Energy, in Joules ");
    Display.Caption = WindowTitle;
    Display.StatLabels = kStatPrefixes;
}

ModeTraits EnergyEngine::Traits(int16_t code) const {
    ModeTraits t;
    // Energy puts the meter into the mode first; rapid pulse is ready first.
    t.Start = code == ModeRapidPulse ? StartOrder::AfterBegin : StartOrder::BeforeBegin;
    t.ResendOnRefusal = "FE";
    return t;
}

void EnergyEngine::End() {
    QString none;
    EnergyLog(1, none);
    PublishEnded();
}

std::optional<RunProgress> EnergyEngine::Progress() const {
    return PulseProgress(*this, Stats().Count + OverCount);
}

QString EnergyEngine::HeadText() const {
    // Another channel may be selected by now: the run's data belong to its head.
    if (!runHead_.isEmpty()) return runHead_;
    return CurrentHead().HeadName + CurrentHead().HeadSerial;
}

void EnergyEngine::StartEnergy() {
    AppState& app = App();
    rapidPulse_ = app.ActiveMode == ModeRapidPulse;
    WindowTitle = QStringLiteral("Real-Time Energy Logging");
    AxisTitle = QStringLiteral("Energy, in Joules ");
    RelativeUnits = false;
    if (rapidPulse_) {
        if (!app.RapidPulseAbsolute) {
            WindowTitle = QStringLiteral("Real-Time Rapid Pulse Relative Logging");
            RelativeUnits = true;
            AxisTitle = QStringLiteral("Energy, in RP-Units ");
        } else {
            WindowTitle = QStringLiteral("Real-Time Rapid Pulse Absolute Logging");
        }
    }
    Display.Caption = WindowTitle;
    Unsaved = false;
    Initialised = false;
    runHead_.clear();
    const EnergySettings& cfg = CurrentSettings().Energy;
    YScale = MaxOf(cfg.EnergyInitialSize, 1);
    Hist = HistogramSpec{};
    Hist.LowLimit = float(cfg.EnergyLowLimit);
    Hist.HighLimit = float(cfg.EnergyHighLimit);
    Hist.YScaleCopy = YScale;
    Hist.Visible = cfg.EnergyDisplayStyle != 1;
    ResizeBins(Hist, cfg.EnergyBinsCount);
    lastBin_ = 0;
    store_.Allocate();
    QString none;
    EnergyLog(-1, none);
}

void EnergyEngine::PrepareLayout() {
    const EnergySettings& cfg = CurrentSettings().Energy;
    Hist.Visible = cfg.EnergyDisplayStyle != 1;
    if (!Initialised) {
        YScale = MaxOf(cfg.EnergyInitialSize, 1);
        Hist.YScaleCopy = YScale;
        Hist.LowLimit = float(cfg.EnergyLowLimit);
        Hist.HighLimit = float(cfg.EnergyHighLimit);
        ResizeBins(Hist, cfg.EnergyBinsCount);
        lastBin_ = 0;
    }
    ShowStatistics(true);
    Flush();
}

void EnergyEngine::Relayout() {
    if (View.Redraw)
        View.Redraw();
    else
        PrepareLayout();
}

void EnergyEngine::DrawWholeHistogram(platform::Surface& surface, const std::function<void()>& relayout) {
    DrawHistogram(0, relayout, surface, Hist, YScale, RelativeUnits);
    DrawNonEmptyBars(relayout, surface, Hist, YScale, RelativeUnits);
}

void EnergyEngine::ClearHistogram() {
    ClearBins(Hist);
    Relayout();
}

void EnergyEngine::ResetStatistics() {
    stats_.Reset();
    OverCount = 0;
    Display.StatLabels = kStatPrefixes;
    Changed();
}

void EnergyEngine::ShowStatistics(bool show) {
    if (!show) {
        Display.StatVisible = {};
        Changed();
        return;
    }
    if (stats_.Count + OverCount > 0) {
        Display.StatLabels[0] = EnergyStatisticsText(kStatPrefixes[0], stats_.Min, Units());
        Display.StatLabels[1] = EnergyStatisticsText(kStatPrefixes[1], stats_.Max, Units());
        Display.StatLabels[2] = EnergyStatisticsText(kStatPrefixes[2], stats_.Average(), Units());
        Display.StatLabels[3] = EnergyStatisticsText(kStatPrefixes[3], stats_.StdDev(), Units());
        Display.StatLabels[4] = kStatPrefixes[4] + QString::number(stats_.Count + OverCount);
        Display.StatLabels[5] = kStatPrefixes[5] + QString::number(OverCount);
    }
    const StatVisibility v = VisibleStatistics(CurrentSettings().Energy.EnergyStatistics);
    const bool all = v.MinMax && v.AvgDev;
    Display.StatVisible = {v.MinMax, v.MinMax, v.AvgDev, v.AvgDev, all, all};
    Changed();
}

void EnergyEngine::EnergyLog(int action, QString& reply) {
    switch (action) {
        case -1:
            Display.ReadyVisible = false;
            Display.StartStopCaption = QStringLiteral("&Start");
            Stopped = true;
            ClearHistogram();
            if (View.ShowWindow) View.ShowWindow();
            ResetStatistics();
            Display.EnergyVisible = false;
            Changed();
            break;
        case 0:
            if (Stopped) break;
            switch (PollState) {
                case 0:
                    Display.EnergyText.clear();
                    Changed();
                    SendNext(false);
                    break;
                case 1:
                    if (reply.contains(QLatin1Char('1'))) {
                        Display.ReadyGreen = true;
                        PollState = 2;
                        SendCommand(platform::serialPort(), QStringLiteral("EF"), kQueryTimeout, true);
                        Changed();
                    } else {
                        SendCommand(platform::serialPort(), QStringLiteral("ER"), kQueryTimeout, true);
                    }
                    break;
                case 2:
                    if (reply.contains(QLatin1Char('1'))) {
                        PollState = 3;
                        if (ShowsReady(CurrentHead().HeadType, rapidPulse_)) {
                            Display.ReadyGreen = false;
                            Changed();
                        }
                        SendCommand(platform::serialPort(), QStringLiteral("SE"), kQueryTimeout, true);
                    } else {
                        SendCommand(platform::serialPort(), QStringLiteral("EF"), kQueryTimeout, true);
                    }
                    break;
                default:
                    ProcessReading(reply);
                    break;
            }
            reply.clear();
            break;
        case 1:
            Display.EnergyVisible = false;
            Changed();
            Unload(true);
            break;
        default:
            break;
    }
    Flush();
}

void EnergyEngine::ProcessReading(const QString& reply) {
    const int star = reply.indexOf(QLatin1Char('*'));
    if (star < 0) return SendNext(true);
    QString text = reply.mid(star + 1);
    text.chop(1);  // the carriage return
    double value = 0;
    if (text.isEmpty() || !ParseReading(text, value) || !StorableAsSingle(value)) return SendNext(true);

    LastTime = platform::clock().SecondsSinceMidnight();
    StoreReading(value);
    const bool over = IsOverrange(value);
    if (!over) {
        lastBin_ = AddToHistogram(Hist, value);
        stats_.Add(value);
    } else {
        ++OverCount;
    }
    if (View.BarAdded) View.BarAdded(lastBin_);
    Publish(value, over);

    if (over) {
        platform::prompts().Beep();
        Display.EnergyText = QStringLiteral("Overrange");
        Changed();
    } else if (throttle_.Due(LastTime)) {
        ShowStatistics(true);
        const int i = IndexEnergyLabel(value);
        Display.EnergyText =
            FormatFourDigits(value * UnitScale::EnergyFactors[size_t(i)]) + Units().EnergyUnit(i);
        Changed();
    }
    SendNext(true);
}

void EnergyEngine::Publish(double value, bool over) {
    ::Reading r;
    r.Value = value;
    r.Unit = RelativeUnits ? QStringLiteral("RP") : QStringLiteral("J");
    r.Channel = Meter().CurrentChannel;
    r.Time = ElapsedSeconds(StartTime, LastTime);
    r.OverRange = over;
    r.Stats = {stats_.Count, stats_.Min, stats_.Max, stats_.Average(), stats_.StdDev()};
    PublishReading(r);
}

void EnergyEngine::SendNext(bool afterReading) {
    const EnergyQuery q =
        NextEnergyQuery(rapidPulse_, CurrentHead().HeadType, Meter().DeviceType, afterReading);
    if (!q.Message.isEmpty()) {
        platform::prompts().Message(q.Message, QStringLiteral("Kelvaro32"), platform::Icon::None);
        return;
    }
    if (!q.Send) return;
    PollState = q.State;
    SendCommand(platform::serialPort(), QString::fromLatin1(q.Command), q.Timeout, true);
}

void EnergyEngine::StoreReading(double value) {
    const EnergySettings& cfg = CurrentSettings().Energy;
    const bool last = cfg.EnergyStorageMode == 1;
    if (store_.Full(last)) return;
    double stored = 0;
    if (filter_.Take(value, cfg.EnergyStorageRate, cfg.EnergyStorageStyle, stored)) BufferReading(stored);
}

void EnergyEngine::BufferReading(double value) {
    const EnergySettings& cfg = CurrentSettings().Energy;
    const double t = cfg.EnergyTimeStamp ? ElapsedSeconds(StartTime, LastTime) : 0;
    workFile_.Append(FormatLogLine(float(value), t, cfg.EnergyTimeStamp));
    store_.Put({float(value), t}, cfg.EnergyStorageMode == 1);
    Unsaved = true;
}

QString EnergyEngine::HeaderLine() const {
    const QString head = QStringLiteral(" Head: ") + HeadText();
    if (CurrentSettings().Energy.EnergyTimeStamp)
        return AxisTitle + QStringLiteral("\tTime, in Seconds\t") + head;
    return AxisTitle + QLatin1Char('\t') + head;
}

void EnergyEngine::Start() {
    if (!OpenForStart()) return;
    AppState& app = App();
    if (!Initialised) {
        Relayout();
        QString none;
        EnergyLog(-1, none);
        store_.Reset();
        filter_.Reset();
        throttle_.Reset();
        runHead_.clear();
        runHead_ = HeadText();
        InitialiseRun(workFile_, WorkFiles().EnergyWorkFile, HeaderLine());
    }
    if (!store_.Allocated()) store_.Allocate();
    Display.EnergyVisible = true;
    const ChannelInfo& head = CurrentHead();
    const HeadKind type = head.HeadType;
    const QString typeName = Meter().HeadTypeName(type);
    Display.Caption = WindowTitle + QStringLiteral(" - ") + typeName + QStringLiteral(": ") + head.HeadName +
                      head.HeadSerial;
    Changed();
    if (type == HeadKind::Photodiode || type == HeadKind::Photometer) {
        platform::prompts().Beep();
        Display.StartStopCaption = QStringLiteral("&Start");
        Stopped = true;
        Initialised = false;
        LogFileOnOff(true);
        Flush();
        platform::prompts().Message(kNoEnergyHead, QStringLiteral("Kelvaro32"), platform::Icon::None);
        return;
    }
    app.ModeCheckPending = true;
    SendCommand(platform::serialPort(), QStringLiteral("SE"), 7.0, true);
    Running();
    Display.ReadyVisible = ShowsReady(type, rapidPulse_);
    Display.ReadyGreen = false;  // not ready until the head says so
    Flush();
}

void EnergyEngine::Stop() {
    Stopping();
    ShowStatistics(true);
    Display.ReadyVisible = false;
}

void EnergyEngine::Reset(bool reopenSetup) {
    if (!MayDiscard()) return;
    Initialised = false;
    YScale = MaxOf(CurrentSettings().Energy.EnergyInitialSize, 1);
    Hist.YScaleCopy = YScale;
    ClearHistogram();
    ResetStatistics();
    // The discarded run is not saved later.
    store_.Reset();
    filter_.Reset();
    runHead_.clear();
    Display.EnergyText.clear();
    Display.EnergyVisible = false;
    LogFileOnOff(true);
    if (!Stopped) Stop();
    Unsaved = false;
    Changed();
    Flush();
    if (reopenSetup && View.ReopenSetup) View.ReopenSetup();
}

bool EnergyEngine::Unload(bool fromModeSwitch) {
    bool kept = false;
    if (!BeginClosing(kept)) return !kept;
    if (!Stopped) Stop();
    Display.Caption = WindowTitle;
    RelativeUnits = false;
    EndClosing(fromModeSwitch);
    store_.Release();
    return true;
}
