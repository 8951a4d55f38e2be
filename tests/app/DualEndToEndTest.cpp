// Power ratio and power difference logging over a pseudo-terminal to the
// simulator program as a two-channel meter, real clock.

#include "EndToEnd.h"
#include "state/Configuration.h"
#include "support/Screenshot.h"

namespace {

// Channel B misses every third reading ("N").
struct DualEndToEndTest : EndToEndTest {
    DualEndToEndTest()
        : EndToEndTest({"--model", "meridel2", "--head-a",
                        "type=1,name=XLP12,serial=4711,value=0.0125,noise=0.2", "--head-b",
                        "type=1,name=UP19,serial=815,value=0.005,noise=0.2,miss=3", "--seed", "7",
                        "--exit-when-idle", "30"}) {}
};

TEST_P(DualEndToEndTest, channelPowersAreLoggedOverThePortAndSavedUnderBothHeads) {
    const bool ratio = GetParam();
    const QString item = ratio ? "mnuMode_DualPower_Ratio" : "mnuMode_DualPower_Difference";
    ASSERT_TRUE(StartConnected(item)) << Log();
    // Ranges that show the trace in the screenshots.
    CurrentSettings().PowerRatio.RatioHigh = 5;
    CurrentSettings().PowerDifference.DifferenceLow = -0.005;
    CurrentSettings().PowerDifference.DifferenceHigh = 0.02;
    form->action(item)->trigger();
    auto* w = form->findChild<PowerWindow*>(ratio ? "PowerRatioWindow" : "PowerDifferenceWindow");
    ASSERT_NE(w, nullptr);
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
    // Every line the meter's values: pinned by the two-channel engine's tests; here they came
    // through the window over the port.
    EXPECT_GE(data.size(), 30u);
    EXPECT_TRUE(prompts.messages.empty()) << Log();
}

INSTANTIATE_TEST_SUITE_P(Mode, DualEndToEndTest, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "ratio" : "difference"; });

}  // namespace
