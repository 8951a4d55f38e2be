// The program in its own process: ended by File > Exit, the window's close and
// signals while the meter is identified or power is logged, on the simulator.

#include "EndToEnd.h"

#include <QDir>
#include <csignal>

namespace {

// The driven program plays `action` and shows `seen`; then `signal` is sent (0: none).
struct Ending {
    const char *name, *action, *seen;
    int signal;
};
void PrintTo(const Ending& e, std::ostream* os) {
    *os << e.name;
}

class ProgramEndTest : public ::testing::TestWithParam<Ending> {
protected:
    // At 1200 baud the probe waits 0.38 s for the answer: a busy machine does not make it miss.
    Simulator sim{kScatteringThermopile + QStringList{"--baud", "1200"}};
    TempDir dir;
    QProcess program;  // killed, should the test stop half way
};

const char* const kReminder = "asked: The logged data has not been saved. Save it now? (connected)";

TEST_P(ProgramEndTest, programEndsWithTheTrafficLogWritten) {
    const Ending& e = GetParam();
    ASSERT_TRUE(sim.path.startsWith("/dev/")) << sim.path.toStdString();
    dir.Write("kelvaro.ports", PortsFile({{1, sim.path}}));
    // The program's folder, where working and recovery files go, is the test's.
    ASSERT_TRUE(QFile::copy(KELVARO_DRIVEN, dir.Path("kelvaro32")));
    program.setWorkingDirectory(dir.Path());
    program.start(dir.Path("kelvaro32"), {e.action});
    QByteArray out;
    QDeadlineTimer deadline(30000);
    while (!out.contains(e.seen) && program.waitForReadyRead(int(deadline.remainingTime())))
        out += program.readAllStandardOutput();
    ASSERT_TRUE(out.contains(e.seen))
        << out.toStdString() << " " << program.readAllStandardError().toStdString();

    if (e.signal) ::kill(pid_t(program.processId()), e.signal);
    ASSERT_TRUE(program.waitForFinished(10000)) << "the program still runs";
    EXPECT_EQ(std::pair(program.exitStatus(), program.exitCode()), std::pair(QProcess::NormalExit, 0));
    EXPECT_TRUE(dir.Read("rs232.buf").contains("Log closed on ")) << "traffic log written at the end";
    if (e.signal != SIGTERM) return;

    // The Data Log File is off (the default): only the recovery file holds the readings.
    EXPECT_FALSE(QFile::exists(dir.Path("kelvaro.pwr")));
    const QStringList rescued = QDir(dir.Path()).entryList({"kelvaro-*.pwr"});
    ASSERT_EQ(rescued.size(), 1);
    EXPECT_TRUE(QRegularExpression(R"(^kelvaro-\d{4}-\d\d-\d\d-\d{6}\.pwr$)").match(rescued[0]).hasMatch())
        << rescued[0].toStdString();
    const auto data = ReadDataFile(dir.Read(rescued[0])).second;
    EXPECT_GE(data.size(), 20u);
    ExpectSentAcrossReturns(data, {Replies(dir.Read("rs232.buf"), "SP")}, 1);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Endings, ProgramEndTest, ::testing::Values(
    Ending{"exitWhileIdentifying", "identifying-exit", "identifying", 0},
    Ending{"ctrlCWhileIdentifying", "identifying", "identifying", SIGINT},
    Ending{"hangUpWhileIdentifying", "identifying", "identifying", SIGHUP},
    // The reminder comes first, while the port is still open; File > Exit and close share the end.
    Ending{"closeWhileLogging", "log-close", kReminder, 0},
    Ending{"terminatedWhileLoggingRescuesTheReadingsInARecoveryFile", "log", "logging", SIGTERM}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

}  // namespace
