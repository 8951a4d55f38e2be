// The real program's command line, without a display: help, version, bad
// arguments, and `kelvaro32 stability` on saved files.
#include "EndToEnd.h"

#include <gtest/gtest.h>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace {

QByteArray Field(const QByteArray& text) {
    return text.leftJustified(18, ' ');
}

// 1, 2, .. 16 W at 0 .. 15 s, then an over-range reading and a notes line.
QByteArray RampFile() {
    QByteArray f = "Power, in Watts \t Time, in Seconds \t Head: PM30; s/n 1234\r\n'a note\r\n";
    for (int i = 0; i < 16; ++i)
        f += Field(QByteArray::number(i + 1)) + "\t" + QByteArray::number(i) + ".00\r\n";
    return f + Field("Overrange") + "\t16.00\r\n";
}

// Channel A 2, 0, 2, 0 ..., channel B 1: A - B is +-1 about a mean of 0.
QByteArray DualFile() {
    QByteArray f =
        "Power, W Channel A\t Channel B \t Time, in Seconds \t Head A: X; s/n 1\t Head B: Y; s/n 2\r\n";
    for (int i = 0; i < 32; ++i)
        f += Field(i % 2 ? "0" : "2") + "\t" + Field("1") + "\t" + QByteArray::number(i) + ".00\r\n";
    return f;
}

// The ramp's figures: n = 16, slope 1 W/s, mean 8.5 W, sd = root(n(n+1)/12),
// Allan deviation m / root 2 at m seconds.
TEST(StabilityCommand, PrintsTheFiguresAsAlignedText) {
    TempDir dir;
    dir.Write("ramp.pwr", RampFile());
    const Outcome r = RunHeadless({"stability", dir.Path("ramp.pwr")});
    EXPECT_EQ(0, r.status) << r.err.constData();
    EXPECT_EQ(QByteArray("Readings:                    16\n"
                         "Over range:                  1\n"
                         "Mean:                        8.5 W\n"
                         "Standard deviation:          4.76095 W\n"
                         "Relative standard deviation: 56.0112 %\n"
                         "Peak-to-peak:                176.471 %\n"
                         "Drift:                       3600 W/h\n"
                         "Drift (relative):            42352.9 %/h\n"
                         "Median interval:             1 s\n"
                         "\n"
                         "Allan deviation\n"
                         "tau (s)  deviation (W)  relative\n"
                         "1        0.707107       0.083189\n"
                         "2        1.41421        0.166378\n"
                         "4        2.82843        0.332756\n"),
              r.out);
}

// Each figure under its key, null where there is none; the figures
// themselves are the analysis's. A channel of a two-channel file tells
// itself by its mean (A - B: 0) or spread (B: none).
TEST(StabilityCommand, JsonHoldsEachFigureUnderItsKey) {
    TempDir dir;
    dir.Write("ramp.pwr", RampFile());
    dir.Write("dual.dpw", DualFile());
    QByteArray pulses = "Energy, in Joules \t Head: PE25; s/n 77\r\n";
    for (const char* v : {"0.001", "0.002", "Overrange", "0.003", "Missed", "0.004"})
        pulses += Field(v) + "\t\r\n";
    dir.Write("pulses.nrg", pulses);
    const double sd = std::sqrt(16.0 * 17 / 12), adev = 4 / std::sqrt(2.0), null = NAN;
    const struct {
        QStringList args;
        std::vector<std::pair<const char*, double>> figures;  // key ("allan/index/key" in the list), value
    } cases[] = {
        // clang-format off
        {{"ramp.pwr"}, {{"readings", 16}, {"over_range", 1}, {"mean", 8.5}, {"sd", sd},
                        {"rsd_percent", sd / 8.5 * 100}, {"peak_to_peak_percent", 15 / 8.5 * 100},
                        {"drift_per_hour", 3600}, {"drift_percent_per_hour", 3600 / 8.5 * 100},
                        {"allan/2/tau", 4}, {"allan/2/adev", adev}, {"allan/2/relative", adev / 8.5}}},
        {{"dual.dpw", "--channel", "difference"},
         {{"mean", 0}, {"rsd_percent", null}, {"allan/0/relative", null}}},
        {{"dual.dpw", "--channel", "B"}, {{"mean", 1}, {"sd", 0}}},
        {{"pulses.nrg"}, {{"readings", 4}, {"over_range", 1}, {"missed", 1}, {"mean", 0.0025}}},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const Outcome r =
            RunHeadless(QStringList{"stability", dir.Path(c.args[0])} + c.args.mid(1) << "--json");
        ASSERT_EQ(0, r.status) << r.err.constData();
        const QJsonObject o = QJsonDocument::fromJson(r.out).object();
        EXPECT_TRUE(r.out.endsWith("}\n"));
        EXPECT_EQ(o.contains("allan"), !c.args[0].endsWith(".nrg")) << "pulses have no Allan deviation";
        for (const auto& [key, expected] : c.figures) {
            const QStringList path = QString(key).split('/');
            QJsonValue v = o[path[0]];
            if (path.size() == 3) v = v.toArray()[path[1].toInt()].toObject()[path[2]];
            if (std::isnan(expected)) {
                EXPECT_TRUE(v.isNull()) << key;
            } else {
                EXPECT_NEAR(expected, v.toDouble(NAN), 1e-7 * std::fabs(expected) + 1e-12) << key;
            }
        }
    }
}

