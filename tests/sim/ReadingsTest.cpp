#include "SimTestUtil.h"

#include <gtest/gtest.h>

using sim::Meter;
using sim::Model;

namespace {

sim::HeadSpec Reading(int type, double base, double noise = 0, int overEvery = 0, double rate = 10) {
    sim::HeadSpec h = Head(type);
    h.reading.base = base;
    h.reading.noise = noise;
    h.reading.overEvery = overEvery;
    h.reading.pulseRate = rate;
    return h;
}

// The reply text as the program reads it: after "*", as a number.
double ValueOf(const QString& reply) {
    return reply.mid(reply.indexOf('*') + 1).toDouble();
}

// A command sent at a given time through the line, its reply read back.
QString AskAt(Meter& m, const QString& command, double now) {
    m.Receive(("$" + command + "\r").toLatin1(), now, m.Config().baud);
    QByteArray r = m.Transmit(m.NextTransmitTime());
    r.chop(2);
    return QString::fromLatin1(r);
}

}  // namespace

TEST(Readings, powerReadingsCarryTheBaseValueWithOverRangeEveryNth) {
    Meter m(Config(Model::Talon, Reading(1, 1.234e-3, 0, 3)));
    ASSERT_EQ(Ask(m, "FP"), "*");
    QStringList replies;
    for (int i = 0; i < 6; ++i) replies << Ask(m, "SP");
    EXPECT_EQ(replies,
              QStringList({"*1.234E-03", "*1.234E-03", "*OVER", "*1.234E-03", "*1.234E-03", "*OVER"}));
}

