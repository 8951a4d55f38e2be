// Ending the program, which runs in its own process on the simulator: File >
// Exit and the window's close while the meter is being identified or power is
// logged, and the signals of kill, Ctrl+C and a closed terminal. The process
// ends with status 0 and the traffic log written; unsaved power readings are
// rescued.

#include "EndToEnd.h"
#include "support/TempDir.h"

#include <QDir>
#include <csignal>

namespace {

class ProgramEndTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(sim.Path().startsWith("/dev/")) << sim.Path().toStdString();
        dir.Write("kelvaro.ports", PortsFile({{1, sim.Path()}}));
        // The program's folder, where working and recovery files go, is the test's.
        ASSERT_TRUE(QFile::copy(KELVARO_DRIVEN, dir.Path("kelvaro32")));
        program.setWorkingDirectory(dir.Path());
    }
    void TearDown() override {
        if (program.state() != QProcess::NotRunning) program.kill();
        program.waitForFinished(3000);
    }
    // Starts the program playing `action`; true once it reports `mark`.
    ::testing::AssertionResult StartUntil(const QString& action, const QByteArray& mark) {
        program.start(dir.Path("kelvaro32"), {action});
        QByteArray out;
        QDeadlineTimer deadline(30000);
        while (!out.contains(mark) && program.waitForReadyRead(int(deadline.remainingTime())))
            out += program.readAllStandardOutput();
        if (out.contains(mark)) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "no " << mark.toStdString() << ": " << out.toStdString()
                                             << " " << program.readAllStandardError().toStdString();
    }
    void ExpectOrderlyEnd() {
        ASSERT_TRUE(program.waitForFinished(10000)) << "the program still runs";
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 0);
        EXPECT_TRUE(dir.Read("rs232.buf").contains("Log closed on ")) << "traffic log written at the end";
    }

    // At 1200 baud the probe waits 0.38 s for the answer: a busy machine does not make it miss.
    Simulator sim{kScatteringThermopile + QStringList{"--baud", "1200"}};
    TempDir dir;
    QProcess program;
};

struct Ending {
    const char* name;
    const char* action;
    const char* seen;  // what the program shows before the end
    int signal;        // sent then; 0: the action alone ends the program
};

void PrintTo(const Ending& e, std::ostream* os) {
    *os << e.name;
}

const char* const kReminder = "asked: The logged data has not been saved. Save it now? (connected)";

class EndOnRequest : public ProgramEndTest, public ::testing::WithParamInterface<Ending> {};

TEST_P(EndOnRequest, programEndsWithTheTrafficLogWritten) {
    ASSERT_TRUE(StartUntil(GetParam().action, GetParam().seen));
    if (GetParam().signal) ::kill(pid_t(program.processId()), GetParam().signal);
    ExpectOrderlyEnd();
}

INSTANTIATE_TEST_SUITE_P(
    Endings, EndOnRequest,
    ::testing::Values(Ending{"exitWhileIdentifying", "exit", "identifying", 0},
                      Ending{"closeWhileIdentifying", "close", "identifying", 0},
                      Ending{"ctrlCWhileIdentifying", "identifying", "identifying", SIGINT},
                      Ending{"hangUpWhileIdentifying", "identifying", "identifying", SIGHUP},
                      // The reminder comes first, while the port is still open.
                      Ending{"exitWhileLogging", "log-exit", kReminder, 0},
                      Ending{"closeWhileLogging", "log-close", kReminder, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProgramEndTest, terminatedWhileLoggingRescuesTheReadingsInARecoveryFile) {
    // The Data Log File is off (the default): no working file holds the readings.
    ASSERT_TRUE(StartUntil("log", "logging"));
    program.terminate();
    ExpectOrderlyEnd();
    EXPECT_FALSE(QFile::exists(dir.Path("kelvaro.pwr")));

    const QStringList rescued = QDir(dir.Path()).entryList({"kelvaro-*.pwr"});
    ASSERT_EQ(rescued.size(), 1);
    EXPECT_TRUE(QRegularExpression(R"(^kelvaro-\d{4}-\d\d-\d\d-\d{6}\.pwr$)").match(rescued[0]).hasMatch())
        << rescued[0].toStdString();
    std::string header;
    const std::vector<DataLine> data = ReadPowerFile(dir.Read(rescued[0]), header);
    EXPECT_EQ(header, "Power, in Watts \t Time, in Seconds \t Head: XLP12; s/n4711");
    EXPECT_GE(data.size(), 20u);
    ExpectSentReadings(data, dir.Read("rs232.buf"));
}

}  // namespace
