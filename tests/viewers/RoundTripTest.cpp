// Every logging window's save, with the working file on and off, opened
// again as a PC file into every viewer its kind offers: each value read back
// is what the meter sent, or the combination of the two channels' values.

#include "auxiliary/NotesWindow.h"
#include "data/NumberFormat.h"
#include "data/Overrange.h"
#include "data/WorkFile.h"
#include "dual/DualPowerProfiles.h"
#include "dual/EnergyRatioEngine.h"
#include "energy/EnergyEngine.h"
#include "link/LinkState.h"
#include "power/PowerEngine.h"
#include "state/AppState.h"
#include "support/FakeClock.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"
#include "tests/power/PowerHarness.h"
#include "viewers/EnergyRatioViewData.h"
#include "viewers/EnergyViewData.h"
#include "viewers/PcFileLoader.h"
#include "viewers/PowerViewData.h"
#include "viewers/StoredDataViewer.h"
#include "viewers/ViewModeDialog.h"
#include "viewers/Viewers.h"

#include <gtest/gtest.h>
#include <QLocale>
#include <QPlainTextEdit>
#include <array>
#include <memory>

namespace {

// The viewers' records without their windows: each line goes where the
// real viewer puts it.
struct RecordViewer : StoredDataViewer {
    explicit RecordViewer(int16_t k)
        : kind(k),
          power(k == ViewPowerRatio        ? PowerCombine::Ratio
                : k == ViewPowerDifference ? PowerCombine::Difference
                                           : PowerCombine::Single) {}
    void Load(int step, const QString& text) override {
        if (step == -1) {
            App().ViewerKind = kind;
            power.Clear();
            energy.Begin(false, false);
            ratio.Begin();
        } else if (step == 0) {
            if (kind == ViewEnergy)
                energy.Add(text);
            else if (kind == ViewEnergyRatio)
                ratio.Add(text);
            else
                power.AddLine(text);
        }
    }
    void ShowData() override {}
    void DataSave(const QString&) override {}
    void Print() override {}

    // The values shown, in direction 0 (A/B, A-B), and the times of power records.
    std::vector<float> Values() const {
        std::vector<float> out;
        if (kind == ViewEnergy) return energy.Values;
        if (kind == ViewEnergyRatio) {
            for (int32_t i = 0; i < int32_t(ratio.Points.size()); ++i) {
                double e = 0, r = 0;
                out.push_back(ratio.PointAt(i, e, r) ? float(r) : -1.0f);
            }
            return out;
        }
        for (int64_t i = 0; i < power.Count(); ++i) {
            double v = 0;
            out.push_back(power.ValueAt(i, 0, v) ? float(v) : -1.0f);
        }
        return out;
    }
    std::vector<double> Times() const {
        std::vector<double> out;
        if (kind != ViewEnergy && kind != ViewEnergyRatio)
            for (int64_t i = 0; i < power.Count(); ++i) out.push_back(power.Time(i));
        return out;
    }

    int16_t kind;
    PowerViewData power;
    EnergyViewData energy;
    EnergyRatioViewData ratio;
};

constexpr float kOver = float(OverrangeValue);

enum class Window { Power, PowerRatio, PowerDifference, Energy, EnergyTimed, EnergyRatio };

// What the meter sends (the text after "*"), one reply a second, and what
// each view choice (-1: a single-channel file) reads back.
struct Case {
    Window window;
    std::vector<const char*> replies;
    std::vector<std::pair<int16_t, std::vector<float>>> views;
};

const std::vector<const char*> kTwoChannels = {"1.0E-3 2.0E-3", "3.0E-3 4.0E-3", "5.0E-4 OVER"};
const std::vector<std::pair<int16_t, std::vector<float>>> kTwoChannelViews = {
    {0, {1e-3f, 3e-3f, 5e-4f}},
    {1, {2e-3f, 4e-3f, kOver}},
    {2, {0.5f, 0.75f, 0}},  // an over-range divisor gives 0
    {3, {-1e-3f, -1e-3f, -kOver}},
};

const Case kCases[] = {
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
        AppState& app = App();
        for (int c = 0; c < 2; ++c) {
            ChannelInfo& head = app.Channels[size_t(c)];
            head.HeadName = c == 0 ? QStringLiteral("3A") : QStringLiteral("PE25");
            head.HeadSerial = QStringLiteral("; s/n %1").arg(c + 1);
            head.ReadingUnit = QStringLiteral("W");
        }
        app.PowerRatioWorkFile = app.PowerDifferenceWorkFile = dir.Path("kelvaro.dpw");
        app.EnergyWorkFile = dir.Path("kelvaro.nrg");
        app.RatioWorkFile = dir.Path("kelvaro.dnr");
        app.Config.Power.LogTime = app.Config.PowerRatio.RatioLogTime =
            app.Config.PowerDifference.DifferenceLogTime = 100;
        for (int16_t k = 0; k < kViewerKinds; ++k) {
            viewers[size_t(k)] = std::make_unique<RecordViewer>(k);
            SetViewerFactory(k, [v = viewers[size_t(k)].get()] { return v; });
        }
    }
    void TearDown() override {
        SetViewModeAnswer({});
        ForgetViewers();
        Notes().ClearNotesBox();
        PowerTest::TearDown();
    }