TEST(Readings, noiseStaysWithinItsSpreadAndVaries) {
    Meter m(Config(Model::Talon2, Reading(1, 2.0, 0.1)));
    double lo = 1e9, hi = -1e9;
    for (int i = 0; i < 500; ++i) {
        double v = ValueOf(Ask(m, "SP"));
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
    EXPECT_GE(lo, 1.8 - 1e-3);
    EXPECT_LE(hi, 2.2 + 1e-3);
    EXPECT_GT(hi - lo, 0.2);  // spread actually used
}

TEST(Readings, energyCycleFlagsEachPulseOnceAndReadsIt) {
    sim::HeadSpec h = Reading(1, 5e-3, 0, 0, 10);  // a pulse every 0.1 s
    h.reading.readyDelay = 0.05;
    Meter m(Config(Model::MeridelOne, h));
    ASSERT_EQ(AskAt(m, "FE", 100.0), "*");
    EXPECT_EQ(AskAt(m, "EF", 100.05), "*0");
    EXPECT_EQ(AskAt(m, "SE", 100.05), "*");  // nothing measured yet: no value
    EXPECT_EQ(AskAt(m, "EF", 100.15), "*1");
    EXPECT_EQ(AskAt(m, "SE", 100.15), "*5.000E-03");
    EXPECT_EQ(AskAt(m, "EF", 100.16), "*0");  // that pulse was read
    EXPECT_EQ(AskAt(m, "ER", 100.17), "*0");  // head settling after the pulse
    EXPECT_EQ(AskAt(m, "ER", 100.21), "*1");
    EXPECT_EQ(AskAt(m, "EF", 100.21), "*1");
}

TEST(Readings, energyWithoutPulseRateNeverFlagsAPulse) {
    Meter m(Config(Model::Sirka, Reading(2, 1e-3, 0, 0, 0)));
    AskAt(m, "FE", 10);
    EXPECT_EQ(AskAt(m, "EF", 1000), "*0");
    EXPECT_EQ(AskAt(m, "SE", 1000), "*");
}

TEST(Readings, bothChannelsReplyMarksChannelsWithoutNewValueN) {
    struct Case {
        QString mode;
        sim::HeadSpec a, b;
        double at;
        QString reply;
    } cases[] = {
        {"FC 3 0 0", Reading(1, 1e-3), Reading(1, 2e-3), 1.0, "*1.000E-03 2.000E-03"},
        {"FC 5 0 0", Reading(1, 1e-3), Head(0), 1.0, "*1.000E-03 N"},
        {"FC 3 1 1", Reading(2, 1e-3, 0, 0, 10), Reading(2, 2e-3, 0, 0, 4), 0.15, "*1.000E-03 N"},
        {"FC 3 1 1", Reading(2, 1e-3, 0, 0, 10), Reading(2, 2e-3, 0, 0, 4), 0.05, "*N N"},
        {"FC 3 1 1", Reading(2, 1e-3, 0, 0, 10), Reading(2, 2e-3, 0, 0, 4), 0.3, "*1.000E-03 2.000E-03"},
        {"FC 3 0 0", Reading(1, 1e-3, 0, 1), Reading(1, 2e-3), 1.0, "*OVER 2.000E-03"},
    };
    for (const Case& c : cases) {
        Meter m(Config(Model::MeridelTwo, c.a, c.b));
        ASSERT_EQ(AskAt(m, c.mode, 0.0), "*");
        EXPECT_EQ(AskAt(m, "SB", c.at), c.reply) << c.mode.toStdString() << " at " << c.at;
    }
}

TEST(Readings, energyRatioTokensGoBackToNAfterTheyWereRead) {
    Meter m(Config(Model::MeridelTwo, Reading(2, 1e-3, 0, 0, 10), Reading(2, 2e-3, 0, 0, 10)));
    AskAt(m, "FC 3 1 1", 0.0);
    EXPECT_EQ(AskAt(m, "SB", 0.1), "*1.000E-03 2.000E-03");
    EXPECT_EQ(AskAt(m, "SB", 0.12), "*N N");
}

TEST(Readings, modeAndReadingCommandsOnModelsThatLackThem) {
    struct Case {
        Model model;
        QString command;
        QString reply;
    } cases[] = {
        {Model::Talon, "SB", "?"},
        {Model::MeridelOne, "FC 3 0 0", "?"},
        {Model::MeridelTwo, "FC 4 0 0", "?"},
        {Model::Talon2, "FE S", "*"},
        {Model::Talon2, "FE A", "*"},
        {Model::Talon2, "FE R", "*"},
        {Model::Talon2, "FE X", "?"},
        {Model::Talon2, "FP 1", "?"},
        {Model::Talon2, "MD", "*"},
        {Model::Talon2, "ZZ", "?"},
        {Model::KorvenTH, "LI", "?"},
        {Model::KorvenPE, "LF  0", "?"},
    };
    for (const Case& c : cases) {
        Meter m(Config(c.model));
        EXPECT_EQ(Ask(m, c.command), c.reply) << static_cast<int>(c.model) << " " << c.command.toStdString();
    }
}

TEST(Readings, refusalsAnswerQuestionMarkByWordOrWholeCommand) {
    sim::MeterConfig cfg = Config(Model::MeridelTwo);
    cfg.refused = {"HT", "CH B"};
    Meter m(cfg);
    EXPECT_EQ(Ask(m, "HT"), "?");
    EXPECT_EQ(Ask(m, "CH B"), "?");
    EXPECT_EQ(Ask(m, "CH  b"), "?");  // as the meter reads it
    EXPECT_EQ(Ask(m, "CH A"), "*A");
    EXPECT_EQ(Ask(m, "SP"), "*1.234E-03");
}

TEST(Readings, strictModesRefuseReadingsOutsideTheirMode) {
    sim::MeterConfig cfg = Config(Model::MeridelTwo, Head(1), Head(1));
    cfg.strictModes = true;
    Meter m(cfg);
    EXPECT_EQ(Ask(m, "SP"), "?");
    EXPECT_EQ(Ask(m, "FP"), "*");
    EXPECT_EQ(Ask(m, "SP"), "*1.234E-03");
    EXPECT_EQ(Ask(m, "SE"), "?");
    EXPECT_EQ(Ask(m, "SB"), "?");
    EXPECT_EQ(Ask(m, "FC 5 0 0"), "*");
    EXPECT_EQ(Ask(m, "SB"), "*1.234E-03 1.234E-03");
}

TEST(Readings, noHeadGivesNoReading) {
    Meter m(Config(Model::Talon, Head(0)));
    Ask(m, "FP");
    EXPECT_EQ(Ask(m, "SP"), "?");
    EXPECT_EQ(Ask(m, "SE"), "?");
}
