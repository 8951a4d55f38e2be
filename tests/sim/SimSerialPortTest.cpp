#include "SimTestUtil.h"
#include "sim/SimSerialPort.h"
#include "support/FakeClock.h"

#include <gtest/gtest.h>

using platform::OpenResult;
using sim::Meter;
using sim::Model;
using sim::SimSerialPort;

namespace {

struct Rig {
    FakeClock clock;
    Meter meter{Config(Model::MeridelOne)};
    SimSerialPort port{meter, [this](double s) { clock.Advance(s); }};
    int events = 0;
    QByteArray received;

    Rig() {
        port.OnComm = [this] {
            ++events;
            EXPECT_EQ(port.CommEvent(), platform::ComEvReceive);
            received += port.Input();
        };
    }
};

}  // namespace

TEST(SimSerialPort, pumpDeliversOnlyWhatIsDueAndRaisesReceiveEvents) {
    Rig r;
    ASSERT_EQ(r.port.Open(), OpenResult::Ok);
    r.port.SetThresholds(1, 1);
    r.port.Output("$VE\r");
    EXPECT_EQ(r.meter.CommandsReceived(), QStringList({"VE"}));
    r.port.Pump();
    EXPECT_EQ(r.events, 0);  // nothing has arrived yet at 19200 baud
    r.clock.Advance(9 * 10.0 / 19200);
    r.port.Pump();
    EXPECT_EQ(r.events, 1);
    EXPECT_EQ(r.received, QByteArray("*QZ2.45\r\n"));
}

TEST(SimSerialPort, probeStylePollingWithZeroThresholdsRaisesNoEvents) {
    Rig r;
    r.port.Open();
    r.port.SetThresholds(0, 0);
    double t0 = r.clock.Monotonic();
    r.port.Output("$VE\r");
    QByteArray buffer;
    while (!buffer.contains('\n') && r.clock.Monotonic() - t0 < 0.02) {
        r.port.WaitForInput(0.001);
        if (r.port.InBufferCount() > 0) buffer += r.port.Input();
    }
    EXPECT_EQ(buffer, QByteArray("*QZ2.45\r\n"));
    EXPECT_EQ(r.events, 0);
    EXPECT_NEAR(r.clock.Monotonic() - t0, 9 * 10.0 / 19200, 1e-3);
}

TEST(SimSerialPort, waitForInputStopsAtItsTimeOutWhenNothingComes) {
    Rig r;
    r.port.Open();
    double t0 = r.clock.Monotonic();
    r.port.WaitForInput(0.06);
    EXPECT_NEAR(r.clock.Monotonic() - t0, 0.06, 1e-12);
    EXPECT_EQ(r.port.InBufferCount(), 0);
}

TEST(SimSerialPort, wrongSettingsSpeedReachesTheMeterAsNoise) {
    Rig r;
    ASSERT_TRUE(r.port.SetSettings("9600, N, 8, 1"));
    EXPECT_EQ(r.port.Baud(), 9600);
    r.port.Open();
    r.port.Output("$VE\r");
    r.port.WaitForInput(0.06);
    QByteArray in = r.port.Input();
    EXPECT_FALSE(in.isEmpty());
    EXPECT_FALSE(in.contains('\n'));
}

TEST(SimSerialPort, settingsTextIsValidated) {
    struct Case {
        QString text;
        bool ok;
    } cases[] = {{"19200, N, 8, 1", true},  {"300,N,8,1", true},      {"4800, E, 7, 2", true},
                 {"19200, N, 8", false},    {"fast, N, 8, 1", false}, {"19200, Q, 8, 1", false},
                 {"19200, N, 9, 1", false}, {"0, N, 8, 1", false},    {"", false}};
    for (const Case& c : cases) {
        Rig r;
        EXPECT_EQ(r.port.SetSettings(c.text), c.ok) << c.text.toStdString();
        EXPECT_EQ(r.port.Settings(), c.ok ? c.text : QString("19200, N, 8, 1"));
    }
}

TEST(SimSerialPort, openCanBeMadeToFail) {
    for (OpenResult result : {OpenResult::InUse, OpenResult::Failed}) {
        Rig r;
        r.port.SetOpenResult(result);
        EXPECT_EQ(r.port.Open(), result);
        EXPECT_FALSE(r.port.IsOpen());
        r.port.Output("$VE\r");
        EXPECT_TRUE(r.meter.CommandsReceived().isEmpty());
    }
}

TEST(SimSerialPort, replyArrivingWhileClosedIsLost) {
    Rig r;
    r.port.Open();
    r.port.Output("$VE\r");
    r.port.Close();
    r.clock.Advance(1);
    r.port.Pump();
    r.port.Open();
    r.port.Pump();
    EXPECT_EQ(r.port.InBufferCount(), 0);
}

TEST(SimSerialPort, deliverNextAdvancesToEachSplitChunk) {
    Rig r;
    r.meter.Config().faults.splitChunks = 3;
    r.port.Open();
    r.port.SetThresholds(1, 1);
    r.port.Output("$VE\r");
    int steps = 0;
    while (r.port.DeliverNext()) ++steps;
    EXPECT_EQ(steps, 3);
    EXPECT_EQ(r.events, 3);
    EXPECT_EQ(r.received, QByteArray("*QZ2.45\r\n"));
}
