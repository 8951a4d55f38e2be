#include "LinkHarness.h"

using DispatchTest = LinkTest;

TEST_F(DispatchTest, eachWaitingRoutineTakesTheLineBeforeTheNextInOrder) {
    UseChunks();
    App().ActiveMode = ModeTerminal;
    App().DeviceType = 2;
    // The wait flags in dispatch order, each with a reply its routine accepts.
    const std::pair<bool ProtocolState::*, const char*> order[] = {
        {&ProtocolState::AwaitChannelSelect, "*A\r"}, {&ProtocolState::AwaitHeadIdent, "*\r"},
        {&ProtocolState::AwaitDeviceIdent, "*A\r"},   {&ProtocolState::AwaitStartReply, "*\r"},
        {&ProtocolState::AwaitHeadInfo, "*TH 11\r"},  {&ProtocolState::AwaitQueryReply, "*W\r"},
        {&ProtocolState::AwaitHeadType, "*TH W\r"}};
    for (size_t i = 0; i < std::size(order); ++i) {
        const auto [flag, reply] = order[i];
        Link().IdentStep = 8;
        Link().*flag = true;
        bool* next = i + 1 < std::size(order) ? &(Link().*order[i + 1].first) : nullptr;
        if (next) *next = true;
        chunks.Deliver(QByteArray(reply) + "\n");
        EXPECT_FALSE(Link().*flag) << i;
        if (next) EXPECT_TRUE(std::exchange(*next, false)) << i;
    }
    EXPECT_TRUE(windowLines.isEmpty());
}

TEST_F(DispatchTest, refusedFirstRequestOfAPowerRunSendsTheModeAgain) {
    UseChunks();
    App().ActiveMode = ModePower;
    App().ModeCheckPending = true;
    chunks.Deliver("?\r\n");
    EXPECT_EQ(chunks.written, "$FP\r");
    EXPECT_DOUBLE_EQ(Link().ReplyTimeout, 7.0);
    chunks.Deliver("*1.234E-3\r\n");
    chunks.Deliver("?\r\n");  // after the first reading, refusals are the window's business
    EXPECT_EQ(windowLines, (QStringList{"2:*1.234E-3\r", "2:?\r"}));
    EXPECT_EQ(chunks.written, "$FP\r");
}

TEST_F(DispatchTest, linesReachTheWindowOfTheActiveMode) {
    UseChunks();
    // clang-format off
    const struct {
        int16_t mode;
        const char* line;
        QString window;  // empty: dropped
        QByteArray resent;
    } cases[] = {
        {ModeNone, "*1\r", "", ""},           {ModeTerminal, "?\r", "1:?\r", ""},
        {ModeEnergy, "?\r", "", "$FE\r"},       {ModeRapidPulse, "?\r", "", "$FE\r"},
        {ModeRapidPulse, "*5\r", "7:*5\r", ""}, {ModePcFile, "*1\r", "", ""},
        {ModeDeviceFile, "*D\r", "5:*D\r", ""}, {ModePowerRatio, "*1 ?\r", "", ""},
        {4, "*1\r", "", ""},                   {ModePowerRatio, "*1 2\r", "11:*1 2\r", ""},
        {ModePowerDifference, "?\r", "", ""},  {ModeEnergyRatio, "*3 4\r", "13:*3 4\r", ""}};
    // clang-format on
    for (const auto& c : cases) {
        windowLines.clear();
        chunks.written.clear();
        App().ActiveMode = c.mode;
        App().ModeCheckPending = true;
        chunks.Deliver(QByteArray(c.line) + "\n");
        EXPECT_EQ(windowLines, c.window.isEmpty() ? QStringList{} : QStringList{c.window}) << c.mode;
        EXPECT_EQ(chunks.written, c.resent) << c.mode;
    }
}

TEST_F(DispatchTest, startRepeatsTheModeCommandUntilAcknowledgedOrTimedOut) {
    for (bool refuseAll : {false, true}) {
        sim::MeterConfig cfg;
        cfg.heads[0].type = 1;
        cfg.refused.insert("FP");
        ASSERT_TRUE(ConnectTo(cfg));
        App().Shell.ProcessEvents = [&] {
            Tick();
            if (!refuseAll && Commands().count("FP") == 3) meter->Config().refused.clear();
        };
        StartMeasurement(true, "FP");
        EXPECT_FALSE(Link().AwaitStartReply);
        if (refuseAll)
            EXPECT_GT(Commands().count("FP"), 3);
        else
            EXPECT_EQ(Commands().count("FP"), 4);
        EXPECT_EQ(prompts.Texts(), refuseAll ? QStringList{"Timeout! Connection Lost!"} : QStringList{});
        EXPECT_EQ(Link().IdentTimedOut, refuseAll);
        Disconnect();
    }
}
