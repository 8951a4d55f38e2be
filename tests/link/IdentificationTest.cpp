#include "LinkHarness.h"

namespace {

sim::HeadSpec Head(int type, const QString& name = "3A-P", quint32 serial = 123456) {
    sim::HeadSpec h;
    h.type = type;
    h.name = name;
    h.serial = serial;
    return h;
}

}  // namespace

class IdentificationTest : public LinkTest {
protected:
    void ConnectAndIdentify(const sim::MeterConfig& cfg) {
        UseMeter(cfg);
        ASSERT_TRUE(Connect());
        Identify();
    }
    const ChannelInfo& A() const { return App().Channels[0]; }
    const ChannelInfo& B() const { return App().Channels[1]; }
};

TEST_F(IdentificationTest, modelsAreKnownByTheirProbeAndFollowUpReplies) {
    struct Case {
        sim::Model model;
        int16_t deviceType;
    };
    const Case cases[] = {
        {sim::Model::Talon, 0},    {sim::Model::MeridelOne, 1},  {sim::Model::MeridelTwo, 2},
        {sim::Model::Talon2, 3},   {sim::Model::KorvenTH, 4},    {sim::Model::KorvenPD, 5},
        {sim::Model::KorvenPE, 6}, {sim::Model::KorvenQX450, 7}, {sim::Model::Sirka, 8},
    };
    for (const Case& c : cases) {
        ResetLinkState();
        App().Connected = false;
        sim::MeterConfig cfg;
        cfg.model = c.model;
        UseMeter(cfg);
        ASSERT_TRUE(Connect());
        IdentifyDevice(true);
        EXPECT_EQ(App().DeviceType, c.deviceType) << int(c.model);
        EXPECT_FALSE(Link().AwaitDeviceIdent);
        Disconnect();
    }
    EXPECT_TRUE(prompts.Texts().isEmpty());
}

TEST_F(IdentificationTest, twoChannelMeridelReadsBothHeadsFromTheirMemory) {
    sim::MeterConfig cfg;
    cfg.model = sim::Model::MeridelTwo;
    cfg.firmware = "2.45";
    cfg.heads[0] = Head(2, "PE25", 70000);
    cfg.heads[1] = Head(1, "3A-P", 123456);
    ConnectAndIdentify(cfg);

    EXPECT_EQ(App().DeviceType, 2);
    EXPECT_DOUBLE_EQ(Link().FirmwareVersion, 2.45);
    EXPECT_EQ(B().HeadType, 1);
    EXPECT_EQ(B().HeadName, "3A-P");
    EXPECT_EQ(B().HeadSerial, "; s/n123456");
    EXPECT_EQ(A().HeadType, 2);
    EXPECT_EQ(A().HeadName, "PE25");
    EXPECT_EQ(A().HeadSerial, "; s/n70000");
    EXPECT_EQ(A().UnitText, "J\r");
    EXPECT_EQ(B().UnitText, "W\r");
    EXPECT_EQ(Link().IdentStep, 0);
    // "HI" only for the thermopile, "HT" for each channel.
    EXPECT_EQ(Commands().count("HI"), 1);
    EXPECT_EQ(Commands().count("HT"), 2);
    EXPECT_EQ(Commands().count("FP"), 2);
    EXPECT_TRUE(prompts.Texts().isEmpty());
    // Head-memory reads stay out of the traffic log, channel commands do not.
    const QString log = TrafficLines().join('\n');
    EXPECT_FALSE(log.contains("RB 22 1"));
    EXPECT_TRUE(log.contains("$CH B<CR>"));
}

TEST_F(IdentificationTest, firmwareGatesTheHeadQueries) {
    struct Case {
        sim::Model model;
        QString firmware;
        int hi, ht;
    };
    const Case cases[] = {
        {sim::Model::MeridelOne, "1.8", 0, 0},  {sim::Model::MeridelOne, "1.9", 1, 0},
        {sim::Model::MeridelOne, "2.41", 1, 0}, {sim::Model::MeridelOne, "2.42", 1, 1},
        {sim::Model::MeridelOne, "x", 0, 0},    {sim::Model::Talon, "328", 0, 0},
        {sim::Model::Talon, "329", 0, 1},       {sim::Model::Talon, "3.5E2", 0, 0},
    };
    for (const Case& c : cases) {
        ResetLinkState();
        App().Connected = false;
        sim::MeterConfig cfg;
        cfg.model = c.model;
        cfg.firmware = c.firmware;
        cfg.heads[0] = Head(1);
        ConnectAndIdentify(cfg);
        EXPECT_EQ(Commands().count("HI"), c.hi) << c.firmware.toStdString();
        EXPECT_EQ(Commands().count("HT"), c.ht) << c.firmware.toStdString();
        Disconnect();
    }
}

