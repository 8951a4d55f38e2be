// Energy logging from the Mode menu to the saved file: the real serial port
// over a pseudo-terminal to the simulator program, on the real clock.

#include "EndToEnd.h"
#include "data/NumberFormat.h"
#include "energy/frmEnergy.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>

namespace {

const QStringList kPyroelectricArgs = {
    "--model", "talon2", "--head-a",         "type=2,name=PE25,serial=4711,value=0.0125,noise=0.2,rate=20",
    "--seed",  "7",      "--exit-when-idle", "30"};

// The energies the meter sent in reply to "SE", in order (replies without a pulse skipped).
std::vector<float> SentEnergies(const QByteArray& trafficLog) {
    static const QRegularExpression reply(R"(\$SE<CR>\r\n\*([^<\r\n]+)<CR>)");
    std::vector<float> values;
    for (const auto& m : reply.globalMatch(QString::fromLatin1(trafficLog)))
        values.push_back(m.captured(1).toFloat());
    return values;
}

class EnergyEndToEndTest : public EndToEndTest {
protected:
    EnergyEndToEndTest() : EndToEndTest(kPyroelectricArgs) {}
};

TEST_P(EnergyEndToEndTest, pulsesAreSavedAsTheMeterSentThem) {
    const bool logToFile = GetParam();
    ASSERT_TRUE(StartConnected("mnuMode_Energy", [&] { App().EnergyWorkFile = dir.Path("kelvaro.nrg"); }))
        << prompts.Texts().join(" | ").toStdString();
    ASSERT_EQ(App().Channels[0].HeadType, 2);
    QAction* energy = form->action("mnuMode_Energy");
    ASSERT_TRUE(energy->isVisible() && energy->isEnabled());

    (logToFile ? form->mnuLogFile_On : form->mnuLogFile_Off)->trigger();
    energy->trigger();
    ASSERT_EQ(App().ActiveMode, ModeEnergy);
    auto* w = form->findChild<frmEnergy*>("frmEnergy");
    ASSERT_NE(w, nullptr);
    w->butStartStop->click();
    RunFor(2500);
    w->butStartStop->click();
    RunFor(100);  // the reply still on its way is ignored
    EXPECT_TRUE(w->lblEnergy->text().endsWith("mJ")) << w->lblEnergy->text().toStdString();

    prompts.fileAnswers.push_back(dir.Path("run.nrg"));
    FileCommand(0);
    EXPECT_FALSE(w->Engine.Unsaved);
    QList<QByteArray> lines = dir.Read("run.nrg").split('\n');
    ASSERT_GE(lines.size(), 2);
    lines.removeLast();
    EXPECT_EQ(lines[0].toStdString(), "Energy, in Joules \t Head: PE25; s/n4711\r");
    std::vector<float> saved;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        ASSERT_TRUE(lines[i].endsWith("\t\r")) << lines[i].toStdString();
        bool ok = false;
        saved.push_back(
            QString::fromLatin1(lines[i]).trimmed().replace(DecimalSeparator(), ".").toFloat(&ok));
        ASSERT_TRUE(ok) << lines[i].toStdString();
    }
    EXPECT_GE(saved.size(), 30u);  // 20 pulses a second for 2.5 s

    form->mnuConnect_Click();
    const std::vector<float> sent = SentEnergies(dir.Read("rs232.buf"));
    // The reply to the run's first "SE" only opens the cycle, and one may come after Stop.
    ASSERT_GE(sent.size(), saved.size());
    ASSERT_LE(sent.size(), saved.size() + 2);
    const size_t offset = sent.size() > saved.size() && sent[0] != saved[0] ? 1 : 0;
    for (size_t i = 0; i < saved.size(); ++i) ASSERT_EQ(saved[i], sent[i + offset]) << "pulse " << i + 1;
    EXPECT_TRUE(prompts.messages.empty()) << prompts.Texts().join(" | ").toStdString();
}

INSTANTIATE_TEST_SUITE_P(DataLogFile, EnergyEndToEndTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "workingFileCopied" : "storeWritten"; });

}  // namespace
