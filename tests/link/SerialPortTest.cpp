#include "link/Link.h"
#include "platform/PortTable.h"
#include "platform/QtSerialPort.h"
#include "state/AppState.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QProcess>

using platform::OpenResult;

TEST(SerialPortSettings, settingsTextIsParsedOrRejected) {
    const std::pair<QString, bool> cases[] = {{"19200, N, 8, 1", true},  {"300,n,7,2", true},
                                              {"9600, E, 8, 1.5", true}, {"19200, N, 8", false},
                                              {"fast, N, 8, 1", false},  {"0, N, 8, 1", false},
                                              {"9600, X, 8, 1", false},  {"9600, N, 9, 1", false},
                                              {"9600, N, 8, 3", false},  {"", false}};
    for (const auto& [text, ok] : cases)
        EXPECT_EQ(platform::ParseLineSettings(text).has_value(), ok) << text.toStdString();
    const auto s = platform::ParseLineSettings("1200, N, 8, 1");
    ASSERT_TRUE(s);
    EXPECT_EQ(s->baud, 1200);
}

#ifdef KELVARO_METER_SIM

// The real port over a pseudo-terminal to the simulator program.
class SimulatorOverPty : public ::testing::Test {
protected:
    void SetUp() override {
        ResetAppState();
        ResetLinkState();
        SetPause([](double) {});
        App().Shell.ProcessEvents = [] {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            Timer2_Timer();
        };
    }
    void TearDown() override {
        Disconnect();
        SetPause({});
        ResetAppState();
        sim.kill();
        sim.waitForFinished(2000);
    }

    // Starts the simulator as COM3 and returns its terminal's path.
    QString StartSimulator(const QStringList& args) {
        sim.start(KELVARO_METER_SIM, args + QStringList{"--exit-when-idle", "30"});
        if (!sim.waitForStarted(5000)) {
            ADD_FAILURE() << sim.errorString().toStdString();
            return {};
        }
        while (!sim.canReadLine() && sim.waitForReadyRead(5000)) {
        }
        const QString path = QString::fromUtf8(sim.readLine()).trimmed();
        if (path.isEmpty()) ADD_FAILURE() << sim.readAllStandardError().toStdString();
        dir.Write("kelvaro.ports", ("COM3 " + path + "\n").toUtf8());
        platform::portTable() = platform::PortTable::FromCurrentDirectory();
        App().Config.CommPort = 3;
        return path;
    }

    TempDir dir;
    ScriptedPrompts prompts;
    QProcess sim;
};

TEST_F(SimulatorOverPty, probeFindsASlowerMeterAndIdentifiesIt) {
    ASSERT_FALSE(StartSimulator({"--model", "meridel2", "--baud", "9600", "--head-b", "type=2"}).isEmpty());
    ASSERT_TRUE(Connect()) << prompts.Texts().join('|').toStdString();
    // At 19200 the simulator sent noise: the probe went on to the meter's speed.
    EXPECT_EQ(platform::serialPort().Settings(), "9600, N, 8, 1");
    EXPECT_EQ(Link().VersionReply, "QZ2.45");
    IdentifyInstrument();
    EXPECT_EQ(App().DeviceType, 2);
    EXPECT_EQ(App().Channels[1].HeadType, 2);
    EXPECT_TRUE(prompts.Texts().isEmpty()) << prompts.Texts().join('|').toStdString();
}

TEST_F(SimulatorOverPty, aPortHeldByAnotherOpenIsInUse) {
    ASSERT_FALSE(StartSimulator({"--model", "talon"}).isEmpty());
    platform::QtSerialPort first, second;
    first.SetCommPort(3);
    second.SetCommPort(3);
    ASSERT_EQ(first.Open(), OpenResult::Ok);
    EXPECT_EQ(second.Open(), OpenResult::InUse);
    first.Close();
    EXPECT_EQ(second.Open(), OpenResult::Ok);
}

TEST_F(SimulatorOverPty, aMissingDeviceFailsWithoutTheInUseMessage) {
    dir.Write("kelvaro.ports", QString("COM3 %1/nothing-here\n").arg(dir.Path()).toUtf8());
    platform::portTable() = platform::PortTable::FromCurrentDirectory();
    App().Config.CommPort = 3;
    EXPECT_FALSE(Connect());
    ASSERT_EQ(prompts.Texts().size(), 1);
    // The system's finding follows the message (its wording: the doctor's tests).
    EXPECT_TRUE(prompts.Texts()[0].startsWith("Can not communicate with the instrument\n\nThe device "))
        << prompts.Texts()[0].toStdString();
}

#endif