TEST_F(IdentificationTest, rapidPulseThermopilesBecomeType5) {
    sim::MeterConfig cfg;
    cfg.model = sim::Model::MeridelTwo;
    cfg.firmware = "2.0";  // "HI" known, "HT" not yet
    cfg.heads[0] = Head(1);
    cfg.heads[1] = Head(1);
    cfg.heads[1].rapidPulse = true;
    ConnectAndIdentify(cfg);
    EXPECT_EQ(A().HeadType, 1);
    EXPECT_EQ(B().HeadType, 5);
}

TEST_F(IdentificationTest, korvenHeadsAreCheckedAgainstTheModel) {
    struct Case {
        sim::Model model;
        int headType;
        QString code;
        int16_t type;
        QString note;
        QString unit;
    };
    const Case cases[] = {
        {sim::Model::KorvenTH, 2, "", 2, "This KORVEN does not support pyroelectric head", "J"},
        {sim::Model::KorvenPE, 2, "", 2, "", "J"},
        {sim::Model::KorvenPE, 1, "", 1, "This KORVEN does not support thermopile head", "W"},
        {sim::Model::KorvenTH, 3, "", 3, "This KORVEN does not support photodiode head", "W"},
        {sim::Model::KorvenTH, 4, "", 4, "This KORVEN does not support nj-meter head", "J"},
        {sim::Model::KorvenPD, 3, "QX450", 3, "", "W"},
        {sim::Model::KorvenQX450, 3, "QX450", 3, "", "W"},
        {sim::Model::KorvenTH, 3, "QX450", 3, "This KORVEN does not support QX450 head", "W"},
    };
    for (const Case& c : cases) {
        ResetLinkState();
        App().Connected = false;
        sim::MeterConfig cfg;
        cfg.model = c.model;
        cfg.heads[0] = Head(c.headType, "XLP12", 4321);
        cfg.heads[0].korvenCode = c.code;
        ConnectAndIdentify(cfg);
        const std::string label = std::to_string(int(c.model)) + "/" + std::to_string(c.headType);
        EXPECT_EQ(A().HeadType, c.type) << label;
        EXPECT_EQ(A().SupportNote, c.note) << label;
        EXPECT_EQ(Link().HeadNotSupported, !c.note.isEmpty()) << label;
        EXPECT_EQ(A().UnitText, c.unit) << label;
        EXPECT_EQ(A().HeadSerial, "4321 ") << label;
        EXPECT_EQ(A().HeadName.trimmed(), c.code == "QX450" ? "QX450" : "XLP12") << label;
        // No measurement command for a head the meter cannot use.
        EXPECT_EQ(Commands().contains("FP") || Commands().contains("FE"), c.note.isEmpty()) << label;
        Disconnect();
    }
}

TEST_F(IdentificationTest, korvenNotConfiguredForRs232Disconnects) {
    sim::MeterConfig cfg;
    cfg.model = sim::Model::KorvenTH;
    cfg.heads[0] = Head(1);
    cfg.heads[0].korvenCode = "UC";
    ConnectAndIdentify(cfg);
    EXPECT_EQ(prompts.Texts(), QStringList{"Device not configured for RS232"});
    EXPECT_EQ(connectClicks, 1);
    EXPECT_FALSE(App().Connected);
    EXPECT_EQ(A().HeadType, 0);
    EXPECT_EQ(A().SupportNote, "Device not configured RS232");
    EXPECT_FALSE(Link().HeadNotSupported);
}

TEST_F(IdentificationTest, unsupportedHeadIsForgottenByTheNextIdentification) {
    sim::MeterConfig cfg;
    cfg.model = sim::Model::KorvenTH;
    cfg.heads[0] = Head(2);
    ConnectAndIdentify(cfg);
    ASSERT_TRUE(Link().HeadNotSupported);
    Disconnect();

    sim::MeterConfig talon;
    talon.heads[0] = Head(1);
    ConnectAndIdentify(talon);
    EXPECT_FALSE(Link().HeadNotSupported);
    EXPECT_TRUE(A().SupportNote.isEmpty());
    EXPECT_EQ(Commands().count("FP"), 1);
}

TEST_F(IdentificationTest, photometersReportTheirUnit) {
    struct Case {
        sim::Model model;
        QString unit;
        QString unitText;
        QString readingUnit;
    };
    const Case cases[] = {
        {sim::Model::Talon2, "Fc", "Fc\r", "Fc"},
        {sim::Model::Sirka, "Lx", "Lx\r", "Lx"},
    };
    for (const Case& c : cases) {
        ResetLinkState();
        App().Connected = false;
        sim::MeterConfig cfg;
        cfg.model = c.model;
        cfg.heads[0] = Head(6);
        cfg.heads[0].unit = c.unit;
        ConnectAndIdentify(cfg);
        EXPECT_EQ(A().HeadType, 6);
        EXPECT_EQ(A().UnitText, c.unitText);
        EXPECT_EQ(A().ReadingUnit, c.readingUnit);
        Disconnect();
    }
}

