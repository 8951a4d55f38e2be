#include "dual/DualPowerProfiles.h"

#include "data/Arithmetic.h"
#include "dual/DualTexts.h"
#include "link/LinkState.h"
#include "link/MeterIdentity.h"
#include "power/PowerEngine.h"
#include "power/PowerTexts.h"
#include "state/AppState.h"
#include "state/Configuration.h"

#include <limits>

namespace {

constexpr double kUnbounded = std::numeric_limits<double>::infinity();

PollStep NextDualPoll() {
    return {true, 1, "SB", kQueryTimeout};
}

QString DualCaption(const char* caption) {
    const ChannelInfo& a = Meter().Channels[0];
    const ChannelInfo& b = Meter().Channels[1];
    return QString::fromLatin1(caption) + QStringLiteral(" - A: ") + a.HeadName + a.HeadSerial +
           QStringLiteral("  B: ") + b.HeadName + b.HeadSerial;
}

QString DualHeader(const UnitScale& units, const std::array<QString, 2>& heads) {
    return DualPowerFileHeader(units.BaseUnit, heads[0], heads[1]);
}

// The stored ratios are never normalised, the differences never offset.
bool Ratios(double a, double b, std::array<double, 2>& values) {
    return RatioOf(0, 1, a, b, values[0]) && RatioOf(1, 1, a, b, values[1]);
}

bool Differences(double a, double b, std::array<double, 2>& values) {
    return DifferenceOf(0, 0, a, b, values[0]) && DifferenceOf(1, 0, a, b, values[1]);
}

}  // namespace

const PowerProfile kPowerRatioProfile{
    .Caption = "Real-Time Power Ratio Logging",
    .Channels = 2,
    .FirstCommand = "SB",
    .FirstTimeout = kQueryTimeout,
    .TrialReading = false,
    .YLabelMode = 0,
    .YTitle = "Ratio",
    .RescaleFloor = 0,
    .RescaleCeiling = kUnbounded,
    .Adjustment = PowerAdjustment::Scale,
    .AdjustCaptions = {"Normalize", "DeNormalize"},
    .AdjustPrintPrefix = "Norm. Factor:  ",
    .DirectionNames = {"A/B", "B/A"},
    .Settings =
        [] {
            const PowerRatioSettings& s = CurrentSettings().PowerRatio;
            return PowerRunSettings{s.RatioLogTime,     s.RatioLow,  s.RatioHigh,
                                    s.RatioDisplayMode, s.RatioGrid, s.RatioStatMode};
        },
    .WorkFilePath = [] { return WorkFiles().PowerRatioWorkFile; },
    .NextPoll = NextDualPoll,
    .Combine = Ratios,
    .RunCaption = [] { return DualCaption(kPowerRatioProfile.Caption); },
    .Header = DualHeader,
    .Readout = [](const PowerEngine& e, double value) { return RatioDisplayText(value, e.Scale); },
    .StatText = [](const PowerEngine& e, const QString& prefix, double value,
                   bool) { return RatioStatisticsText(prefix, value, e.Scale); },
    .AdjustText = [](const PowerEngine& e) { return NormFactorText(e.Adjusted, e.Scale); },
};

const PowerProfile kPowerDifferenceProfile{
    .Caption = "Real-Time Power Difference Logging",
    .Channels = 2,
    .FirstCommand = "SB",
    .FirstTimeout = kQueryTimeout,
    .TrialReading = false,
    .YLabelMode = 1,
    .YTitle = "",
    .RescaleFloor = -kUnbounded,
    .RescaleCeiling = kUnbounded,
    .Adjustment = PowerAdjustment::Shift,
    .AdjustCaptions = {"Offset", "Undo Offset"},
    .AdjustPrintPrefix = "Offset:  ",
    .DirectionNames = {"A-B", "B-A"},
    .Settings =
        [] {
            const PowerDifferenceSettings& s = CurrentSettings().PowerDifference;
            return PowerRunSettings{s.DifferenceLogTime,     s.DifferenceLow,  s.DifferenceHigh,
                                    s.DifferenceDisplayMode, s.DifferenceGrid, s.DifferenceStatMode};
        },
    .WorkFilePath = [] { return WorkFiles().PowerDifferenceWorkFile; },
    .NextPoll = NextDualPoll,
    .Combine = Differences,
    .RunCaption = [] { return DualCaption(kPowerDifferenceProfile.Caption); },
    .Header = DualHeader,
    .Readout = [](const PowerEngine& e,
                  double value) { return DifferenceDisplayText(value, e.Shift, e.Chart.Units); },
    // The offset moves the values, not their spread.
    .StatText =
        [](const PowerEngine& e, const QString& prefix, double value, bool spread) {
            return StatisticsText(prefix, spread ? value : value - e.Shift, e.Chart.Units);
        },
    .AdjustText = [](const PowerEngine& e) { return OffsetText(e.Adjusted, e.Shift, e.Chart.Units); },
};

