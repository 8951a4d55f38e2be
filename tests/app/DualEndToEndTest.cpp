// Power ratio, power difference and energy ratio logging over a
// pseudo-terminal to the simulator program as a two-channel meter, real clock.

#include "EndToEnd.h"
#include "dual/EnergyRatioWindow.h"
#include "dual/PowerDifferenceWindow.h"
#include "dual/PowerRatioWindow.h"
#include "state/Configuration.h"
#include "support/Screenshot.h"

namespace {

// Channel B misses every third reading ("N"): such replies store nothing.
const QStringList kTwoHeads = {"--model",          "meridel2",
                               "--head-a",         "type=1,name=XLP12,serial=4711,value=0.0125,noise=0.2",
                               "--head-b",         "type=1,name=UP19,serial=815,value=0.005,noise=0.2,miss=3",
                               "--seed",           "7",
                               "--exit-when-idle", "30"};

struct DualEndToEndTest : EndToEndTest {
    DualEndToEndTest() : EndToEndTest(kTwoHeads) {}
};

TEST_P(DualEndToEndTest, channelPowersAreSavedAsTheMeterSentThem) {
    const bool ratio = GetParam();
    const QString item = ratio ? "mnuMode_DualPower_Ratio" : "mnuMode_DualPower_Difference";
    ASSERT_TRUE(StartConnected(item)) << Log();
    form->mnuLogFile_On->trigger();
    WorkFiles().PowerRatioWorkFile = dir.Path("ratio.dpw");
    WorkFiles().PowerDifferenceWorkFile = dir.Path("difference.dpw");
    // Ranges that show the trace in the screenshots.
    CurrentSettings().PowerRatio.RatioHigh = 5;
    CurrentSettings().PowerDifference.DifferenceLow = -0.005;
    CurrentSettings().PowerDifference.DifferenceHigh = 0.02;
    form->action(item)->trigger();
    auto* w = form->findChild<PowerWindow*>(ratio ? "PowerRatioWindow" : "PowerDifferenceWindow");
    ASSERT_NE(w, nullptr);
    ASSERT_EQ(App().ActiveMode, ratio ? ModePowerRatio : ModePowerDifference);
    w->butStartStop->click();
    RunUntil([] { return false; }, 1500);
    EXPECT_FALSE(SaveScreenshot(w, ratio ? "power-ratio-window" : "power-difference-window").isEmpty());
    RunUntil([] { return false; }, 500);
    w->butStartStop->click();
    RunUntil([] { return false; }, 100);  // the reply still on its way is ignored

    const auto [header, data] = ReadDataFile(Save("run.dpw"), true, true);
    EXPECT_EQ(header,
              "Power, W Channel A\t Channel B \t Time, in Seconds \t Head A: XLP12; s/n4711\t Head B: "
              "UP19; s/n815");
    form->mnuConnect_Click();  // writes the traffic log
    std::vector<QStringList> sent = ReplyTokens(dir.Read("rs232.buf"), "SB");
    ASSERT_GE(sent.size(), 50u);
    // The first reply of a run only opens it; then every reply with both
    // channels gives one line.
    sent.erase(sent.begin());
    const size_t replies = sent.size();
    std::erase_if(sent, [](const QStringList& r) { return r.size() != 2 || r.join("").contains('N'); });
    EXPECT_LT(sent.size(), replies) << "channel B missed readings";
    ASSERT_GE(data.size(), 30u);
    ASSERT_GE(sent.size(), data.size());
    EXPECT_LE(sent.size(), data.size() + 1);
    for (size_t i = 0; i < data.size(); ++i) {
        ASSERT_EQ(data[i].value, sent[i][0].toFloat()) << "line " << i + 2;
        ASSERT_EQ(data[i].b, sent[i][1].toFloat()) << "line " << i + 2;
    }
    EXPECT_TRUE(prompts.messages.empty()) << Log();
}

INSTANTIATE_TEST_SUITE_P(Mode, DualEndToEndTest, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "ratio" : "difference"; });

// Two pyroelectric heads pulsing at 20 Hz, channel B's pulses 25 ms after
// channel A's, so that every pair is made of two replies.
struct EnergyRatioEndToEndTest : EndToEndTest {
    EnergyRatioEndToEndTest()
        : EndToEndTest({"--model", "meridel2", "--head-a",
                        "type=2,name=PE25,serial=4711,value=0.005,noise=0.2,rate=20", "--head-b",
                        "type=2,name=PE10,serial=815,value=0.004,noise=0.2,rate=20,delay=0.025", "--seed",
                        "7", "--exit-when-idle", "30"}) {}
};

TEST_P(EnergyRatioEndToEndTest, pairsAreSavedAsTheMeterSentThem) {
    ASSERT_TRUE(StartConnected("mnuMode_DualEnergy_Ratio")) << Log();
    WorkFiles().RatioWorkFile = dir.Path("kelvaro.dnr");
    (GetParam() ? form->mnuLogFile_On : form->mnuLogFile_Off)->trigger();
    form->action("mnuMode_DualEnergy_Ratio")->trigger();
    ASSERT_EQ(App().ActiveMode, ModeEnergyRatio) << Log();
    auto* w = form->findChild<EnergyRatioWindow*>("EnergyRatioWindow");
    ASSERT_NE(w, nullptr);
    LogFor(w, 3000);

    const auto [header, saved] = ReadDataFile(Save("run.dnr"), false, true);
    EXPECT_EQ(header, "Energy, J Channel A\t Channel B \t Head A: PE25; s/n4711\t Head B: PE10; s/n815");
    ASSERT_GE(saved.size(), 40u);  // 20 pairs a second for 3 s

    form->mnuConnect_Click();  // writes the traffic log
    // Each channel's new pulses in the "SB" replies; the run's first reply
    // only opens the cycle: a pulse in it is not used.
    for (int c = 0; c < 2; ++c) {
        std::vector<float> s;
        for (const QStringList& r : ReplyTokens(dir.Read("rs232.buf"), "SB"))
            if (r.size() == 2 && !r[c].contains('N')) s.push_back(r[c].toFloat());
        const float first = c == 0 ? saved[0].value : saved[0].b;
        const size_t offset = !s.empty() && s[0] != first ? 1 : 0;
        ASSERT_GE(s.size(), saved.size() + offset);
        ASSERT_LE(s.size(), saved.size() + offset + 1);
        for (size_t i = 0; i < saved.size(); ++i)
            ASSERT_EQ(c == 0 ? saved[i].value : saved[i].b, s[i + offset])
                << "channel " << c << " pulse " << i;
    }
    EXPECT_TRUE(prompts.messages.empty()) << Log();
}

INSTANTIATE_TEST_SUITE_P(DataLogFile, EnergyRatioEndToEndTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "workingFileCopied" : "storeWritten"; });

}  // namespace
