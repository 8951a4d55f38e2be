#include "sim/Options.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QProcess>

namespace {

// The simulator program on its pty, ended with the test.
class SimProcess {
public:
    explicit SimProcess(const QStringList& args) {
        proc_.start(KELVARO_METER_SIM, args);
        if (proc_.waitForStarted(5000) && proc_.waitForReadyRead(5000))
            path_ = QString::fromLocal8Bit(proc_.readLine()).trimmed();
    }
    ~SimProcess() {
        proc_.terminate();
        if (!proc_.waitForFinished(5000)) proc_.kill();
    }
    QString Path() const { return path_; }
    QProcess& Process() { return proc_; }

private:
    QProcess proc_;
    QString path_;
};

}  // namespace

// Its replies over the pty at its own speed and noise at another are shown
// by the link's probe test against this program.
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
    const QStringList cases[] = {{"--baud", "fast"},
                                 {"--head-a", "type=9"},
                                 {"--head-b", "serial=-1"},
                                 {"--log", "values=1:x"},
                                 {"--com", "17"},
                                 {"--model"},
                                 {"--bogus"}};
    for (const QStringList& args : cases) {
        sim::SimOptions o;
        QString error;
        EXPECT_FALSE(sim::ParseOptions(args, o, error)) << args.join(' ').toStdString();
        EXPECT_FALSE(error.isEmpty());
    }
}
