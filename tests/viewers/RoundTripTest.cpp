// Every logging window's save, with the working file on and off, opened
// again as a PC file into every viewer its kind offers: each value read back
// is what the meter sent, or the combination of the two channels' values.

#include "auxiliary/NotesWindow.h"
#include "data/Overrange.h"
#include "dual/DualPowerProfiles.h"
#include "dual/EnergyRatioEngine.h"
#include "energy/EnergyEngine.h"
#include "state/Configuration.h"
#include "support/ProgramState.h"
#include "tests/power/PowerHarness.h"
#include "viewers/EnergyRatioViewer.h"
#include "viewers/EnergyViewer.h"
#include "viewers/EnergyViewers.h"
#include "viewers/PcFileLoader.h"
#include "viewers/PowerViewer.h"
#include "viewers/PowerViewers.h"
#include "viewers/ViewModeDialog.h"
#include "viewers/Viewers.h"

#include <gtest/gtest.h>
#include <QLocale>
#include <QMdiArea>

namespace {

// The values the viewer of `kind` holds, in direction 0 (A/B, A-B).
std::vector<float> Values(int16_t kind) {
    if (kind == ViewEnergy) return dynamic_cast<EnergyViewer&>(*Viewer(kind)).Data.Values;
    std::vector<float> out;
    if (kind == ViewEnergyRatio) {
        const EnergyRatioViewData& d = dynamic_cast<EnergyRatioViewer&>(*Viewer(kind)).Data;
        for (int32_t i = 0; i < int32_t(d.Points.size()); ++i) {
            double e = 0, r = 0;
            out.push_back(d.PointAt(i, e, r) ? float(r) : -1.0f);
        }
        return out;
    }
    const PowerViewData& d = dynamic_cast<PowerViewer&>(*Viewer(kind)).Data;
    for (int64_t i = 0; i < d.Count(); ++i) {
        double v = 0;
        out.push_back(d.ValueAt(i, 0, v) ? float(v) : -1.0f);
    }
    return out;
}

constexpr float kOver = float(OverrangeValue);

enum class Window { Power, PowerRatio, PowerDifference, Energy, EnergyTimed, EnergyRatio };

// What each view choice (-1: a single-channel file) reads back.
using Views = std::vector<std::pair<int16_t, std::vector<float>>>;

const std::vector<const char*> kTwoChannels = {"1.0E-3 2.0E-3", "3.0E-3 4.0E-3", "5.0E-4 OVER"};
const Views kTwoChannelViews = {
    {0, {1e-3f, 3e-3f, 5e-4f}},
    {1, {2e-3f, 4e-3f, kOver}},
    {2, {0.5f, 0.75f, 0}},  // an over-range divisor gives 0
    {3, {-1e-3f, -1e-3f, -kOver}},
};

// The window, what the meter sends (the text after "*", one reply a second), and the views.
const std::tuple<Window, std::vector<const char*>, Views> kCases[] = {
    {Window::Power, {"1.0E-3", "OVER", "2.5E-3"}, {{-1, {1e-3f, kOver, 2.5e-3f}}}},
    {Window::PowerRatio, kTwoChannels, kTwoChannelViews},
    {Window::PowerDifference, kTwoChannels, kTwoChannelViews},
    {Window::Energy, {"1.25E-3", "OVER", "2E-3"}, {{-1, {1.25e-3f, kOver, 2e-3f}}}},
    {Window::EnergyTimed, {"1.25E-3", "OVER", "2E-3"}, {{-1, {1.25e-3f, kOver, 2e-3f}}}},
    {Window::EnergyRatio,
     {"1.0E-3 2.0E-3", "3.0E-3 4.0E-3", "6.0E-3 OVER"},
     {{0, {1e-3f, 3e-3f, 6e-3f}}, {1, {2e-3f, 4e-3f, kOver}}, {2, {0.5f, 0.75f, kOver}}}},
};

class RoundTripTest : public PowerTest {
protected:
    void SetUp() override {
        PowerTest::SetUp();
        for (int c = 0; c < 2; ++c) {
            ChannelInfo& head = TestMeter().Channels[size_t(c)];
            std::tie(head.HeadName, head.HeadSerial, head.ReadingUnit) =
                std::tuple(QString(c == 0 ? "3A" : "PE25"), QString("; s/n %1").arg(c + 1), QString("W"));
        }
        WorkFiles().PowerRatioWorkFile = WorkFiles().PowerDifferenceWorkFile = dir.Path("kelvaro.dpw");
        WorkFiles().EnergyWorkFile = dir.Path("kelvaro.nrg");
        WorkFiles().RatioWorkFile = dir.Path("kelvaro.dnr");
        CurrentSettings().Power.LogTime = CurrentSettings().PowerRatio.RatioLogTime =
            CurrentSettings().PowerDifference.DifferenceLogTime = 100;
        InstallPowerViewers(&area);
        InstallEnergyViewers(&area);
    }
    void TearDown() override {
        SetViewModeAnswer({});
        ForgetViewers();
        PowerTest::TearDown();
    }

