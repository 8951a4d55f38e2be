#include "LinkHarness.h"

using PortTest = LinkTest;

TEST_F(PortTest, probeTriesTheRatesInTheirOrderWaitingOutEachWrongOne) {
    // Meter speed, "$VE" tries until answered, seconds waited at the wrong rates, longest wait at the right.
    // clang-format off
    const struct { int baud, tries; double waited, window; } cases[] = {
        {19200, 1, 0, 0.02}, {9600, 2, 0.02, 0.06}, {4800, 3, 0.08, 0.18}, {1200, 4, 0.26, 0.38}, {300, 5, 0.64, 0.66}};
    // clang-format on
    for (const auto& c : cases) {
        const double t0 = clock.Monotonic();
        ASSERT_TRUE(ConnectTo({sim::Model::MeridelTwo, {}, c.baud})) << c.baud;
        EXPECT_EQ(std::tuple(port->Settings(), port->Written().count("$VE\r"), Link().VersionReply),
                  std::tuple(QString("%1, N, 8, 1").arg(c.baud), c.tries, "QZ2.45"));
        const double took = clock.Monotonic() - t0;
        EXPECT_TRUE(took >= c.waited - 1e-9 && took < c.waited + c.window) << c.baud << ": " << took;
        // Noise from the wrong rates stays in the probe buffer; the reply is the last try's.
        EXPECT_TRUE(Link().ProbeBuffer.endsWith("*QZ2.45\r\n") && port->DTR() && port->RTS());
        EXPECT_EQ(Link().ProbeBuffer.size() > 9, c.tries > 1);
        Disconnect();
    }
}

TEST_F(PortTest, silentMeterOrPortInUseFailsToldWithThePortClosed) {
    sim::MeterConfig cfg;
    cfg.faults.silent = true;
    TestMeter().DeviceType = MeterModel::KorvenPD;
    const double t0 = clock.Monotonic();
    EXPECT_FALSE(ConnectTo(cfg));
    EXPECT_NEAR(clock.Monotonic() - t0, 0.02 + 0.06 + 0.18 + 0.38 + 0.66, 1e-6);  // every rate tried
    EXPECT_FALSE(port->IsOpen() || Meter().Connected);
    EXPECT_EQ(std::tuple(int(Meter().DeviceType), prompts.Texts(), prompts.beeps),
              std::tuple(int(MeterModel::Talon), QStringList{"Can not communicate with the instrument"}, 1));

    CurrentSettings().CommPort = 3;
    port->SetOpenResult(platform::OpenResult::InUse);
    EXPECT_FALSE(Connect());
    EXPECT_EQ(prompts.Texts().mid(1), (QStringList{"COM3: is currently being used by another device.",
                                                   "Can not communicate with the instrument"}));
    EXPECT_TRUE(prompts.messages[1].title == "Comm. Port Error" &&
                prompts.messages[1].icon == platform::Icon::Exclamation);
    EXPECT_EQ(std::pair(prompts.beeps, switchedTo),
              std::pair(3, std::vector<int16_t>{0}));  // the mode is left
}

TEST_F(PortTest, lineErrorsAreOnlyLogged) {
    // clang-format off
    const std::pair<int, const char*> cases[] = {
        {1001, "A Break was received!"}, {1007, "TLSD timeout!"},  {1002, "CTS timeout!"},
        {1003, "DSR timeout!"},          {1004, "Framing error!"}, {1006, "Overrun error!"},
        {1008, "Receive buffer overflow!"}, {1009, "Parity error!"}, {1010, "Transmit buffer overflow!"},
        {1, nullptr}, {3, nullptr}, {4, nullptr}, {5, nullptr}, {6, nullptr}, {1005, nullptr}};
    // clang-format on
    UseChunks();
    for (const auto& [code, text] : cases) {
        const int before = TrafficLines().size();
        MSComm1_OnComm(code);
        EXPECT_EQ(TrafficLines().mid(before), text ? QStringList{text} : QStringList{}) << code;
    }
    EXPECT_TRUE(Meter().Connected && prompts.Texts().isEmpty());
}

TEST_F(PortTest, connectStartsAFreshTrafficLogAndDisconnectWritesItOnce) {
    LogLine("from an earlier connection");
    ASSERT_TRUE(ConnectTo({sim::Model::Talon, "1.23"}));
    EXPECT_TRUE(Link().VersionReply == "1.23" && checkedPort == 1);
    SendCommand(*port, "SP", 0.3, true);
    while (!Link().ReplyReceived) Tick();
    Disconnect();
    const QByteArray saved = dir.Read("rs232.buf");
    // The command goes on the current line; its reply and LF on the next two.
    EXPECT_TRUE(
        saved.startsWith("Log file was open on 06/12/2026 at 12:00:00$SP<CR>\r\n?<CR>\r\n<LF>\r\nLog closed "
                         "on 06/12/2026 at "));
    QFile::remove(dir.Path("rs232.buf"));
    Disconnect();
    EXPECT_FALSE(port->IsOpen() || QFile::exists(dir.Path("rs232.buf")));
}

TEST_F(PortTest, portMenuFallsBackToTheFirstExistingPort) {
    QString ports;
    for (int n : {1, 2, 3, 4, 5, 9, 13, 16})
        ports += QString("COM%1 %2/dev%3\n").arg(n).arg(dir.Path()).arg(n);
    dir.Write("kelvaro.ports", ports.toUtf8());
    for (const char* device : {"dev5", "dev9", "dev16"}) dir.Write(device, "");
    for (auto [configured, expected] :
         {std::pair<int16_t, int16_t>{9, 9}, {16, 16}, {2, 5}, {0, 5}, {17, 5}}) {
        CurrentSettings().CommPort = configured;
        const auto exists = BuildPortMenu();
        EXPECT_EQ(CurrentSettings().CommPort, expected);
        EXPECT_TRUE(exists[5] && exists[9] && exists[16] && !exists[0] && !exists[1] && !exists[13]);
    }
    EXPECT_TRUE(QFile::exists(dir.Path("kelvaro.cfg")));
}
