#include "LinkHarness.h"

static sim::HeadSpec Head(int type, QString name = "3A-P", quint32 serial = 123456, QString code = {}) {
    return {type, name, serial, {}, false, code};
}

static sim::MeterConfig MeterOf(sim::Model model, sim::HeadSpec a = Head(1), sim::HeadSpec b = {},
                                QString firmware = {}) {
    return {model, firmware, 19200, {a, b}};
}

class IdentificationTest : public LinkTest {
protected:
    void ConnectAndIdentify(const sim::MeterConfig& cfg) {
        ASSERT_TRUE(ConnectTo(cfg));
        IdentifyInstrument();
    }
    const ChannelInfo& A() const { return Meter().Channels[0]; }
    const ChannelInfo& B() const { return Meter().Channels[1]; }
};

TEST_F(IdentificationTest, twoChannelMeridelReadsBothHeadsFromTheirMemoryAndFindsRapidPulseHeads) {
    ConnectAndIdentify(MeterOf(sim::Model::MeridelTwo, Head(2, "PE25", 4294967295u), Head(1), "2.45"));
    EXPECT_EQ(std::pair(Meter().DeviceType, Link().FirmwareVersion), std::pair(MeterModel::MeridelTwo, 2.45));
    EXPECT_EQ(std::pair(A().HeadType, B().HeadType), std::pair(HeadKind::Pyroelectric, HeadKind::Thermopile));
    EXPECT_EQ(A().HeadName + A().HeadSerial + "|" + B().HeadName + B().HeadSerial,
              "PE25; s/n4294967295|3A-P; s/n123456");
    EXPECT_EQ(A().UnitText + B().UnitText, "J\rW\r");
    EXPECT_TRUE(Link().IdentStep == 0 && prompts.Texts().isEmpty());
    // "HI" only for the thermopile, "HT" for each channel.
    EXPECT_EQ(std::tuple(Commands().count("HI"), Commands().count("HT"), Commands().count("FP")),
              std::tuple(1, 2, 2));
    // Head-memory reads stay out of the traffic log, channel commands do not.
    const QString log = TrafficLines().join('\n');
    EXPECT_TRUE(!log.contains("RB 22 1") && log.contains("$CH B<CR>")) << log.toStdString();
    Disconnect();  // a thermopile that can take rapid pulses becomes a rapid-pulse head
    sim::HeadSpec rapid = Head(1);
    rapid.rapidPulse = true;
    ConnectAndIdentify(MeterOf(sim::Model::MeridelTwo, Head(1), rapid, "2.0"));
    EXPECT_EQ(std::pair(A().HeadType, B().HeadType), std::pair(HeadKind::Thermopile, HeadKind::RapidPulse));
    Disconnect();  // no head on B: its memory holds no name to read
    ConnectAndIdentify(MeterOf(sim::Model::MeridelTwo, Head(1), {}, "2.0"));
    EXPECT_TRUE(B().HeadType == HeadKind::None && Commands().count("RB 1B 6") == 1)
        << Commands().join(',').toStdString();
}

TEST_F(IdentificationTest, badRepliesRepeatTheirStep) {
    UseChunks();
    TestMeter().DeviceType = MeterModel::MeridelTwo;
    // step, bad reply, command sent again, good reply, next step
    // clang-format off
    const struct { int16_t step; const char *bad, *again, *good; int16_t next; } cases[] = {
        {1, "*A\r", "$CH B\r", "*B\r", 2},                 {2, "?\r", "$RB 22 1\r", "*4854\r", 3},
        {3, "4133 502D 2020 2020 2020 2020\r", "$RB 1B 6\r", "*4133 502D 2020 2020 2020 2020\r", 4},
        {4, "E240 0001\r", "$RB 16 2\r", "*E240 0001\r", 5}, {5, "*B\r", "$CH A\r", "*A\r", 6},
        {6, "?\r", "$RB 22 1\r", "*4854\r", 7},
        {7, "?\r", "$RB 1B 6\r", "*4133 502D 2020 2020 2020 2020\r", 8},
        {8, "?\r", "$RB 16 2\r", "*E240 0001\r", 0}};
    // clang-format on
    for (const auto& c : cases) {
        Link().IdentStep = c.step;
        Link().AwaitHeadIdent = true;
        chunks.written.clear();
        chunks.Deliver(QByteArray(c.bad) + "\n");
        EXPECT_TRUE(chunks.written == c.again && Link().IdentStep == c.step && Link().AwaitHeadIdent)
            << c.step;
        chunks.Deliver(QByteArray(c.good) + "\n");
        EXPECT_EQ(Link().IdentStep, c.next) << c.step;
    }
    EXPECT_EQ(A().HeadName + A().HeadSerial + B().HeadName + B().HeadSerial,
              "3A-P; s/n1234563A-P; s/n123456");

    Link().TargetChannel = 1;  // an unconfirmed channel switch is asked for again
    Link().AwaitChannelSelect = true;
    chunks.Deliver("*A\r\n");
    chunks.Deliver("*B\r\n");
    EXPECT_TRUE(chunks.written.endsWith("$RB 16 2\r$CH B\r")) << chunks.written.toStdString();
    EXPECT_TRUE(Meter().CurrentChannel == 1 && !Link().AwaitChannelSelect);
}

