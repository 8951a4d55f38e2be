#include "EndToEnd.h"

#include "dual/EnergyRatioWindow.h"

namespace {

// Two pyroelectric heads pulsing at 20 Hz, channel B's pulses 25 ms after
// channel A's, so that every pair is made of two replies.
struct EnergyRatioEndToEndTest : EndToEndTest {
    EnergyRatioEndToEndTest()
        : EndToEndTest({"--model", "meridel2", "--head-a",
                        "type=2,name=PE25,serial=4711,value=0.005,noise=0.2,rate=20", "--head-b",
                        "type=2,name=PE10,serial=815,value=0.004,noise=0.2,rate=20,delay=0.025", "--seed",
                        "7", "--exit-when-idle", "30"}) {}
};

// The meter's new pulses per channel, in order, from the "SB" replies in the traffic log.
std::array<std::vector<float>, 2> PulsesSent(const QByteArray& trafficLog) {
    const QRegularExpression reply(R"(\$SB<CR>\r\n\*(\S+) (\S+)<CR>)");
    std::array<std::vector<float>, 2> sent;
    for (const auto& m : reply.globalMatch(QString::fromLatin1(trafficLog)))
        for (int c = 0; c < 2; ++c)
            if (!m.captured(c + 1).contains('N')) sent[size_t(c)].push_back(m.captured(c + 1).toFloat());
    return sent;
}

TEST_P(EnergyRatioEndToEndTest, pairsAreSavedAsTheMeterSentThem) {
    ASSERT_TRUE(StartConnected("mnuMode_DualEnergy_Ratio")) << Log();
    App().RatioWorkFile = dir.Path("kelvaro.dnr");
    (GetParam() ? form->mnuLogFile_On : form->mnuLogFile_Off)->trigger();
    form->action("mnuMode_DualEnergy_Ratio")->trigger();
    ASSERT_EQ(App().ActiveMode, ModeEnergyRatio) << Log();
    auto* w = form->findChild<EnergyRatioWindow*>("EnergyRatioWindow");
    ASSERT_NE(w, nullptr);
    w->butStartStop->click();
    RunUntil([] { return false; }, 3000);
    w->butStartStop->click();
    RunUntil([] { return false; }, 100);  // the reply still on its way is ignored

    const QStringList lines = QString::fromLatin1(Save("run.dnr")).split("\r\n");
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines[0], "Energy, J Channel A\t Channel B \t Head A: PE25; s/n4711\t Head B: PE10; s/n815");
    std::vector<std::pair<float, float>> saved;
    for (qsizetype i = 1; i + 1 < lines.size(); ++i) {
        const QStringList f = QString(lines[i]).replace(DecimalSeparator(), ".").split('\t');
        ASSERT_EQ(f.size(), 3) << lines[i].toStdString();
        saved.emplace_back(f[0].trimmed().toFloat(), f[1].trimmed().toFloat());
    }
    ASSERT_GE(saved.size(), 40u);  // 20 pairs a second for 3 s

    form->mnuConnect_Click();  // writes the traffic log
    const auto sent = PulsesSent(dir.Read("rs232.buf"));
    // The run's first reply only opens the cycle: a pulse in it is not used.
    for (size_t c = 0; c < 2; ++c) {
        const std::vector<float>& s = sent[c];
        const float first = c == 0 ? saved[0].first : saved[0].second;
        const size_t offset = !s.empty() && s[0] != first ? 1 : 0;
        ASSERT_GE(s.size(), saved.size() + offset);
        ASSERT_LE(s.size(), saved.size() + offset + 1);
        for (size_t i = 0; i < saved.size(); ++i)
            ASSERT_EQ(c == 0 ? saved[i].first : saved[i].second, s[i + offset])
                << "channel " << c << " pulse " << i;
    }
    EXPECT_TRUE(prompts.messages.empty()) << Log();
}

INSTANTIATE_TEST_SUITE_P(DataLogFile, EnergyRatioEndToEndTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "workingFileCopied" : "storeWritten"; });

}  // namespace
