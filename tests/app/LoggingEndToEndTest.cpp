// Power and energy logging from the Mode menu to the saved file, with the
// Data Log File off and on, over a pseudo-terminal to the simulator program.

#include "EndToEnd.h"
#include "energy/frmEnergy.h"

#include <QLabel>

namespace {

struct PowerEndToEndTest : EndToEndTest {
    PowerEndToEndTest() : EndToEndTest(kScatteringThermopile) {}
};

TEST_P(PowerEndToEndTest, loggedReadingsAreSavedAsTheMeterSentThem) {
    ASSERT_TRUE(StartConnected("mnuMode_Power")) << Log();
    (GetParam() ? form->mnuLogFile_On : form->mnuLogFile_Off)->trigger();
    frmPower* w = StartPowerLogging();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->butStartStop->text(), "&Stop");
    RunUntil([] { return false; }, 2000);
    w->butStartStop->click();
    EXPECT_TRUE(w->lblPower->text().endsWith("mW")) << w->lblPower->text().toStdString();
    RunUntil([] { return false; }, 100);  // the reply still on its way is ignored by the stopped window

    const auto [header, data] = ReadDataFile(Save("run.pwr"));
    EXPECT_FALSE(w->Engine.NotSaved);
    EXPECT_EQ(header, "Power, in Watts \t Time, in Seconds \t Head: XLP12; s/n4711");
    // At 19200 baud a reading takes under 10 ms; two seconds give far more
    // than a hundred, and the window stored one point for each.
    ASSERT_GE(data.size(), 100u);
    EXPECT_EQ(int32_t(data.size()), w->Engine.PointsOnShow());
    EXPECT_EQ(data.front().time, 0.0);
    for (size_t i = 1; i < data.size(); ++i) ASSERT_GE(data[i].time, data[i - 1].time) << "line " << i + 1;
    EXPECT_GT(data.back().time, 1.0);
    EXPECT_LT(data.back().time, 2.5);

    // Disconnecting writes the traffic log; it holds the whole exchange.
    form->mnuConnect_Click();
    const QByteArray traffic = dir.Read("rs232.buf");
    ASSERT_TRUE(traffic.startsWith("Log file was open on ")) << traffic.left(200).toStdString();
    EXPECT_TRUE(traffic.contains("Log closed on "));
    ExpectSentReadings(data, traffic);
    EXPECT_TRUE(prompts.Texts().isEmpty()) << Log();
}

INSTANTIATE_TEST_SUITE_P(DataLogFile, PowerEndToEndTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "workingFileCopied" : "pointsWritten"; });

struct EnergyEndToEndTest : EndToEndTest {
    EnergyEndToEndTest() : EndToEndTest(ScatteringHead("talon2", "type=2,name=PE25,rate=20")) {}
};

TEST_P(EnergyEndToEndTest, pulsesAreSavedAsTheMeterSentThem) {
    ASSERT_TRUE(StartConnected("mnuMode_Energy")) << Log();
    ASSERT_EQ(App().Channels[0].HeadType, 2);
    (GetParam() ? form->mnuLogFile_On : form->mnuLogFile_Off)->trigger();
    form->action("mnuMode_Energy")->trigger();
    ASSERT_EQ(App().ActiveMode, ModeEnergy);
    auto* w = form->findChild<frmEnergy*>("frmEnergy");
    ASSERT_NE(w, nullptr);
    w->butStartStop->click();
    RunUntil([] { return false; }, 2500);
    w->butStartStop->click();
    RunUntil([] { return false; }, 100);  // the reply still on its way is ignored
    EXPECT_TRUE(w->lblEnergy->text().endsWith("mJ")) << w->lblEnergy->text().toStdString();

    const auto [header, saved] = ReadDataFile(Save("run.nrg"), false);
    EXPECT_FALSE(w->Engine.Unsaved);
    EXPECT_EQ(header, "Energy, in Joules \t Head: PE25; s/n4711");
    ASSERT_GE(saved.size(), 30u);  // 20 pulses a second for 2.5 s

    form->mnuConnect_Click();
    const std::vector<float> sent = Replies(dir.Read("rs232.buf"), "SE");
    // The reply to the run's first "SE" only opens the cycle, and one may come after Stop.
    ASSERT_GE(sent.size(), saved.size());
    ASSERT_LE(sent.size(), saved.size() + 2);
    const size_t offset = sent.size() > saved.size() && sent[0] != saved[0].value ? 1 : 0;
    for (size_t i = 0; i < saved.size(); ++i)
        ASSERT_EQ(saved[i].value, sent[i + offset]) << "pulse " << i + 1;
    EXPECT_TRUE(prompts.messages.empty()) << Log();
}

INSTANTIATE_TEST_SUITE_P(DataLogFile, EnergyEndToEndTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "workingFileCopied" : "storeWritten"; });

}  // namespace
