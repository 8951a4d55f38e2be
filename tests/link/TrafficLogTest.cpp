#include "LinkHarness.h"

#include <QRegularExpression>

using TrafficLogTest = LinkTest;

TEST_F(TrafficLogTest, rawTrafficSpellsControlCharactersBreaksAfterCrOnlyAndTheRingKeepsTheLast10000Lines) {
    // A CR ends the log line, an LF is spelled out: the port test's saved log.
    const std::pair<QString, QStringList> cases[] = {
        {QString("a") + QChar(7) + "b" + QChar(0) + QChar(31) + " ~", {"starta<7>b<0><31> ~"}},
        {QString(QChar(11)) + QChar(12) + QChar(14), {"start<11><12><14>"}},
        {"x\u00e9", {"startx\u00e9"}}};
    for (const auto& [raw, lines] : cases) {
        TrafficLog(TrafficClear);
        LogLine("start");
        LogTraffic(raw);
        EXPECT_EQ(TrafficLines(), lines) << raw.toStdString();
    }
    TrafficLog(TrafficClear);
    LogLine("start");
    QString expected = "start";
    for (int i = 0; i < 3000; ++i) {
        LogTraffic(QString("*%1\n").arg(i));  // LF-only replies never start a new line
        expected += QString("*%1<LF>").arg(i);
    }
    // They go on marked lines of at most 512 characters.
    const QStringList marked = TrafficLines();
    QString joined;
    for (qsizetype i = 0; i < marked.size(); ++i) {
        EXPECT_LE(marked[i].size(), 512) << i;
        EXPECT_FALSE(marked[i].contains(QRegularExpression("<[A-Z0-9]*$"))) << marked[i].toStdString();
        EXPECT_EQ(marked[i].startsWith("<...>"), i > 0) << i;  // continuations are marked
        joined += marked[i].mid(i > 0 ? 5 : 0);
    }
    EXPECT_EQ(joined, expected);  // nothing lost

    // The ring keeps the last 10000 lines, oldest first: written, kept, oldest kept.
    const std::tuple<int, int, QString> ring[] = {
        {9999, 9999, "L1"}, {10000, 10000, "L1"}, {10001, 10000, "L2"}, {25000, 10000, "L15001"}};
    for (const auto& [written, kept, first] : ring) {
        TrafficLog(TrafficClear);
        for (int i = 1; i <= written; ++i) LogLine(QString("L%1").arg(i));
        const QStringList lines = TrafficLines();
        EXPECT_EQ(std::tuple(lines.size(), lines.value(0), lines.last()),
                  std::tuple(kept, first, QString("L%1").arg(written)));
    }
    TrafficLog(TrafficSave);
    const QList<QByteArray> lines = dir.Read("rs232.buf").split('\n');
    // The last line end leaves an empty tail.
    EXPECT_EQ(std::tuple(lines.size(), lines.first(), lines.value(9999)),
              std::tuple(10001, "L15001\r", "L25000\r"));
}
