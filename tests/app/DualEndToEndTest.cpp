// Power ratio and power difference logging over a pseudo-terminal to the
// simulator program as a two-channel meter, real clock, working file on.

#include "EndToEnd.h"
#include "dual/PowerDifferenceWindow.h"
#include "dual/PowerRatioWindow.h"
#include "support/Screenshot.h"

#include <QComboBox>
#include <QLabel>

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

// The meter's "SB" replies in order, as their two tokens.
std::vector<QStringList> BothChannelReplies(const QByteArray& trafficLog) {
    const QRegularExpression reply(R"(\$SB<CR>\r\n\*([^<\r\n]+)<CR>)");
    std::vector<QStringList> sent;
    for (const auto& m : reply.globalMatch(QString::fromLatin1(trafficLog)))
        sent.push_back(m.captured(1).split(' '));
    return sent;
}

TEST_P(DualEndToEndTest, channelPowersAreSavedAsTheMeterSentThem) {
    const bool ratio = GetParam();
    const QString item = ratio ? "mnuMode_DualPower_Ratio" : "mnuMode_DualPower_Difference";
    ASSERT_TRUE(StartConnected(item)) << Log();
    form->mnuLogFile_On->trigger();
    App().PowerRatioWorkFile = dir.Path("ratio.dpw");
    App().PowerDifferenceWorkFile = dir.Path("difference.dpw");
    // Ranges that show the trace in the screenshots.
    App().Config.PowerRatio.RatioHigh = 5;
    App().Config.PowerDifference.DifferenceLow = -0.005;
    App().Config.PowerDifference.DifferenceHigh = 0.02;
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

    const QByteArray file = Save("run.dpw");
    const QStringList lines = QString::fromLatin1(file).split("\r\n");
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines[0],
              "Power, W Channel A\t Channel B \t Time, in Seconds \t Head A: XLP12; s/n4711\t Head B: "
              "UP19; s/n815");
    form->mnuConnect_Click();  // writes the traffic log
    std::vector<QStringList> sent = BothChannelReplies(dir.Read("rs232.buf"));
    ASSERT_GE(sent.size(), 50u);
    // The first reply of a run only opens it; then every reply with both
    // channels gives one line.
    sent.erase(sent.begin());
    const size_t replies = sent.size();
    std::erase_if(sent, [](const QStringList& r) { return r.size() != 2 || r.join("").contains('N'); });
    EXPECT_LT(sent.size(), replies) << "channel B missed readings";
    const qsizetype data = lines.size() - 2;  // after the header, before the last line end
    ASSERT_GE(data, 30);
    ASSERT_GE(qsizetype(sent.size()), data);
    EXPECT_LE(qsizetype(sent.size()), data + 1);
    for (qsizetype i = 0; i < data; ++i) {
        const QStringList f = QString(lines[i + 1]).replace(DecimalSeparator(), ".").split('\t');
        ASSERT_EQ(f.size(), 3) << lines[i + 1].toStdString();
        ASSERT_EQ(f[0].trimmed().toFloat(), sent[size_t(i)][0].toFloat()) << "line " << i + 2;
        ASSERT_EQ(f[1].trimmed().toFloat(), sent[size_t(i)][1].toFloat()) << "line " << i + 2;
    }
    EXPECT_TRUE(prompts.messages.empty()) << Log();
}

INSTANTIATE_TEST_SUITE_P(Mode, DualEndToEndTest, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "ratio" : "difference"; });

}  // namespace
