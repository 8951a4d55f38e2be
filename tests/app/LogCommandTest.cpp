// `kelvaro32 log` in its own process with no display, on the simulator over
// a pseudo-terminal: each mode's data file with the meter's readings, JSON
// lines, and the exit statuses (Ctrl+C half way: the replug test's run).

#include "EndToEnd.h"
#include "support/DiskFull.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace {

TEST(LogCommand, writesEachModesFileWithTheReadingsAsTheMeterSentThem) {
    const struct {
        QStringList simulator, args;
        const char *poll, *file, *header;
        size_t least;  // lines in 3 s at the very least
    } rows[] = {
        // clang-format off
        {kScatteringThermopile, {}, "SP", "-", "Power, in Watts \t Time, in Seconds \t Head: XLP12; s/n4711", 100},
        {ScatteringHead("talon2", "type=2,name=PE25,rate=20"), {"--mode", "energy"}, "SE", "run.nrg",
         "Energy, in Joules \t Head: PE25; s/n4711", 30},
        // Two pyroelectric heads, B's pulse a little after A's.
        {{"--model", "meridel2", "--head-a", "type=2,name=PE25,serial=4711,rate=20,noise=0.2",
          "--head-b", "type=2,name=PE10,serial=815,rate=20,delay=0.025,noise=0.2", "--exit-when-idle", "30"},
         {"--mode", "energy-ratio"}, "SB", "run.dnr",
         "Energy, J Channel A\t Channel B \t Head A: PE25; s/n4711\t Head B: PE10; s/n815", 30},
        // clang-format on
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.file);
        Simulator sim(row.simulator);
        TempDir dir;
        const Outcome r =
            RunHeadless(QStringList{"log", "--port", sim.path, "--for", "3s", "--out", row.file} + row.args);
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
        EXPECT_FALSE(r.err.contains("\033[K")) << "progress shown only on a terminal";
        const bool power = row.poll == QString("SP"), dual = row.poll == QString("SB");
        // `--out -`: the file streamed to standard output as it grows
        const auto [header, data] = ReadDataFile(power ? r.out : dir.Read(row.file), power, dual);
        EXPECT_EQ(header, row.header);
        ASSERT_GE(data.size(), row.least);
        // The pulses each energy engine keeps of the meter's replies are pinned by its own tests;
        // here they came through the mode the command line named.
        if (power) {
            EXPECT_GE(data.back().time, 3.0) << "the run lasts its log time";
            ExpectSentAcrossReturns(data, {Replies(dir.Read("rs232.buf"), "SP")}, 1);
        }
    }
}

// Each reading a JSON line, here a power ratio given with its two channels (a
// power value as the meter sent it: the control socket's stream).
TEST(LogCommand, jsonLinesCarryEachRatioWithItsChannels) {
    Simulator sim({"--model", "meridel2", "--head-a", "type=1,name=XLP12,serial=1,value=0.0125,noise=0.2",
                   "--head-b", "type=1,name=XLP12,serial=2,value=0.01,noise=0.2"});
    TempDir dir;
    const Outcome r =
        RunHeadless({"log", "--port", sim.path, "--count", "25", "--jsonl", "--mode", "power-ratio"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QList<QByteArray> lines = r.out.split('\n');
    ASSERT_EQ(lines.size(), 26);
    double before = 0;
    for (int i = 0; i < 25; ++i) {
        const QJsonObject o = QJsonDocument::fromJson(lines[i]).object();
        const double value = o["value"].toDouble(), t = o["t"].toDouble(-1);
        EXPECT_EQ(o["unit"].toString() + o["channel"].toString() + o["channel_unit"].toString(), "bothW");
        EXPECT_NEAR(value, o["a"].toDouble() / o["b"].toDouble(), 1e-9 * value) << "reading " << i + 1;
        EXPECT_TRUE(i == 0 ? t == 0 : t >= before) << "reading " << i + 1;
        before = t;
    }
}

TEST(LogCommand, badCommandLinesMissingMetersAndAFullDiskEndWithTheirStatus) {
    Simulator sim(kScatteringThermopile);
    TempDir dir;
    const DiskFullAfter full(4096);  // for every run: only the data file grows that far
    const QString missing = dir.Path("ttyUSB9");
    const struct {
        QStringList args;
        int status;
        QString out, err;
    } rows[] = {
        {{"--help"}, 0, "Usage: kelvaro32 log [options]", ""},
        {{"--frobnicate"}, 2, "", "kelvaro32 log: Unknown option 'frobnicate'."},
        {{"--mode", "laser"}, 2, "", "--mode takes power, energy"},
        {{"--for", "10x"}, 2, "", "--for takes a duration"},
        {{"--for", "10s", "--count", "5"}, 2, "", "--for or --count, not both"},
        {{"--count", "0"}, 2, "", "--count takes a number"},
        {{"--out", "a.pwr", "--jsonl"}, 2, "", "--out or --jsonl, not both"},
        {{"--mode", "power-ratio", "--channel", "B"}, 2, "", "--channel is for power"},
        {{"--time-stamps"}, 2, "", "--time-stamps is for the energy modes"},
        {{"--port", missing, "--count", "5"},
         3,
         "",
         "Can not communicate with the instrument\n\nThe device " + missing + " does not exist"},
        // A data file that stops growing half way ends the run failed, not on in memory.
        {{"--port", sim.path, "--for", "3s", "--out", "run.pwr"}, 1, "", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.args.join(' ').toStdString());
        const Outcome r = RunHeadless(QStringList{"log"} + row.args);
        EXPECT_EQ(r.status, row.status);
        EXPECT_TRUE(r.out.contains(row.out.toUtf8()));
        EXPECT_TRUE(r.err.contains(row.err.toUtf8()));
    }
}

}  // namespace
