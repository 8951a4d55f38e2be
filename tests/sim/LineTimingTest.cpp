#include "SimTestUtil.h"

#include <gtest/gtest.h>

#include <cmath>

using sim::Meter;
using sim::Model;

namespace {

// Collects everything the meter sends, one Transmit per due time.
QList<QByteArray> Drain(Meter& m) {
    QList<QByteArray> chunks;
    for (double t = m.NextTransmitTime(); !std::isinf(t); t = m.NextTransmitTime()) chunks << m.Transmit(t);
    return chunks;
}

}  // namespace

TEST(LineTiming, replyIsDueAfterDelayPlusTenBitsPerCharacter) {
    struct Case {
        int baud;
        double delay;
    } cases[] = {{19200, 0.0}, {9600, 0.0}, {300, 0.0}, {19200, 0.25}};
    for (const Case& c : cases) {
        sim::MeterConfig cfg = Config(Model::MeridelOne);
        cfg.baud = c.baud;
        cfg.faults.delay = c.delay;
        Meter m(cfg);
        m.Receive("$VE\r", 50.0, c.baud);
        double due = 50.0 + c.delay + 9 * 10.0 / c.baud;  // "*QZ2.45" CR LF
        EXPECT_NEAR(m.NextTransmitTime(), due, 1e-9) << c.baud;
        EXPECT_TRUE(m.Transmit(due - 1e-4).isEmpty());
        EXPECT_EQ(m.Transmit(due), QByteArray("*QZ2.45\r\n"));
        EXPECT_TRUE(std::isinf(m.NextTransmitTime()));
    }
}

TEST(LineTiming, withoutLineTimingRepliesAreDueAtOnceAfterTheDelay) {
    sim::MeterConfig cfg = Config(Model::Talon);
    cfg.lineTiming = false;
    cfg.faults.delay = 0.01;
    Meter m(cfg);
    m.Receive("$SP\r$SP\r", 5.0, 19200);
    EXPECT_DOUBLE_EQ(m.NextTransmitTime(), 5.01);
    EXPECT_EQ(m.Transmit(5.01), QByteArray("*1.234E-03\r\n*1.234E-03\r\n"));
}

TEST(LineTiming, commandSplitOverWritesIsAnsweredOnceComplete) {
    Meter m(Config(Model::Talon));
    m.Receive("$V", 1.0, 19200);
    EXPECT_TRUE(std::isinf(m.NextTransmitTime()));
    m.Receive("E\r$S", 1.1, 19200);
    m.Receive("P\r", 1.2, 19200);
    QByteArray all = m.Transmit(10.0);
    EXPECT_EQ(all, QByteArray("*329\r\n*1.234E-03\r\n"));
    EXPECT_EQ(m.CommandsReceived(), QStringList({"VE", "SP"}));
}

TEST(LineTiming, splitRepliesReassembleToTheSameBytes) {
    for (int chunks : {1, 2, 3, 9, 50}) {
        sim::MeterConfig cfg = Config(Model::MeridelTwo);
        cfg.faults.splitChunks = chunks;
        Meter m(cfg);
        m.Receive("$VE\r", 0.0, 19200);
        QList<QByteArray> parts = Drain(m);
        EXPECT_EQ(parts.size(), std::min(chunks, 9)) << chunks;
        EXPECT_EQ(parts.join(), QByteArray("*QZ2.45\r\n")) << chunks;
        for (int i = 0; i + 1 < parts.size(); ++i) EXPECT_FALSE(parts[i].endsWith('\n'));
    }
}

TEST(LineTiming, wrongHostSpeedGetsNoiseWithoutLineEndsOrLetters) {
    for (int hostBaud : {9600, 4800, 1200, 300}) {
        Meter m(Config(Model::MeridelOne));
        m.Receive("$VE\r", 0.0, hostBaud);
        QByteArray noise = Drain(m).join();
        EXPECT_FALSE(noise.isEmpty());
        for (char c : noise) EXPECT_GE(quint8(c), 0x80) << hostBaud;
        EXPECT_TRUE(m.CommandsReceived().isEmpty());
    }
}

TEST(LineTiming, speedChangeMidCommandLosesThatCommandOnly) {
    Meter m(Config(Model::Talon));
    m.Receive("$V", 0.0, 19200);
    m.Receive("E", 0.0, 9600);
    Drain(m);
    m.Receive("\r$VE\r", 1.0, 19200);
    EXPECT_EQ(Drain(m).join(), QByteArray("*329\r\n"));  // the torn line is gone, not answered
}

TEST(LineTiming, faultsSilenceAndGarbage) {
    sim::MeterConfig silent = Config(Model::Talon);
    silent.faults.silent = true;
    Meter s(silent);
    s.Receive("$VE\r", 0.0, 19200);
    s.Receive("$VE\r", 0.0, 9600);
    EXPECT_TRUE(std::isinf(s.NextTransmitTime()));
    EXPECT_EQ(s.CommandsReceived(), QStringList({"VE"}));

    sim::MeterConfig garbage = Config(Model::Talon);
    garbage.faults.garbage = true;
    Meter g(garbage);
    g.Receive("$VE\r", 0.0, 19200);
    QByteArray out = Drain(g).join();
    EXPECT_EQ(out.size(), 6);
    EXPECT_FALSE(out.contains('\n'));
    EXPECT_FALSE(out.contains('*'));
}

TEST(LineTiming, overlongLineIsDroppedAndTheNextCommandWorks) {
    Meter m(Config(Model::Talon));
    m.Receive(QByteArray(100000, 'x'), 0.0, 19200);
    m.Receive("\r$VE\r", 0.0, 19200);
    EXPECT_EQ(Drain(m).join(), QByteArray("?\r\n*329\r\n"));
}