TEST_F(IdentificationTest, firmwareGatesTheHeadQueries) {
    using M = sim::Model;
    // clang-format off
    const struct { M model; QString firmware; int hi, ht; } cases[] = {
        {M::MeridelOne, "1.8", 0, 0}, {M::MeridelOne, "1.9", 1, 0}, {M::MeridelOne, "2.41", 1, 0},
        {M::MeridelOne, "2.42", 1, 1}, {M::MeridelOne, "x", 0, 0}, {M::Talon, "328", 0, 0},
        {M::Talon, "329", 0, 1}, {M::Talon, "3.5E2", 0, 0}};
    // clang-format on
    for (const auto& c : cases) {
        ConnectAndIdentify(MeterOf(c.model, Head(1), {}, c.firmware));
        SCOPED_TRACE(c.firmware.toStdString());
        EXPECT_EQ(int(Meter().DeviceType), int(c.model));
        EXPECT_EQ(Commands().count("HI") * 10 + Commands().count("HT"), c.hi * 10 + c.ht);
        Disconnect();
    }
}

// Each head is measured only where the meter supports it; what a KORVEN could not use
// is forgotten by the next identification.
TEST_F(IdentificationTest, headsAreCheckedAgainstTheModelAndMeasuredOnlyWhereSupportedOrTheMeterLeft) {
    using M = sim::Model;
    const QString no = "This KORVEN does not support ";
    // clang-format off
    const struct { M model; int type; QString code, unit, note; } cases[] = {  // unit: empty, not checked
        {M::KorvenTH, 2, "", "J", no + "pyroelectric head"}, {M::KorvenPE, 2, "", "J", ""},
        {M::KorvenPD, 3, "QX450", "W", ""}, {M::KorvenQX450, 3, "QX450", "W", ""},
        {M::KorvenPE, 1, "", "W", no + "thermopile head"}, {M::KorvenTH, 3, "", "W", no + "photodiode head"},
        {M::KorvenTH, 4, "", "J", no + "nj-meter head"}, {M::KorvenTH, 3, "QX450", "W", no + "QX450 head"},
        {M::Talon, 1, "", "", ""}, {M::Talon2, 6, "", "Fc\r", ""}, {M::Sirka, 6, "", "Lx\r", ""}, {M::Talon2, 0, "", "", ""}};
    // clang-format on
    for (const auto& c : cases) {
        sim::HeadSpec head = Head(c.type, "XLP12", 4321, c.code);
        if (c.type == 6) head.unit = c.unit.chopped(1);
        ConnectAndIdentify(MeterOf(c.model, head));
        SCOPED_TRACE(std::to_string(int(c.model)) + "/" + std::to_string(c.type));
        EXPECT_EQ(int(Meter().DeviceType) * 10 + int(A().HeadType), int(c.model) * 10 + c.type);
        EXPECT_EQ(std::pair(A().SupportNote, Link().HeadNotSupported), std::pair(c.note, !c.note.isEmpty()));
        const bool korven = c.model >= M::KorvenTH && c.model <= M::KorvenQX450;
        const QString nameAndSerial = A().HeadName.trimmed() + A().HeadSerial;
        EXPECT_TRUE(c.unit.isEmpty() || A().UnitText == c.unit) << A().UnitText.toStdString();
        EXPECT_TRUE(c.type != 6 || A().ReadingUnit == c.unit.chopped(1)) << A().ReadingUnit.toStdString();
        EXPECT_TRUE(c.type != 0 || A().HeadName == "Disconnected") << A().HeadName.toStdString();
        EXPECT_TRUE(!korven || nameAndSerial == (c.code.isEmpty() ? "XLP124321 " : "QX4504321 "))
            << nameAndSerial.toStdString();
        // No measurement command for a head the meter cannot use, or for no head.
        EXPECT_EQ(Commands().contains("FP") || Commands().contains("FE"), c.note.isEmpty() && c.type != 0);
        Disconnect();
    }
    EXPECT_FALSE(Commands().contains("RB 1B 6"));  // no name is read for no head
    // A KORVEN not configured for RS232 is disconnected.
    ConnectAndIdentify(MeterOf(M::KorvenTH, Head(1, "3A", 1, "UC")));
    EXPECT_EQ(prompts.Texts(), QStringList{"Device not configured for RS232"});
    EXPECT_TRUE(connectClicks == 1 && !Meter().Connected && !Link().HeadNotSupported);
    EXPECT_EQ(A().SupportNote, "Device not configured RS232");
}

TEST_F(IdentificationTest, silentMeterEndsIdentificationWithOneTimeoutPerCommand) {
    ASSERT_TRUE(ConnectTo(MeterOf(sim::Model::MeridelTwo)));
    meter->Config().faults.silent = true;
    IdentifyInstrument();
    // The device step ran all retries (the meter stays a one-channel Meridel); the others gave up at once.
    EXPECT_TRUE(Link().IdentTimedOut && !Link().AwaitDeviceIdent && !Link().AwaitHeadIdent &&
                !Link().AwaitChannelSelect && Meter().DeviceType == MeterModel::MeridelOne);
    EXPECT_EQ(prompts.Texts(), QStringList(3, "Timeout! Connection Lost!"));
    EXPECT_TRUE(Commands().count("MD") == 3 && Commands().count("HT") == 1)
        << Commands().join(' ').toStdString();
}

TEST_F(IdentificationTest, readingUnitGivesUpAfterThreeEmptyReadings) {
    UseChunks();
    App().Shell.ProcessEvents = [&] { chunks.Deliver("*X\r\n"); };
    EXPECT_FALSE(WaitForReading());
    EXPECT_EQ(chunks.written, "$SI\r$SI\r$SI\r");
}

// "HI": the status byte before the CR; its bit of value 16 marks a rapid-pulse head.
TEST(HeadInfo, aRapidPulseHeadSetsBit16OfTheStatusByte) {
    const std::pair<const char*, bool> rows[] = {
        {"*TH 10\r", true}, {"*TH 3F\r", true}, {"*TH 0F\r", false}, {"TH 10\r", false}, {"*\r", false}};
    for (auto [reply, rapid] : rows) EXPECT_EQ(IsRapidPulseHead(reply), rapid) << reply;
}