TEST(CommandLine, eachInvocationEndsWithItsStatusAndText) {
    TempDir dir;
    dir.Write("ramp.pwr", RampFile());
    dir.Write("dual.dpw", DualFile());
    dir.Write("odd.pwr", "Voltage and current\r\n1\t2\r\n");
    dir.Write("broken.pwr", "Power, in Watts \t Time, in Seconds \t Head: X\r\n1.0  \tnoon\r\n");
    const struct {
        QStringList args;
        int status;
        const char *out, *err;
    } rows[] = {
        {{"--help"}, 0, "Usage: kelvaro32 [options]", ""},
        {{"--help"}, 0, "--port <PATH>", ""},
        {{"--help"}, 0, "Folders in use:\nSettings (kelvaro.cfg, kelvaro.ports): /", ""},
        {{"--version"}, 0, "kelvaro32 3.20\n", ""},
        {{"--frobnicate"}, 2, "", "kelvaro32: Unknown option 'frobnicate'."},
        {{"meter"}, 2, "", "kelvaro32: unexpected argument 'meter'"},
        // The stability figures where the mean is zero: a dash for the relative ones (one row shows
        // the dash, the ramp's text each figure in its row).
        {{"stability", "dual.dpw", "--channel", "difference"},
         0,
         "Relative standard deviation: \u2014\n",
         ""},
        {{"stability", "missing.pwr"}, 1, "", "Data file missing.pwr failed. Operation canceled.\n"},
        {{"stability", "odd.pwr"}, 1, "", "Unknown file format.\n"},
        {{"stability", "broken.pwr"},
         1,
         "",
         "Program internal trap. Notify supplier. Line 2 of broken.pwr cannot be read"},
        {{"stability"}, 2, "", "a data file is needed"},
        {{"stability", "ramp.pwr", "dual.dpw"}, 2, "", "one data file at a time"},
        {{"stability", "dual.dpw", "--channel", "C"}, 2, "", "--channel takes A, B, ratio or difference"},
        {{"stability", "ramp.pwr", "--channel", "B"}, 2, "", "ramp.pwr has no channel 'B'"},
        {{"stability", "ramp.pwr", "--frobnicate"}, 2, "", "Unknown option 'frobnicate'"},
        {{"stability", "--help"}, 0, "Usage: kelvaro32 stability [options] FILE\n", ""},
        {{"stability", "--help"}, 0, "--channel <CHANNEL>", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.args.join(' ').toStdString());
        const Outcome r = RunHeadless(row.args);
        EXPECT_EQ(row.status, r.status);
        EXPECT_TRUE(r.out.contains(row.out)) << r.out.constData();
        EXPECT_TRUE(r.err.contains(row.err)) << r.err.constData();
    }
}

}  // namespace
