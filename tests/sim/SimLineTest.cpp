#include "SimTestUtil.h"

#include <cmath>

using sim::Meter;

namespace {

// Everything the meter sends, one Transmit per due time.
QList<QByteArray> Drain(Meter& m) {
    QList<QByteArray> chunks;
    for (double t = m.NextTransmitTime(); !std::isinf(t); t = m.NextTransmitTime())
        chunks << m.Transmit(t, 19200);
    return chunks;
}

}  // namespace

// The in-memory port built on this timing, a silent meter and the noise at
// a wrong speed are shown by the link's tests, which run on them.
TEST(SimLine, replyIsDueAfterDelayPlusTenBitsPerCharacter) {
    for (auto [baud, delay] : {std::pair{19200, 0.0}, {9600, 0.0}, {300, 0.0}, {19200, 0.25}}) {
        sim::MeterConfig cfg = Config(QString("--model meridel1 --baud %1 --delay %2").arg(baud).arg(delay));
        Meter m(cfg);
        m.Receive("$VE\r", 50.0, baud);
        const double due = 50.0 + delay + 9 * 10.0 / baud;  // "*QZ2.45" CR LF
        EXPECT_NEAR(m.NextTransmitTime(), due, 1e-9) << baud;
        EXPECT_TRUE(m.Transmit(due - 1e-4, baud).isEmpty());
        EXPECT_EQ(m.Transmit(due, baud), QByteArray("*QZ2.45\r\n"));
        // Heard at another speed (the probe moved on), the reply is noise, never a line.
        m.Receive("$VE\r", 60.0, baud);
        const QByteArray heard = m.Transmit(61.0, baud == 300 ? 1200 : 300);
        EXPECT_TRUE(heard.size() == 9 && !heard.contains('\n') && !heard.contains('\r')) << baud;
    }
    Meter instant(Config("--instant --delay 0.01"));  // benchmarks: no character time
    instant.Receive("$SP\r$SP\r", 5.0, 19200);
    EXPECT_DOUBLE_EQ(instant.NextTransmitTime(), 5.01);
    EXPECT_EQ(instant.Transmit(5.01, 19200), QByteArray("*1.234E-03\r\n*1.234E-03\r\n"));
}

TEST(SimLine, commandsAreAnsweredOnlyWhenWholeAndAtTheMetersSpeed) {
    Meter m(Config("--model talon"));
    m.Receive("$V", 1.0, 19200);
    EXPECT_TRUE(std::isinf(m.NextTransmitTime()));
    m.Receive("E\r$S", 1.1, 19200);
    m.Receive("P\r", 1.2, 19200);
    EXPECT_EQ(Drain(m).join(), QByteArray("*329\r\n*1.234E-03\r\n"));
    // A speed change tears the command; an overlong line is refused; both
    // leave the next command working.
    m.Receive("$V", 2.0, 19200);
    m.Receive("E", 2.0, 9600);
    Drain(m);
    m.Receive(QByteArray(100000, 'x'), 3.0, 19200);
    m.Receive("\r$VE\r", 3.0, 19200);
    EXPECT_EQ(Drain(m).join(), QByteArray("?\r\n*329\r\n"));
    EXPECT_EQ(m.CommandsReceived(), QStringList({"VE", "SP", "VE"}));
}

TEST(SimLine, faultsSplitAndGarbage) {
    for (int chunks : {2, 3, 9, 50}) {
        Meter m(Config(QString("--model meridel2 --split %1").arg(chunks)));
        m.Receive("$VE\r", 0.0, 19200);
        const QList<QByteArray> parts = Drain(m);
        EXPECT_EQ(parts.size(), std::min(chunks, 9)) << chunks;
        EXPECT_EQ(parts.join(), QByteArray("*QZ2.45\r\n")) << chunks;
    }
    Meter garbage(Config("--garbage"));
    garbage.Receive("$VE\r", 0.0, 19200);
    const QByteArray out = Drain(garbage).join();
    ASSERT_FALSE(out.isEmpty());
    for (char c : out) EXPECT_GE(quint8(c), 0x80);  // no line end, no letter, no "*"
}
