#include "link/Link.h"
#include "link/MeterIdentity.h"
#include "platform/PortTable.h"
#include "state/AppState.h"
#include "state/Configuration.h"
#include "support/ProgramState.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QProcess>

#ifdef KELVARO_METER_SIM

// The real port over a pseudo-terminal to the simulator program.
TEST(SimulatorOverPty, probeFindsASlowerMeterAndIdentifiesIt) {
    FreshProgramState();
    SetPause([](double) {});
    App().Shell.ProcessEvents = [] {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        Timer2_Timer();
    };
    TempDir dir;
    ScriptedPrompts prompts;
    QProcess sim;
    sim.start(KELVARO_METER_SIM,
              {"--model", "meridel2", "--baud", "9600", "--head-b", "type=2", "--exit-when-idle", "30"});
    ASSERT_TRUE(sim.waitForStarted(5000)) << sim.errorString().toStdString();
    while (!sim.canReadLine() && sim.waitForReadyRead(5000)) {
    }
    const QByteArray path = sim.readLine().trimmed();
    ASSERT_FALSE(path.isEmpty()) << sim.readAllStandardError().toStdString();
    dir.Write("kelvaro.ports", "COM3 " + path + "\n");
    platform::portTable() = platform::PortTable::FromCurrentDirectory();
    CurrentSettings().CommPort = 3;

    EXPECT_TRUE(Connect()) << prompts.Texts().join('|').toStdString();
    // At 19200 the simulator sent noise: the probe went on to the meter's speed.
    EXPECT_EQ(platform::serialPort().Settings(), "9600, N, 8, 1");
    EXPECT_EQ(Link().VersionReply, "QZ2.45");
    IdentifyInstrument();
    EXPECT_EQ(int(Meter().DeviceType) * 10 + int(Meter().Channels[1].HeadType), 22);
    EXPECT_TRUE(prompts.Texts().isEmpty()) << prompts.Texts().join('|').toStdString();
    Disconnect();  // the simulator ends with `sim`
}

#endif
