#include "LinkHarness.h"

using DispatchTest = LinkTest;

TEST_F(DispatchTest, eachWaitingRoutineTakesTheLineInOrderAndOtherLinesReachTheActiveWindow) {
    UseChunks();
    App().ActiveMode = ModeTerminal;
    TestMeter().DeviceType = MeterModel::MeridelTwo;
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
        EXPECT_TRUE(!next || std::exchange(*next, false)) << i;
    }
    EXPECT_TRUE(windowLines.isEmpty());

    // Then lines reach the window of the active mode. Rows run in order; `pending` marks the first
    // request of a run. Its refusal sends the mode again; later refusals, after a reading, are the
    // window's business. The two-channel windows are told of a refusal (op 2) so that they ask again.
    // clang-format off
    const struct { int16_t mode; bool pending; const char* line; QString window; /* empty: dropped */ QByteArray resent; } cases[] = {
        {ModeNone, true, "*1\r", "", ""},             {ModeTerminal, true, "?\r", "1:?\r", ""},
        {ModeEnergy, true, "?\r", "", "$FE\r"},        {ModeRapidPulse, true, "?\r", "", "$FE\r"},
        {ModeRapidPulse, true, "*5\r", "7:*5\r", ""},  {ModePcFile, true, "*1\r", "", ""},
        {ModeDeviceFile, true, "*D\r", "5:*D\r", ""},  {ModePowerRatio, true, "*1 ?\r", "11/2:*1 ?\r", ""},
        {4, true, "*1\r", "", ""},                    {ModePowerRatio, true, "*1 2\r", "11:*1 2\r", ""},
        {ModePowerDifference, true, "?\r", "12/2:?\r", ""},   {ModeEnergyRatio, true, "*3 4\r", "13:*3 4\r", ""},
        {ModePower, true, "?\r", "", "$FP\r"},         {ModePower, false, "*1.234E-3\r", "2:*1.234E-3\r", ""},
        {ModePower, false, "?\r", "2:?\r", ""},       {ModeEnergyRatio, false, "?\r", "13/2:?\r", ""}};
    // clang-format on
    for (const auto& c : cases) {
        windowLines.clear();
        chunks.written.clear();
        App().ActiveMode = c.mode;
        if (c.pending) App().ModeCheckPending = true;
        chunks.Deliver(QByteArray(c.line) + "\n");
        EXPECT_EQ(windowLines, c.window.isEmpty() ? QStringList{} : QStringList{c.window})
            << c.mode << c.line;
        EXPECT_EQ(chunks.written, c.resent) << c.mode << c.line;
    }
    EXPECT_DOUBLE_EQ(Link().ReplyTimeout, 7.0);  // of the mode sent again
}

TEST_F(DispatchTest, startRepeatsTheModeCommandUntilAcknowledgedOrTimedOut) {
    for (bool refuseAll : {false, true}) {
        ASSERT_TRUE(ConnectTo({sim::Model::Talon, {}, 19200, {sim::HeadSpec{1}}, {"FP"}}));  // refusing "FP"
        App().Shell.ProcessEvents = [&] {
            Tick();
            if (!refuseAll && Commands().count("FP") == 3) meter->Config().refused.clear();
        };
        StartMeasurement(true, "FP");
        EXPECT_EQ(std::pair(Link().AwaitStartReply, Link().IdentTimedOut), std::pair(false, refuseAll));
        const int sent = Commands().count("FP");
        EXPECT_TRUE(refuseAll ? sent > 3 : sent == 4) << sent;
        EXPECT_EQ(prompts.Texts(), refuseAll ? QStringList{"Timeout! Connection Lost!"} : QStringList{});
        Disconnect();
    }
}
