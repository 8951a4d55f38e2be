// Power ratio and power difference logging: pairing of half replies, the
// read-outs, normalising and offset, directions, and the saved files.

#include "tests/power/PowerHarness.h"

#include "data/Overrange.h"
#include "dual/DualPowerProfiles.h"

namespace {

// Two thermopile heads on a two-channel meter, the engine of `profile`.
class DualPowerTest : public ::testing::Test {
protected:
    explicit DualPowerTest(const PowerProfile& profile) : engine(profile) {}
    void SetUp() override {
        ResetAppState();
        ResetLinkState();
        ResetWorkFile();
        SetDecimalSeparator(QStringLiteral("."));
        platform::setSerialPort(&port);
        AppState& app = App();
        app.Connected = true;
        app.DeviceType = 2;
        app.Config.PowerRatio.RatioLogTime = 100;
        app.Config.PowerDifference.DiffLogTime = 100;
        const char* names[] = {"3A", "3B"};
        for (int c = 0; c < 2; ++c) {
            ChannelInfo& head = app.Channels[size_t(c)];
            head.HeadType = 1;
            head.HeadName = names[c];
            head.HeadSerial = QStringLiteral("; s/n %1").arg(c + 1);
            head.ReadingUnit = QStringLiteral("W");
        }
        app.PwrRtoWorkFile = app.PwrDiffWorkFile = dir.Path("kelvaro.dpw");
        engine.View.Redraw = [] {};
        clock.Set(1000);
    }
    void TearDown() override {
        WorkFile(2, QString());
        platform::setSerialPort(nullptr);
        SetDecimalSeparator(QString());
        ResetAppState();
        ResetLinkState();
    }
    // Start and answer the first request: replies are readings from then on.
    void StartLogging() {
        engine.StartStop();
        Reply("*0 0");
    }
    // A reply one second after the previous one (the read-out is due).
    void Reply(const QString& text) {
        clock.Advance(1);
        engine.PowerLog(0, text + QLatin1Char('\r'));
    }
    int32_t Points() const { return engine.PointsOnShow(); }
    double Average(int direction, int32_t k = 1) const {
        return engine.Store(direction).PowerData[size_t(k)].AvgValue;
    }