    // Starts `e`, logs `first` and then one reply a second, stops and saves the run as `name`.
    template <class Engine>
    void Run(Engine& e, const char* first, const std::vector<const char*>& replies, const QString& name) {
        e.StartStop();
        for (size_t i = 0; i <= replies.size(); ++i) {
            if (i > 0) clock.Advance(1);
            QString line = QString("*") + (i == 0 ? first : replies[i - 1]) + '\r';
            e.Reply(line);
        }
        e.StartStop();
        e.Save(name);
    }

    // Logs the replies in `window` and saves the run as `name`.
    void LogAndSave(Window window, const std::vector<const char*>& replies, const QString& name) {
        if (window == Window::Power || window == Window::PowerRatio || window == Window::PowerDifference) {
            const PowerProfile& profile = window == Window::Power        ? kPowerProfile
                                          : window == Window::PowerRatio ? kPowerRatioProfile
                                                                         : kPowerDifferenceProfile;
            App().ActiveMode = window == Window::Power ? ModePower : ModePowerRatio;
            TestMeter().DeviceType = window == Window::Power ? MeterModel::Talon : MeterModel::MeridelTwo;
            PowerEngine e(profile);
            e.View.TrialReading = [] {};
            Run(e, window == Window::Power ? "0" : "0 0", replies, name);
            return;
        }
        TestMeter().Channels[0].HeadType = TestMeter().Channels[1].HeadType = HeadKind::Pyroelectric;
        if (window == Window::EnergyRatio) {
            TestMeter().DeviceType = MeterModel::MeridelTwo;
            App().ActiveMode = ModeEnergyRatio;
            EnergyRatioEngine e;
            Run(e, "N N", replies, name);
            return;
        }
        TestMeter().DeviceType = MeterModel::Talon;
        App().ActiveMode = ModeEnergy;
        CurrentSettings().Energy.EnergyTimeStamp = window == Window::EnergyTimed;
        EnergyEngine e;
        e.StartEnergy();
        Run(e, "", replies, name);
    }

    QMdiArea area;
};

// Written under a locale with each decimal separator (the Arabic one of
// ar_EG too), read under the same and under another.
TEST_F(RoundTripTest, everySaveReadsBackIntoEveryViewerAsTheMeterSentIt) {
    const QStringList locales = {"en_US", "de_DE", "ar_EG"};
    auto useLocale = [&](qsizetype i) { SetDecimalSeparator(QLocale(locales[i % 3]).decimalPoint()); };
    int file = 0;
    for (qsizetype writer = 0; writer < locales.size(); ++writer) {
        for (const auto& [window, replies, views] : kCases) {
            for (const bool workFile : {true, false}) {
                CurrentSettings().LogToFile = workFile;
                const QString name = dir.Path(QStringLiteral("run%1.dat").arg(++file));
                useLocale(writer);
                LogAndSave(window, replies, name);
                for (const auto& [mode, expected] : views) {
                    for (const qsizetype reader : {writer, writer + 1}) {
                        SCOPED_TRACE(testing::Message()
                                     << "window " << int(window) << ", working file " << workFile << ", view "
                                     << mode << ", written in " << locales[writer].toStdString()
                                     << ", read in " << locales[reader % 3].toStdString());
                        useLocale(reader);
                        SetViewModeAnswer([mode = mode](int16_t, const QString&) { return mode; });
                        const int16_t kind = LoadPcFile(name);
                        const bool energy = window >= Window::Energy;
                        ASSERT_EQ(kind, energy ? (window == Window::EnergyTimed ? 2 : 1) : 0);
                        ASSERT_GE(App().ViewerKind, 0);
                        EXPECT_EQ(Values(App().ViewerKind), expected);
                        if (energy) continue;
                        const PowerViewData& d = dynamic_cast<PowerViewer&>(*Viewer(App().ViewerKind)).Data;
                        ASSERT_EQ(d.Count(), 3);
                        EXPECT_EQ(std::tuple(d.Time(0), d.Time(1), d.Time(2)), std::tuple(0.0, 1.0, 2.0));
                    }
                }
            }
        }
    }
    EXPECT_TRUE(prompts.Texts().isEmpty()) << prompts.Texts().join('|').toStdString();
}

}  // namespace