const PowerWindowProfile kPowerRatioWindow{
    .Engine = &kPowerRatioProfile,
    .Name = "PowerRatioWindow",
    .Labels = {"lblRatioPower", "lblMinRatioPower", "lblMaxRatioPower", "lblAvrRatioPower",
               "lblStDevRatioPower"},
    .LimitsWarning = false,
    .Directions = "cmbRatioMode",
    .AdjustButton = "butNormalize",
    .AdjustLabel = "lblNorma",
    .Setup = SetupPowerRatio,
};

const PowerWindowProfile kPowerDifferenceWindow{
    .Engine = &kPowerDifferenceProfile,
    .Name = "PowerDifferenceWindow",
    .Labels = {"lblPowerDifference", "lblMinPowerDifference", "lblMaxPowerDifference",
               "lblAvrPowerDifference", "lblStDevPowerDifference"},
    .LimitsWarning = false,
    .Directions = "cmbDifferenceMode",
    .AdjustButton = "butOffset",
    .AdjustLabel = "lblOffset",
    .Setup = SetupPowerDifference,
};

const SetupProfile kSetupPowerRatioProfile{
    .Name = "PowerRatioSetupDialog",
    .Title = "Power Ratio Setup",
    .Limits = LimitStyle::Ratio,
    .Boxes = {"txt_ratio_0", "txt_ratio_1"},
    .Units = nullptr,
    .Scale = nullptr,
    .DisplayOptions = 2,
    .Read =
        [] {
            const PowerRatioSettings& s = CurrentSettings().PowerRatio;
            return SetupValues{s.RatioLow,     s.RatioHigh,        s.RatioExponent, 0,
                               s.RatioLogTime, s.RatioDisplayMode, s.RatioGrid,     s.RatioStatMode};
        },
    .Write =
        [](const SetupValues& v) {
            PowerRatioSettings& s = CurrentSettings().PowerRatio;
            s.RatioLow = v.Low;
            s.RatioHigh = v.High;
            s.RatioExponent = v.Exponent;
            s.RatioLogTime = v.LogTime;
            s.RatioDisplayMode = v.Display;
            s.RatioGrid = v.Grid;
            s.RatioStatMode = v.Stat;
        },
};

const SetupProfile kSetupDifferenceProfile{
    .Name = "PowerDifferenceSetupDialog",
    .Title = "Power Difference Setup",
    .Limits = LimitStyle::Difference,
    .Boxes = {"txt_pwr_diff_0", "txt_pwr_diff_1"},
    .Units = "cmbPowerDifferenceUnits",
    .Scale = "cmbPowerDifferenceCoeff",
    .DisplayOptions = 3,
    .Read =
        [] {
            const PowerDifferenceSettings& s = CurrentSettings().PowerDifference;
            return SetupValues{s.DifferenceLow,   s.DifferenceHigh,    s.DifferenceExponent,
                               s.DifferenceUnits, s.DifferenceLogTime, s.DifferenceDisplayMode,
                               s.DifferenceGrid,  s.DifferenceStatMode};
        },
    .Write =
        [](const SetupValues& v) {
            PowerDifferenceSettings& s = CurrentSettings().PowerDifference;
            s.DifferenceLow = v.Low;
            s.DifferenceHigh = v.High;
            s.DifferenceUnits = v.Units;
            s.DifferenceExponent = v.Exponent;
            s.DifferenceLogTime = v.LogTime;
            s.DifferenceDisplayMode = v.Display;
            s.DifferenceGrid = v.Grid;
            s.DifferenceStatMode = v.Stat;
        },
};

PowerSetupDialog& SetupPowerRatio() {
    static PowerSetupDialog* dialog = new PowerSetupDialog(kSetupPowerRatioProfile);
    return *dialog;
}

PowerSetupDialog& SetupPowerDifference() {
    static PowerSetupDialog* dialog = new PowerSetupDialog(kSetupDifferenceProfile);
    return *dialog;
}