    FakeClock clock;
    ScriptedPrompts prompts;
    TempDir dir;
    SentPort port;
    PowerEngine engine;
};

struct RatioTest : DualPowerTest {
    RatioTest() : DualPowerTest(kPowerRatioProfile) {}
};
struct DifferenceTest : DualPowerTest {
    DifferenceTest() : DualPowerTest(kPowerDifferenceProfile) {}
};

TEST_F(RatioTest, halfRepliesPairAcrossRepliesAndEveryReplyIsAnsweredWithSB) {
    StartLogging();
    const struct {
        const char* reply;
        int32_t points;
    } steps[] = {
        {"*1.0E-3 N", 0},      // A waits
        {"*N 2.0E-3", 1},      // ... for the next B: A/B 0.5
        {"*N N", 1},           // nothing
        {"*N 4.0E-3", 1},      // B waits
        {"*N 1.0E-3", 1},      // a newer B replaces it
        {"*5.0E-4 N", 2},      // paired with the newer B: A/B 0.5
        {"*x N", 2},           // A of no number: 0, waits
        {"garbage", 2},        // no marker
        {"*2.0E-3 1.0E-3", 3}  // both: A/B 2
    };
    for (const auto& s : steps) {
        const qsizetype sent = port.Commands().size();
        Reply(s.reply);
        EXPECT_EQ(Points(), s.points) << s.reply;
        EXPECT_EQ(port.Commands().size(), sent + 1) << s.reply;
        EXPECT_EQ(port.Commands().last(), "SB") << s.reply;
    }
    EXPECT_FLOAT_EQ(Average(0, 1), 0.5f);
    EXPECT_FLOAT_EQ(Average(1, 1), 2.0f);
    EXPECT_FLOAT_EQ(Average(0, 2), 0.5f);
    EXPECT_FLOAT_EQ(Average(0, 3), 2.0f);
    EXPECT_FLOAT_EQ(Average(1, 3), 0.5f);
    EXPECT_EQ(engine.Stats(0).Count, 3);
}

TEST_F(RatioTest, readoutShowsOverrangeWithABeepAndLowForTinyRatios) {
    StartLogging();
    const struct {
        const char* reply;
        const char* text;
        int beeps;
    } cases[] = {
        {"*1.0E-3 0", "Overrange", 1},  // B = 0
        {"*4.0E-7 1", "LOW", 0},        // 0.0000004
        {"*2.5E-3 1", "2.50E-3", 0},
        {"*1.0E-3 OVER", "LOW", 0},  // over-range denominator: 0
    };
    for (const auto& c : cases) {
        const int before = prompts.beeps;
        Reply(c.reply);
        EXPECT_EQ(engine.ReadingText.toStdString(), c.text) << c.reply;
        EXPECT_EQ(prompts.beeps - before, c.beeps) << c.reply;
    }
    EXPECT_EQ(engine.Stats(0).Count, 3) << "over range stays out of the statistics";
}

// No average, or one whose inverse no double holds: a beep and no factor.
TEST_F(RatioTest, normalisingWithoutAUsableAverageBeeps) {
    for (const char* reply : {"*N N", "*1E-300 1E10"}) {
        engine.Reset(false);
        StartLogging();
        Reply(reply);
        const int beeps = prompts.beeps;
        engine.ToggleAdjustment();
        EXPECT_EQ(prompts.beeps, beeps + 1) << reply;
        EXPECT_FALSE(engine.Adjusted) << reply;
        EXPECT_EQ(engine.AdjustLabel, "None") << reply;
    }
}

TEST_F(RatioTest, normalisingByTheAverageAndSwitchingDirectionUndoesIt) {
    StartLogging();
    for (const char* r : {"*3 1", "*5 1"}) Reply(r);  // average A/B 4
    engine.ToggleAdjustment();
    EXPECT_EQ(engine.AdjustCaption, "DeNormalize");
    EXPECT_EQ(engine.AdjustLabel, "2.50 E-01");
    EXPECT_DOUBLE_EQ(engine.Scale, 0.25);
    Reply("*4 1");
    EXPECT_EQ(engine.ReadingText, "1.00");
    EXPECT_DOUBLE_EQ(engine.Stats(0).Average(), 4) << "stored ratios are never normalised";

    engine.SetDirection(1);
    EXPECT_EQ(engine.AdjustCaption, "Normalize");
    EXPECT_EQ(engine.AdjustLabel, "None");
    EXPECT_DOUBLE_EQ(engine.Scale, 1);
    EXPECT_DOUBLE_EQ(engine.Stats().Average(), (1 / 3.0 + 1 / 5.0 + 1 / 4.0) / 3);
}

TEST_F(DifferenceTest, readoutOffsetAndUnderrange) {
    StartLogging();
    Reply("*5.0E-3 3.0E-3");
    EXPECT_EQ(engine.ReadingText, "2.0mW");
    const int beeps = prompts.beeps;
    Reply("*5.0E-3 OVER");
    EXPECT_EQ(engine.ReadingText, "Underrange");
    EXPECT_EQ(prompts.beeps, beeps + 1);

    engine.ToggleAdjustment();  // the average A-B, over range left out: 2 mW
    EXPECT_EQ(engine.AdjustCaption, "Undo Offset");
    EXPECT_EQ(engine.AdjustLabel, "2.00mW");
    Reply("*4.0E-3 2.0E-3");
    EXPECT_EQ(engine.ReadingText, "0W");

    engine.SetDirection(1);
    EXPECT_EQ(engine.AdjustLabel, "Zero");
    EXPECT_EQ(engine.AdjustCaption, "Offset");
    EXPECT_DOUBLE_EQ(engine.Shift, 0);
}

// A merged point keeps minus over range out of its average (0.1 s points).
TEST_F(DifferenceTest, minusOverrangeStaysOutOfAMergedPoint) {
    App().Config.PowerDifference.DiffLogTime = 600;
    StartLogging();
    for (const char* r : {"*5.0E-3 3.0E-3", "*5.0E-3 OVER", "*5.0E-3 1.0E-3"}) {
        clock.Advance(-0.98);  // 20 ms apart
        Reply(r);
    }
    ASSERT_EQ(Points(), 1);
    EXPECT_FLOAT_EQ(Average(0), 0.003f);
    EXPECT_EQ(PowerStore::PointValue(engine.Store(0).PowerData[1]), -OverrangeValue);
    EXPECT_EQ(PowerStore::PointValue(engine.Store(1).PowerData[1]), OverrangeValue);
}

QByteArray Field(const QByteArray& value) {
    return value + QByteArray(18 - value.size(), ' ') + '\t';
}
const QByteArray kHeader =
    "Power, W Channel A\t Channel B \t Time, in Seconds \t Head A: 3A; s/n 1\t Head B: 3B; s/n 2\r\n";

// With the working file the channel powers of every used reply; without it
// the two directions of each stored point.
TEST_F(RatioTest, savedFilesHoldChannelPowersOrBothDirections) {
    const struct {
        bool workFile;
        QByteArray data;
    } cases[] = {
        {true, Field("0.001") + Field("0.002") + "0.00\r\n" + Field("0.003") + Field("0") + "1.00\r\n" +
                   Field("0.002") + Field("0.004") + "2.00\r\n"},
        {false, Field("0.5") + Field("2") + "0.00\r\n" + Field("Overrange") + Field("0") + "1.00\r\n" +
                    Field("0.5") + Field("2") + "2.00\r\n"},
    };
    for (const auto& c : cases) {
        App().Config.LogToFile = c.workFile;
        engine.Reset(false);
        StartLogging();
        for (const char* r : {"*1.0E-3 N", "*N 2.0E-3", "*3.0E-3 0", "*2.0E-3 4.0E-3"}) Reply(r);
        engine.StartStop();
        engine.PowerSave(dir.Path("run.dpw"));
        EXPECT_EQ(dir.Read("run.dpw").toStdString(), (kHeader + c.data).toStdString()) << c.workFile;
    }
}

}  // namespace
