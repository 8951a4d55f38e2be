#include "sim/Options.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <QProcess>

// Its replies over the pty at its own speed and noise at another are shown
// by the link's probe test against this program.
TEST(SimProgram, writesItsPortsEntryAndExitsWhenIdle) {
    TempDir dir;
    dir.Write("kelvaro.ports", "# mine\nCOM3 /dev/old\nCOM2 /dev/keep\n");
    QProcess sim;
    sim.start(KELVARO_METER_SIM, {"--ports-file", dir.Path(), "--com", "3", "--exit-when-idle", "0.2"});
    ASSERT_TRUE(sim.waitForStarted(5000) && sim.waitForReadyRead(5000));
    const QString path = QString::fromLocal8Bit(sim.readLine()).trimmed();
    ASSERT_FALSE(path.isEmpty());
    ASSERT_TRUE(sim.waitForFinished(5000) && sim.exitCode() == 0) << sim.exitCode();
    EXPECT_EQ(QString::fromUtf8(dir.Read("kelvaro.ports")), "# mine\nCOM2 /dev/keep\nCOM3 " + path + "\n");
}

TEST(SimOptions, headSettingsReachTheMeterConfigAndBadValuesAreRejected) {
    sim::SimOptions o;
    QString error;
    ASSERT_TRUE(sim::ParseOptions({"--head-a", "type=3,serial=4294967295,code=qx450,noise=0.1"}, o, error))
        << error.toStdString();
    const sim::HeadSpec& a = o.meter.heads[0];
    EXPECT_EQ(std::tuple(a.serial, a.korvenCode, a.reading.noise), std::tuple(4294967295u, "QX450", 0.1));
    for (const char* args : {"--baud fast", "--head-a type=9", "--head-b serial=-1", "--log values=1:x",
                             "--com 17", "--model", "--bogus"}) {
        error.clear();
        EXPECT_TRUE(!sim::ParseOptions(QString(args).split(' '), o, error) && !error.isEmpty()) << args;
    }
}