    // Logs the replies in `window` and saves the run as `name`.
    void LogAndSave(Window window, const std::vector<const char*>& replies, const QString& name) {
        AppState& app = App();
        auto reply = [](const char* text) { return QStringLiteral("*") + text + QLatin1Char('\r'); };
        if (window == Window::Power || window == Window::PowerRatio || window == Window::PowerDifference) {
            const PowerProfile& profile = window == Window::Power        ? kPowerProfile
                                          : window == Window::PowerRatio ? kPowerRatioProfile
                                                                         : kPowerDifferenceProfile;
            app.ActiveMode = window == Window::Power ? ModePower : ModePowerRatio;
            app.DeviceType = window == Window::Power ? 0 : 2;
            PowerEngine e(profile);
            e.View.TrialReading = [] {};
            e.StartStop();
            e.PowerLog(0, reply(window == Window::Power ? "0" : "0 0"));
            for (const char* r : replies) {
                clock.Advance(1);
                e.PowerLog(0, reply(r));
            }
            e.StartStop();
            e.PowerSave(name);
            return;
        }
        app.Channels[0].HeadType = app.Channels[1].HeadType = 2;
        if (window == Window::EnergyRatio) {
            app.DeviceType = 2;
            app.ActiveMode = ModeEnergyRatio;
            EnergyRatioEngine e;
            e.StartStop();
            QString first = reply("N N");
            e.EnergyRatioLog(0, first);
            for (const char* r : replies) {
                clock.Advance(1);
                QString line = reply(r);
                e.EnergyRatioLog(0, line);
            }
            e.StartStop();
            e.EnergyRatioSave(name);
            return;
        }
        app.DeviceType = 0;
        app.ActiveMode = ModeEnergy;
        app.Config.Energy.EnergyTimeStamp = window == Window::EnergyTimed;
        EnergyEngine e;
        e.StartEnergy();
        e.StartStop();
        QString first = reply("");
        e.EnergyLog(0, first);
        for (const char* r : replies) {
            clock.Advance(1);
            QString line = reply(r);
            e.EnergyLog(0, line);
        }
        e.StartStop();
        e.EnergySave(name);
    }

    std::array<std::unique_ptr<RecordViewer>, kViewerKinds> viewers;
};

// Written under a locale with each decimal separator (the Arabic one of
// ar_EG too), read under the same and under another.
TEST_F(RoundTripTest, everySaveReadsBackIntoEveryViewerAsTheMeterSentIt) {
    const QStringList locales = {"en_US", "de_DE", "ar_EG"};
    auto useLocale = [&](qsizetype i) { SetDecimalSeparator(QLocale(locales[i % 3]).decimalPoint()); };
    int file = 0;
    for (qsizetype writer = 0; writer < locales.size(); ++writer) {
        for (const Case& c : kCases) {
            for (const bool workFile : {true, false}) {
                App().Config.LogToFile = workFile;
                const QString name = dir.Path(QStringLiteral("run%1.dat").arg(++file));
                Notes().txtboxNotes->setPlainText("Beam at 45 degrees");
                useLocale(writer);
                LogAndSave(c.window, c.replies, name);
                for (const auto& [mode, expected] : c.views) {
                    for (const qsizetype reader : {writer, writer + 1}) {
                        SCOPED_TRACE(
                            QStringLiteral("window %1, working file %2, view %3, written in %4, read in %5")
                                .arg(int(c.window))
                                .arg(workFile)
                                .arg(mode)
                                .arg(locales[writer], locales[reader % 3])
                                .toStdString());
                        useLocale(reader);
                        SetViewModeAnswer([mode = mode](int16_t, const QString&) { return mode; });
                        Notes().ClearNotesBox();
                        const int16_t kind = LoadPcFile(name);
                        EXPECT_EQ(Notes().NotesText(), "Beam at 45 degrees");
                        const bool energy = c.window >= Window::Energy;
                        ASSERT_EQ(kind, energy ? (c.window == Window::EnergyTimed ? 2 : 1) : 0);
                        ASSERT_GE(App().ViewerKind, 0);
                        const RecordViewer& v = *viewers[size_t(App().ViewerKind)];
                        EXPECT_EQ(v.Values(), expected);
                        if (!energy) {
                            EXPECT_EQ(v.Times(), (std::vector<double>{0, 1, 2}));
                        }
                    }
                }
            }
        }
    }
    EXPECT_TRUE(prompts.Texts().isEmpty()) << prompts.Texts().join('|').toStdString();
}

}  // namespace
