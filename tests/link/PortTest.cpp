#include "LinkHarness.h"

using PortTest = LinkTest;

TEST_F(PortTest, probeFindsTheMeterAtEachRate) {
    int position = 0;
    for (int baud : kProbeRates) {
        ResetLinkState();
        App().Connected = false;
        sim::MeterConfig cfg;
        cfg.model = sim::Model::MeridelTwo;
        cfg.firmware = "2.45";
        cfg.baud = baud;
        UseMeter(cfg);
        const double t0 = clock.Monotonic();

        ASSERT_TRUE(Connect()) << baud;
        EXPECT_EQ(port->Baud(), baud);
        EXPECT_EQ(port->Written().count("$VE\r"), position + 1);
        EXPECT_EQ(Link().VersionReply, "QZ2.45");
        // Each wrong rate waited out its full 0.02 + 0.04 * i * i seconds.
        double waited = 0;
        for (int i = 0; i < position; ++i) waited += 0.02 + 0.04 * i * i;
        EXPECT_GE(clock.Monotonic() - t0, waited - 1e-9);
        EXPECT_LT(clock.Monotonic() - t0, waited + 0.02 + 0.04 * position * position);
        // Noise answered at the wrong rates stays in the probe buffer.
        EXPECT_EQ(Link().ProbeBuffer.endsWith("*QZ2.45\r\n"), true);
        EXPECT_EQ(Link().ProbeBuffer.size() > 9, position > 0);
        EXPECT_TRUE(port->DTR() && port->RTS());
        Disconnect();
        ++position;
    }
}

TEST_F(PortTest, versionReplyDropsMarkerAndLineEnd) {
    sim::MeterConfig cfg;
    cfg.firmware = "1.23";
    UseMeter(cfg);
    ASSERT_TRUE(Connect());
    EXPECT_EQ(Link().VersionReply, "1.23");
    EXPECT_EQ(checkedPort, 1);
    EXPECT_EQ(TrafficLines(), QStringList{"Log file was open on 06/12/2026 at 12:00:00"});
}

TEST_F(PortTest, silentMeterFailsAfterAllRatesWithThePortClosed) {
    sim::MeterConfig cfg;
    cfg.faults.silent = true;
    UseMeter(cfg);
    App().DeviceType = 5;
    const double t0 = clock.Monotonic();
    EXPECT_FALSE(Connect());
    EXPECT_NEAR(clock.Monotonic() - t0, 1.3, 1e-6);
    EXPECT_FALSE(port->IsOpen());
    EXPECT_FALSE(App().Connected);
    EXPECT_EQ(App().DeviceType, 0);
    EXPECT_EQ(prompts.Texts(), QStringList{"Can not communicate with the instrument"});
    EXPECT_EQ(prompts.beeps, 1);
}

TEST_F(PortTest, portInUseIsToldThenTheModeIsLeft) {
    UseMeter({});
    App().Config.CommPort = 3;
    port->SetOpenResult(platform::OpenResult::InUse);
    EXPECT_FALSE(Connect());
    ASSERT_EQ(prompts.messages.size(), 2u);
    EXPECT_EQ(prompts.messages[0].text, "COM3: is currently being used by another device.");
    EXPECT_EQ(prompts.messages[0].title, "Comm. Port Error");
    EXPECT_EQ(prompts.messages[0].icon, platform::Icon::Exclamation);
    EXPECT_EQ(prompts.messages[1].text, "Can not communicate with the instrument");
    EXPECT_EQ(prompts.beeps, 2);
    EXPECT_EQ(switchedTo, std::vector<int16_t>{0});
}

TEST_F(PortTest, disconnectWritesTheTrafficLogOnce) {
    UseMeter({});
    ASSERT_TRUE(Connect());
    SendCommand(*port, "SP", 0.3, true);
    while (!Link().ReplyReceived) Tick();
    Disconnect();
    const QByteArray saved = dir.Read("rs232.buf");
    EXPECT_TRUE(saved.startsWith("Log file was open on "));
    // The command goes on the current line; its reply and LF on the next two.
    EXPECT_TRUE(saved.contains(" 12:00:00$SP<CR>\r\n?<CR>\r\n<LF>\r\nLog closed on ")) << saved.toStdString();
    EXPECT_TRUE(saved.contains("Log closed on 06/12/2026 at "));
    EXPECT_FALSE(port->IsOpen());

    QFile::remove(dir.Path("rs232.buf"));
    Disconnect();
    EXPECT_FALSE(QFile::exists(dir.Path("rs232.buf")));
}

TEST_F(PortTest, portMenuFallsBackToTheFirstExistingPort) {
    // Devices that exist: two files in the test folder.
    dir.Write("dev5", "");
    dir.Write("dev9", "");
    dir.Write("kelvaro.ports", QString("COM1 %1/none\nCOM2 %1/none\nCOM3 %1/none\nCOM4 %1/none\n"
                                       "COM5 %1/dev5\nCOM9 %1/dev9\nCOM13 %1/none\n")
                                   .arg(dir.Path())
                                   .toUtf8());
    const int16_t configured[] = {9, 2, 0, 17};
    const int16_t expected[] = {9, 5, 5, 5};
    for (int i = 0; i < 4; ++i) {
        App().Config.CommPort = configured[i];
        const auto exists = BuildPortMenu();
        EXPECT_EQ(App().Config.CommPort, expected[i]);
        EXPECT_TRUE(exists[5] && exists[9]);
        EXPECT_FALSE(exists[0] || exists[1] || exists[13]);
        EXPECT_TRUE(QFile::exists(dir.Path("kelvaro.cfg")));
    }
}