TEST_F(IdentificationTest, missingHeadIsDisconnectedAndNotMeasured) {
    sim::MeterConfig cfg;
    cfg.model = sim::Model::Talon2;
    ConnectAndIdentify(cfg);
    EXPECT_EQ(A().HeadType, 0);
    EXPECT_EQ(A().HeadName, "Disconnected");
    EXPECT_FALSE(Commands().contains("FP"));
    EXPECT_FALSE(Commands().contains("RB 1B 6"));
}

TEST_F(IdentificationTest, silentMeterEndsIdentificationWithOneTimeoutPerCommand) {
    sim::MeterConfig cfg;
    cfg.model = sim::Model::MeridelTwo;
    UseMeter(cfg);
    ASSERT_TRUE(Connect());
    meter->Config().faults.silent = true;
    Identify();
    EXPECT_TRUE(Link().IdentTimedOut);
    EXPECT_FALSE(Link().AwaitDeviceIdent || Link().AwaitHeadIdent || Link().AwaitChannelSelect);
    // The device step ran the whole retry sequence; the head step and the
    // unit query each gave up at their first time-out. Unconfirmed, the
    // meter stays a one-channel Meridel.
    EXPECT_EQ(App().DeviceType, 1);
    EXPECT_EQ(prompts.Texts().size(), 3);
    EXPECT_EQ(Commands().count("MD"), 3);
    EXPECT_EQ(Commands().count("HT"), 1);
}

TEST(HexDecoding, headMemoryWordsDecodeLowByteFirst) {
    const std::pair<QString, QString> texts[] = {
        {"4133 502D 2020 2020 2020 2020\r", "3A-P"},
        {"4C58 3150 0032 2020 2020 2020\r", "XLP12"},
        {"4133 zz2D 2020\r", "3A-"},
        {"", ""},
    };
    for (const auto& [in, out] : texts) EXPECT_EQ(DecodeHexText(in), out) << in.toStdString();

    const std::pair<QString, QString> numbers[] = {
        {"E240 0001\r", "123456"}, {"0001 0002\r", "131073"}, {"FFFF FFFF\r", "4294967295"}, {"*\r", "0"}};
    for (const auto& [in, out] : numbers) EXPECT_EQ(DecodeHexNumber(in), out) << in.toStdString();
}

TEST(ReplyParsing, headTypeStatusAndReadingUnitReplies) {
    struct HeadType {
        QString reply;
        bool ok;
        int16_t type;
        QString unit;
    };
    const HeadType headTypes[] = {
        {"*LX Fc\r", true, 6, "Fc\r"}, {"*rp W\r", true, 5, "W\r"},  {"*TH W\r", true, 1, "W\r"},
        {"*NO\r", false, 0, "W"},      {"*QQ W\r", false, 0, "W\r"}, {"", false, 0, "W"},
    };
    for (const HeadType& c : headTypes) {
        int16_t type = -1;
        QString unit;
        EXPECT_EQ(ParseHeadType(c.reply, type, unit), c.ok) << c.reply.toStdString();
        EXPECT_EQ(type, c.type);
        EXPECT_EQ(unit, c.unit);
    }

    const std::pair<QString, bool> status[] = {{"*TH 11\r", true}, {"*TH 01\r", false}, {"*1F\r", true},
                                               {"TH 11\r", false}, {"*\r", false},      {"*TH zz\r", false}};
    for (const auto& [reply, rapid] : status)
        EXPECT_EQ(IsRapidPulseHead(reply), rapid) << reply.toStdString();

    const std::pair<QString, QString> units[] = {{"*l\r", "Lx"}, {"*c\r", "Fc"}, {"*W\r", "W"},
                                                 {"*A\r", "A"},  {"?\r", "W"},   {"*", "W"}};
    for (const auto& [reply, unit] : units) EXPECT_EQ(ReadingUnit(reply), unit) << reply.toStdString();
}

TEST_F(IdentificationTest, readingUnitGivesUpAfterThreeEmptyReadings) {
    UseChunks();
    int queries = 0;
    App().Shell.ProcessEvents = [&] {
        ++queries;
        chunks.Deliver("*X\r\n");
    };
    EXPECT_FALSE(WaitForReading());
    EXPECT_EQ(queries, 3);
    EXPECT_EQ(chunks.written, "$SI\r$SI\r$SI\r");
}
