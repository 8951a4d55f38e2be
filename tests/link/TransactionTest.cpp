#include "LinkHarness.h"

#include <QRegularExpression>

using TransactionTest = LinkTest;

TEST_F(TransactionTest, timeoutIsFlooredRepeatedAndFiresAtSentTimePlusTimeoutAndSlowHeadsGet2000Dummies) {
    UseChunks();
    SendCommand(chunks, "FP", 0.01, false);
    EXPECT_DOUBLE_EQ(Link().ReplyTimeout, 0.07);
    chunks.Deliver("*1.0\r\n");
    EXPECT_TRUE(TrafficLines().isEmpty());  // logging off
    SendCommand(chunks, "HT", 0.3f, true);
    SendCommand(chunks, "", 5, true);  // the last command with its own time-out
    EXPECT_EQ(chunks.written, "$FP\r$HT\r$HT\r");
    EXPECT_DOUBLE_EQ(Link().ReplyTimeout, 0.30000001192092896);
    SendCommand(chunks, "SP", 0.5, true);
    clock.Advance(0.49);
    Timer2_Timer();
    EXPECT_EQ(Link().AttemptCount, 0);
    clock.Advance(0.01);
    Timer2_Timer();
    EXPECT_TRUE(Link().AttemptCount == 1 && chunks.written.endsWith("$MD\r"));
    // Pyroelectric and nJ heads on a TALON or a KORVEN wait for their pulse: the dummy is sent
    // 2000 times before the give-up; every other pair gets three tries.
    // clang-format off
    const struct { int16_t device, head; int dummies; } cases[] = {
        {0, 2, 2000}, {4, 4, 2000}, {7, 2, 2000}, {0, 1, 3}, {0, 3, 3}, {3, 2, 3}, {8, 4, 3}};
    // clang-format on
    for (const auto& c : cases) {
        ResetLinkState();
        TestMeter().DeviceType = MeterModel(c.device);
        TestMeter().Channels[0].HeadType = HeadKind(c.head);
        chunks.written.clear();
        SendCommand(chunks, "SE", 0.3, true);
        while (!Link().ReplyReceived) Tick();
        EXPECT_EQ(chunks.written.count("$MD\r"), c.dummies) << c.device << "/" << c.head;
    }
}

TEST_F(TransactionTest, silentMeterGetsDummyThenRepeatsThenGivesUp) {
    ASSERT_TRUE(ConnectTo({}));
    meter->Config().faults.silent = true;
    SendCommand(*port, "HT", 0.3f, true);
    while (!Link().ReplyReceived) Tick();
    EXPECT_EQ(TrafficLines().filter(QRegularExpression("^(Attempt|Timeout)")),
              (QStringList{"Attempt No2 (Dummy) $MD<CR>", "Attempt No3  $MD<CR>", "Attempt No4  $MD<CR>",
                           "Timeout!"}));
    EXPECT_EQ(Commands().mid(1), (QStringList{"HT", "MD", "MD", "MD"}));
    EXPECT_EQ(prompts.Texts(), QStringList{"Timeout! Connection Lost!"});
    EXPECT_TRUE(Link().IdentTimedOut && Link().TerminalReady && Link().AttemptCount == 3);

    // Without a complete line in between, the next silence gives up at once.
    SendCommand(*port, "SP", 0.5, true);
    while (!Link().ReplyReceived) Tick();
    EXPECT_TRUE(prompts.Texts().size() == 2 && Commands().last() == "SP");

    // A complete line starts the count again: the next silence gets its dummy first.
    meter->Config().faults.silent = false;
    SendCommand(*port, "VE", 0.3, true);
    while (!Link().ReplyReceived) Tick();
    EXPECT_EQ(Link().AttemptCount, 0);
    meter->Config().faults.silent = true;
    SendCommand(*port, "SP", 0.5, true);
    for (int i = 0; i < 51; ++i) Tick();
    EXPECT_TRUE(Commands().last() == "MD" && prompts.Texts().size() == 2);

    // Disconnect disarms the watch: nothing fires for the command left unanswered.
    Disconnect();
    for (int i = 0; i < 300; ++i) Tick();
    EXPECT_EQ(prompts.Texts().size(), 2);
}

TEST_F(TransactionTest, lineBufferIsBoundedTo64KiBAndALineEndsOnlyWithAChunkEndingInLineFeed) {
    UseChunks();
    App().ActiveMode = ModeTerminal;
    Link().LogReplies = false;
    for (int i = 0; i < 100; ++i) chunks.Deliver(QByteArray(1000, 'x'));
    chunks.Deliver("END\r\n");
    EXPECT_EQ(std::tuple(windowLines.size(), windowLines.value(0).size(), Link().DroppedCharacters),
              std::tuple(1, 2 + 65536, 100000 + 5 - 1 - 65536));
    EXPECT_TRUE(windowLines.value(0).endsWith("xxEND\r"));
    EXPECT_TRUE(TrafficLines().last().startsWith("Line buffer full"));

    // A line ends only with a chunk ending in LF; a receiver that waits (and so takes the next line
    // in a nested call) starts a fresh line.
    windowLines.clear();
    chunks.Deliver("*1.2");
    chunks.Deliver("3E-3\r");
    EXPECT_EQ(Link().LineBuffer, "*1.23E-3\r");
    chunks.Deliver("\n");
    chunks.Deliver("*1\r\n*2");
    EXPECT_EQ(windowLines, QStringList{"1:*1.23E-3\r"});
    chunks.Deliver("\r\n");
    EXPECT_TRUE(windowLines == QStringList({"1:*1.23E-3\r", "1:*1\r\n*2\r"}) && Link().LineBuffer.isEmpty());
    modes[ModeTerminal].Entry = [&](int, QString& text) {
        windowLines << text;
        if (text == "*3\r") chunks.Deliver("*4\r\n");
    };
    chunks.Deliver("*3\r\n");
    EXPECT_EQ(windowLines.mid(2), (QStringList{"*3\r", "*4\r"}));
}
