#include "sim/Options.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QProcess>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>
#include <chrono>

namespace {

// The simulator program on its pty, killed at the end of the test.
class SimProcess {
public:
    explicit SimProcess(const QStringList& args) {
        proc_.start(KELVARO_METER_SIM, args);
        if (proc_.waitForStarted(5000) && proc_.waitForReadyRead(5000))
            path_ = QString::fromLocal8Bit(proc_.readLine()).trimmed();
    }
    ~SimProcess() {
        if (fd_ >= 0) close(fd_);
        proc_.terminate();
        if (!proc_.waitForFinished(5000)) proc_.kill();
    }
    QString Path() const { return path_; }
    QProcess& Process() { return proc_; }

    bool OpenLine(speed_t speed) {
        fd_ = open(path_.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
        return fd_ >= 0 && SetSpeed(speed);
    }
    bool SetSpeed(speed_t speed) {
        termios t{};
        if (tcgetattr(fd_, &t) != 0) return false;
        cfmakeraw(&t);
        cfsetispeed(&t, speed);
        cfsetospeed(&t, speed);
        return tcsetattr(fd_, TCSANOW, &t) == 0;
    }
    // Sends a command and reads until LF or `seconds` pass.
    QByteArray Talk(const QByteArray& command, double seconds) {
        if (write(fd_, command.constData(), command.size()) != command.size()) return {};
        QByteArray in;
        auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        while (!in.contains('\n')) {
            int left = int(
                std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now())
                    .count());
            if (left <= 0) break;
            pollfd p{fd_, POLLIN, 0};
            if (poll(&p, 1, left) <= 0) break;
            char buf[256];
            ssize_t n = read(fd_, buf, sizeof buf);
            if (n <= 0) break;
            in.append(buf, int(n));
        }
        return in;
    }

private:
    QProcess proc_;
    QString path_;
    int fd_ = -1;
};

}  // namespace

TEST(SimProgram, answersAtItsSpeedAndSendsNoiseAtAnother) {
    SimProcess sim({"--model", "meridel2", "--baud", "9600", "--head-b", "type=2,name=PE50,serial=77"});
    ASSERT_TRUE(sim.Path().startsWith("/dev/")) << sim.Path().toStdString();
    ASSERT_TRUE(sim.OpenLine(B19200));
    QByteArray wrong = sim.Talk("$VE\r", 0.3);
    EXPECT_FALSE(wrong.isEmpty());
    EXPECT_FALSE(wrong.contains('\n'));
    EXPECT_FALSE(wrong.contains("QZ"));
    ASSERT_TRUE(sim.SetSpeed(B9600));
    EXPECT_EQ(sim.Talk("$VE\r", 2.0), QByteArray("*QZ2.45\r\n"));
    EXPECT_EQ(sim.Talk("$CH B\r", 2.0), QByteArray("*B\r\n"));
    EXPECT_EQ(sim.Talk("$HT\r", 2.0), QByteArray("*PY J\r\n"));
}

TEST(SimProgram, writesItsPortsEntryAndExitsWhenIdle) {
    TempDir dir;
    dir.Write("kelvaro.ports", "# mine\nCOM3 /dev/old\nCOM2 /dev/keep\n");
    SimProcess sim({"--ports-file", dir.Path(), "--com", "3", "--exit-when-idle", "0.2"});
    ASSERT_FALSE(sim.Path().isEmpty());
    ASSERT_TRUE(sim.Process().waitForFinished(5000));
    EXPECT_EQ(sim.Process().exitCode(), 0);
    EXPECT_EQ(QString::fromUtf8(dir.Read("kelvaro.ports")),
              "# mine\nCOM2 /dev/keep\nCOM3 " + sim.Path() + "\n");
}

TEST(SimProgram, badOptionsAreRejectedWithUsage) {
    QProcess p;
    p.start(KELVARO_METER_SIM, {"--model", "nosuch"});
    ASSERT_TRUE(p.waitForFinished(5000));
    EXPECT_EQ(p.exitCode(), 2);
    EXPECT_TRUE(p.readAllStandardError().contains("--model"));
}

TEST(SimOptions, headSettingsReachTheMeterConfig) {
    sim::SimOptions o;
    QString error;
    ASSERT_TRUE(sim::ParseOptions(
        {"--head-a", "type=3,serial=4294967295,code=qx450,noise=0.1", "--split", "3"}, o, error))
        << error.toStdString();
    EXPECT_EQ(o.meter.heads[0].serial, 4294967295u);
    EXPECT_EQ(o.meter.heads[0].korvenCode, "QX450");
    EXPECT_DOUBLE_EQ(o.meter.heads[0].reading.noise, 0.1);
    EXPECT_EQ(o.meter.faults.splitChunks, 3);
}

TEST(SimOptions, badValuesAreRejected) {
    const QStringList cases[] = {
        {"--baud", "fast"},
        {"--head-a", "type=9"},
        {"--head-a", "colour=red"},
        {"--head-b", "serial=-1"},
        {"--split", "0"},
        {"--delay", "-1"},
        {"--log", "file=11"},
        {"--log", "values=1:x"},
        {"--ports-file", "/tmp"},
        {"--com", "17"},
        {"--model"},
        {"--bogus"},
    };
    for (const QStringList& args : cases) {
        sim::SimOptions o;
        QString error;
        EXPECT_FALSE(sim::ParseOptions(args, o, error)) << args.join(' ').toStdString();
        EXPECT_FALSE(error.isEmpty());
    }
}
