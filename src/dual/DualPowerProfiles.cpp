#include "dual/DualPowerProfiles.h"

#include "data/Arithmetic.h"
#include "dual/DualTexts.h"
#include "link/LinkState.h"
#include "power/PowerEngine.h"
#include "power/PowerTexts.h"
#include "state/AppState.h"

#include <limits>

namespace {

constexpr double kUnbounded = std::numeric_limits<double>::infinity();

PollStep NextDualPoll() {
    return {true, 1, "SB", kQueryTimeout};
}

QString DualCaption(const char* caption) {
    const AppState& app = App();
    const ChannelInfo& a = app.Channels[0];
    const ChannelInfo& b = app.Channels[1];
    return QString::fromLatin1(caption) + QStringLiteral(" - A: ") + a.HeadName + a.HeadSerial +
           QStringLiteral("  B: ") + b.HeadName + b.HeadSerial;
}

QString DualHeader(const std::array<QString, 2>& heads) {
    return DualPowerFileHeader(App().BaseUnit, heads[0], heads[1]);
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
    "Real-Time Power Ratio Logging",
    2,
    "SB",
    kQueryTimeout,
    false,
    0,
    "Ratio",
    0,
    kUnbounded,
    PowerAdjustment::Scale,
    {"Normalize", "DeNormalize"},
    "Norm. Factor:  ",
    {"A/B", "B/A"},
    [] {
        const PowerRatioSettings& s = App().Config.PowerRatio;
        return PowerRunSettings{s.RatioLogTime,     s.RatioLow,  s.RatioHigh,
                                s.RatioDisplayMode, s.RatioGrid, s.RatioStatMode};
    },
    [] { return App().PwrRtoWorkFile; },
    NextDualPoll,
    Ratios,
    [] { return DualCaption(kPowerRatioProfile.Caption); },
    DualHeader,
    [](const PowerEngine& e, double value) { return RatioDisplayText(value, e.Scale); },
    [](const PowerEngine& e, const QString& prefix, double value, bool) {
        return RatioStatisticsText(prefix, value, e.Scale);
    },
    [](const PowerEngine& e) { return NormFactorText(e.Adjusted, e.Scale); },
};

const PowerProfile kPowerDifferenceProfile{
    "Real-Time Power Difference Logging",
    2,
    "SB",
    kQueryTimeout,
    false,
    1,
    "",
    -kUnbounded,
    kUnbounded,
    PowerAdjustment::Shift,
    {"Offset", "Undo Offset"},
    "Offset:  ",
    {"A-B", "B-A"},
    [] {
        const PowerDifferenceSettings& s = App().Config.PowerDifference;
        return PowerRunSettings{s.DiffLogTime,     s.DiffLow,  s.DiffHigh,
                                s.DiffDisplayMode, s.DiffGrid, s.DiffStatMode};
    },
    [] { return App().PwrDiffWorkFile; },
    NextDualPoll,
    Differences,
    [] { return DualCaption(kPowerDifferenceProfile.Caption); },
    DualHeader,
    [](const PowerEngine& e, double value) { return DifferenceDisplayText(value, e.Shift); },
    // The offset moves the values, not their spread.
    [](const PowerEngine& e, const QString& prefix, double value, bool spread) {
        return StatisticsText(prefix, spread ? value : value - e.Shift);
    },
    [](const PowerEngine& e) { return OffsetText(e.Adjusted, e.Shift); },
};

const PowerWindowProfile kPwrRtoWindow{
    &kPowerRatioProfile,
    "frmPwrRto",
    {"lblRtoPwr", "lblMinRtoPwr", "lblMaxRtoPwr", "lblAvrRtoPwr", "lblStDevRtoPwr"},
    false,
    "cmbRatioMode",
    "butNormalize",
    "lblNorma",
    SetupPwrRto,
};

const PowerWindowProfile kPwrDiffWindow{
    &kPowerDifferenceProfile,
    "frmPwrDiff",
    {"lblPwrDiff", "lblMinPwrDiff", "lblMaxPwrDiff", "lblAvrPwrDiff", "lblStDevPwrDiff"},
    false,
    "cmbDifferMode",
    "butOffset",
    "lblOffset",
    SetupPwrDiff,
};

const SetupProfile kSetupPwrRtoProfile{
    "frmSetupPwrRto",
    "Power Ratio Setup",
    LimitStyle::Ratio,
    {"txt_ratio_0", "txt_ratio_1"},
    nullptr,
    nullptr,
    2,
    [] {
        const PowerRatioSettings& s = App().Config.PowerRatio;
        return SetupValues{s.RatioLow,     s.RatioHigh,        s.RatioExponent, 0,
                           s.RatioLogTime, s.RatioDisplayMode, s.RatioGrid,     s.RatioStatMode};
    },
    [](const SetupValues& v) {
        PowerRatioSettings& s = App().Config.PowerRatio;
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
    "frmSetupDifference",
    "Power Difference Setup",
    LimitStyle::Difference,
    {"txt_pwr_diff_0", "txt_pwr_diff_1"},
    "cmbPwrDiffUnits",
    "cmbPwrDiffCoeff",
    3,
    [] {
        const PowerDifferenceSettings& s = App().Config.PowerDifference;
        return SetupValues{s.DiffLow,     s.DiffHigh,        s.DiffExponent, s.DiffUnits,
                           s.DiffLogTime, s.DiffDisplayMode, s.DiffGrid,     s.DiffStatMode};
    },
    [](const SetupValues& v) {
        PowerDifferenceSettings& s = App().Config.PowerDifference;
        s.DiffLow = v.Low;
        s.DiffHigh = v.High;
        s.DiffUnits = v.Units;
        s.DiffExponent = v.Exponent;
        s.DiffLogTime = v.LogTime;
        s.DiffDisplayMode = v.Display;
        s.DiffGrid = v.Grid;
        s.DiffStatMode = v.Stat;
    },
};

frmSetupPower& SetupPwrRto() {
    static frmSetupPower* dialog = new frmSetupPower(kSetupPwrRtoProfile);
    return *dialog;
}

frmSetupPower& SetupPwrDiff() {
    static frmSetupPower* dialog = new frmSetupPower(kSetupDifferenceProfile);
    return *dialog;
}
