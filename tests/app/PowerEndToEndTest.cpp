// Power logging from start-up to the saved file: the real serial port over a
// pseudo-terminal to the simulator program, on the real clock.

#include "EndToEnd.h"
#include "app/MDIForm1.h"
#include "data/FileCommand.h"
#include "data/NumberFormat.h"
#include "link/Link.h"
#include "power/frmPower.h"
#include "state/AppState.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <memory>

namespace {

// The simulator's head: a thermopile whose readings scatter, so that every
// reading is told apart from its neighbours.
const QStringList kSimulatorArgs = {
    "--model", "talon", "--head-a",         "type=1,name=XLP12,serial=4711,value=0.0125,noise=0.2",
    "--seed",  "7",     "--exit-when-idle", "30"};

// The values the meter sent in reply to "SP", in order, from the traffic log.
std::vector<float> SentReadings(const QByteArray& trafficLog) {
    static const QRegularExpression reply(R"(\$SP<CR>\r\n\*([^<\r\n]*)<CR>)");
    std::vector<float> values;
    for (const auto& m : reply.globalMatch(QString::fromLatin1(trafficLog)))
        values.push_back(m.captured(1).toFloat());
    return values;
}

struct DataLine {
    float value;
    double time;
};

// Data lines of a saved power file (after the header), in the user's
// decimal notation.
std::vector<DataLine> ParseDataLines(const QList<QByteArray>& lines, bool& allParsed) {
    std::vector<DataLine> out;
    allParsed = true;
    const QString sep = DecimalSeparator();
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QList<QByteArray> fields = lines[i].split('\t');
        bool okValue = false, okTime = false;
        DataLine d{};
        if (fields.size() == 2) {
            d.value = QString::fromLatin1(fields[0]).trimmed().replace(sep, ".").toFloat(&okValue);
            d.time = QString::fromLatin1(fields[1]).replace(sep, ".").toDouble(&okTime);
        }
        if (!okValue || !okTime) {
            allParsed = false;
            ADD_FAILURE() << "line " << i << ": " << lines[i].toStdString();
            continue;
        }
        out.push_back(d);
    }
    return out;
}

class PowerEndToEndTest : public EndToEndTest {
protected:
    PowerEndToEndTest() : EndToEndTest(kSimulatorArgs) {}
    // The window class has no meta-object of its own: found by its name.
    frmPower* PowerWindow() const { return static_cast<frmPower*>(form->findChild<QWidget*>("frmPower")); }
};

TEST_P(PowerEndToEndTest, loggedReadingsAreSavedAsTheMeterSentThem) {
    const bool logToFile = GetParam();
    form = std::make_unique<MDIForm1>();
    ASSERT_TRUE(form->MDIForm_Load());
    // The working file stays in the test's folder.
    App().WorkFileName = dir.Path("kelvaro.pwr");
    form->ShowAndConnect();
    ASSERT_TRUE(App().Connected) << prompts.Texts().join(" | ").toStdString();
    EXPECT_EQ(App().Config.CommPort, 1);
    EXPECT_EQ(form->mnuConnect->text(), "&Disconnect");
    EXPECT_EQ(App().DeviceType, 0);
    EXPECT_EQ(App().Channels[0].HeadType, 1);
    EXPECT_EQ(App().Channels[0].HeadName, "XLP12");
    ASSERT_TRUE(form->action("mnuMode_Power")->isEnabled());

    (logToFile ? form->mnuLogFile_On : form->mnuLogFile_Off)->trigger();
    form->action("mnuMode_Power")->trigger();
    ASSERT_EQ(App().ActiveMode, ModePower);
    frmPower* w = PowerWindow();
    ASSERT_NE(w, nullptr);
    ASSERT_EQ(w->butStartStop->text(), "&Start");

    w->butStartStop->click();
    EXPECT_EQ(w->butStartStop->text(), "&Stop");
    RunFor(2000);
    w->butStartStop->click();
    EXPECT_EQ(w->butStartStop->text(), "&Start");
    EXPECT_TRUE(w->lblPower->text().endsWith("mW")) << w->lblPower->text().toStdString();
    // The reply still on its way is ignored by the stopped window.
    RunFor(100);
    const int32_t points = w->Engine.PointsOnShow();

    prompts.fileAnswers.push_back(dir.Path("run.pwr"));
    FileCommand(0);
    EXPECT_FALSE(w->Engine.NotSaved);
    const QByteArray saved = dir.Read("run.pwr");
    ASSERT_FALSE(saved.isEmpty());

    // Every line ends CR LF, and nothing else breaks a line.
    EXPECT_TRUE(saved.endsWith("\r\n"));
    EXPECT_EQ(saved.count("\r\n"), saved.count('\n'));
    EXPECT_EQ(saved.count("\r\n"), saved.count('\r'));
    QList<QByteArray> lines = saved.split('\n');
    lines.removeLast();
    for (QByteArray& line : lines) line.chop(1);
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines[0].toStdString(), "Power, in Watts \t Time, in Seconds \t Head: XLP12; s/n4711");

    bool allParsed = false;
    const std::vector<DataLine> data = ParseDataLines(lines, allParsed);
    EXPECT_TRUE(allParsed);
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
    EXPECT_FALSE(App().Connected);
    const QByteArray traffic = dir.Read("rs232.buf");
    ASSERT_TRUE(traffic.startsWith("Log file was open on ")) << traffic.left(200).toStdString();
    EXPECT_TRUE(traffic.contains("$FP<CR>"));
    EXPECT_TRUE(traffic.contains("Log closed on "));

    // The saved values are the meter's replies in order, none lost or
    // repeated: the first reply of a run is discarded, and one may come
    // after Stop.
    const std::vector<float> sent = SentReadings(traffic);
    ASSERT_GE(sent.size(), data.size() + 1);
    EXPECT_LE(sent.size(), data.size() + 2);
    for (size_t i = 0; i < data.size(); ++i) ASSERT_EQ(data[i].value, sent[i + 1]) << "reading " << i + 1;

    EXPECT_TRUE(prompts.messages.empty()) << prompts.Texts().join(" | ").toStdString();
    EXPECT_TRUE(prompts.questions.empty()) << prompts.Texts().join(" | ").toStdString();
}

INSTANTIATE_TEST_SUITE_P(DataLogFile, PowerEndToEndTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "workingFileCopied" : "pointsWritten"; });

}  // namespace
