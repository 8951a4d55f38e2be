#include "power/PowerProfile.h"

#include "data/Overrange.h"
#include "link/MeterIdentity.h"
#include "power/PowerEngine.h"
#include "power/PowerFile.h"
#include "state/AppState.h"
#include "state/Configuration.h"

const ChannelInfo& CurrentHead() {
    const MeterIdentity& meter = Meter();
    const int c = meter.CurrentChannel;
    return meter.Channels[size_t(c >= 0 && c < int(meter.Channels.size()) ? c : 0)];
}

namespace {

PowerRunSettings PowerSettingsOfRun() {
    const PowerSettings& s = CurrentSettings().Power;
    return {s.LogTime, s.GraphLow, s.GraphHigh, s.DisplayMode, s.GraphGrid, s.StatMode};
}

QString RunCaption() {
    const ChannelInfo& head = CurrentHead();
    const QString typeName = Meter().HeadTypeName(head.HeadType);
    return QString::fromLatin1(kPowerProfile.Caption) + QStringLiteral(" - ") + typeName +
           QStringLiteral(": ") + head.HeadName + head.HeadSerial;
}

QString Readout(const PowerEngine& e, double value) {
    if (IsOverrange(value)) return OverrangeText(e.LimitsOn);
    const PowerRunSettings s = e.Settings();
    return ReadingText(value, e.LimitsOn, s.Low, s.High, e.Chart.Units);
}

}  // namespace

const PowerProfile kPowerProfile{
    .Caption = "Real-Time Power Logging",
    .Channels = 1,
    .FirstCommand = "SP",
    .FirstTimeout = 5.0,
    .TrialReading = true,
    .YLabelMode = 1,
    .YTitle = "",
    .RescaleFloor = 0,
    .RescaleCeiling = 30000,  // 30 kW
    .Adjustment = PowerAdjustment::None,
    .AdjustCaptions = {"", ""},
    .AdjustPrintPrefix = "",
    .DirectionNames = {"", ""},
    .Settings = PowerSettingsOfRun,
    .WorkFilePath = [] { return WorkFiles().WorkFileName; },
    .NextPoll = [] { return NextPoll(CurrentHead().HeadType, Meter().DeviceType); },
    .Combine = nullptr,
    .RunCaption = RunCaption,
    .Header = [](const UnitScale& units,
                 const std::array<QString, 2>& heads) { return PowerFileHeader(units, heads[0]); },
    .Readout = Readout,
    .StatText = [](const PowerEngine& e, const QString& prefix, double value,
                   bool) { return StatisticsText(prefix, value, e.Chart.Units); },
    .AdjustText = nullptr,
};
