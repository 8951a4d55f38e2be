// Power logging from start-up to the saved file: the real serial port over a
// pseudo-terminal to the simulator program, on the real clock.

#include "EndToEnd.h"
#include "power/frmPower.h"

#include <QLabel>
#include <QPushButton>

namespace {

class PowerEndToEndTest : public EndToEndTest {
protected:
    PowerEndToEndTest() : EndToEndTest(kScatteringThermopile) {}
};

TEST_P(PowerEndToEndTest, loggedReadingsAreSavedAsTheMeterSentThem) {
    const bool logToFile = GetParam();
    // The working file stays in the test's folder.
    ASSERT_TRUE(StartConnected("mnuMode_Power", [&] { App().WorkFileName = dir.Path("kelvaro.pwr"); }))
        << prompts.Texts().join(" | ").toStdString();

    (logToFile ? form->mnuLogFile_On : form->mnuLogFile_Off)->trigger();
    form->action("mnuMode_Power")->trigger();
    ASSERT_EQ(App().ActiveMode, ModePower);
    auto* w = static_cast<frmPower*>(form->findChild<QWidget*>("frmPower"));
    ASSERT_NE(w, nullptr);
    w->butStartStop->click();
    EXPECT_EQ(w->butStartStop->text(), "&Stop");
    RunFor(2000);
    w->butStartStop->click();
    EXPECT_TRUE(w->lblPower->text().endsWith("mW")) << w->lblPower->text().toStdString();
    // The reply still on its way is ignored by the stopped window.
    RunFor(100);
    const int32_t points = w->Engine.PointsOnShow();

    prompts.fileAnswers.push_back(dir.Path("run.pwr"));
    FileCommand(0);
    EXPECT_FALSE(w->Engine.NotSaved);
    std::string header;
    const std::vector<DataLine> data = ReadPowerFile(dir.Read("run.pwr"), header);
    EXPECT_EQ(header, "Power, in Watts \t Time, in Seconds \t Head: XLP12; s/n4711");
    // At 19200 baud a reading takes under 10 ms; two seconds give far more
    // than a hundred, and the window stored one point for each.
    EXPECT_GE(data.size(), 100u);
    EXPECT_EQ(int32_t(data.size()), points);
    ASSERT_FALSE(data.empty());
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

    EXPECT_TRUE(prompts.messages.empty()) << prompts.Texts().join(" | ").toStdString();
    EXPECT_TRUE(prompts.questions.empty()) << prompts.Texts().join(" | ").toStdString();
}

INSTANTIATE_TEST_SUITE_P(DataLogFile, PowerEndToEndTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "workingFileCopied" : "pointsWritten"; });

}  // namespace
