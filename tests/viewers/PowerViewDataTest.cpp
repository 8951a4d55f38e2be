#include "data/DataFileSave.h"
#include "data/LimitBars.h"
#include "data/NumberFormat.h"
#include "data/Overrange.h"
#include "state/AppState.h"
#include "support/ProgramState.h"
#include "viewers/PowerViewData.h"
#include "viewers/PowerViewLimits.h"

#include <gtest/gtest.h>
#include <QStringList>
#include <array>
#include <vector>

namespace {

PowerViewData Loaded(PowerCombine combine, const QStringList& lines) {
    PowerViewData d(combine);
    for (const QString& l : lines) d.AddLine(l);
    return d;
}

QString Line(double value, double time) {
    return QString::number(value).leftJustified(18) + "\t" + QString::number(time, 'f', 2);
}

struct Plotted {
    double time, value;
};
std::vector<Plotted> PlotAll(const PowerViewData& d, int direction = 0) {
    std::vector<Plotted> out;
    d.ForEachPlotted(0, d.Count() - 1, direction, [&](const PlottedPoint& p) {
        out.push_back({p.Time, p.Value});
    });
    return out;
}

}  // namespace

class PowerViewDataTest : public ::testing::Test {
protected:
    void SetUp() override {
        FreshProgramState();
        SetDecimalSeparator(".");
    }
    void TearDown() override { SetDecimalSeparator(QString()); }
};

TEST_F(PowerViewDataTest, singleLinesGiveTimesValuesAndStatistics) {
    struct Case {
        const char* name;
        QStringList lines;
        double lastTime, lastValue;
        int64_t valid, over;
    };
    const Case cases[] = {
        {"over range, statistics untouched", {"Overrange         \t12.50"}, 12.5, OverrangeValue, 0, 1},
        {"a value as long as its field ends at the TAB",
         {"0.004             \t2.00", "0.00123456789012345\t9.00"},
         9.0,
         0.00123456789012345,
         2,
         0},
        {"two blanks end a value before any TAB", {"1234E-3  0.5"}, 0.5, 1.234, 1, 0},
        {"comma separator", {"0,25              \t3,50"}, 3.5, 0.25, 1, 0},
        {"Arabic separator", {"0\u066b25              \t3\u066b50"}, 3.5, 0.25, 1, 0},
        {"a channel's field and the rest", {"1.5E-03           \t\t4.00"}, 4.0, 0.0015, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // The same from the file's bytes, the text reading taking what they leave.
        PowerViewData bytes(PowerCombine::Single);
        for (const QString& l : c.lines)
            if (!bytes.AddBytes(l.toUtf8().toStdString())) bytes.AddLine(l);
        const PowerViewData text = Loaded(PowerCombine::Single, c.lines);
        for (const PowerViewData* d : {&text, static_cast<const PowerViewData*>(&bytes)}) {
            ASSERT_EQ(d->Count(), c.lines.size());
            EXPECT_DOUBLE_EQ(d->Time(d->Count() - 1), c.lastTime);
            EXPECT_DOUBLE_EQ(d->ChannelA(d->Count() - 1), c.lastValue);
            EXPECT_EQ(d->Stats(0).Count, c.valid);
            EXPECT_EQ(d->OverCount(0), c.over);
        }
    }
}

TEST_F(PowerViewDataTest, unreadableLinesThrowWithTheirReason) {
    const std::pair<PowerCombine, const char*> lines[] = {
        {PowerCombine::Single, "abc               \t1.00"},
        {PowerCombine::Single, "0.7"},
        {PowerCombine::Single, "0.001             \tnoon"},
        {PowerCombine::Single, "1E999             \t1.00"},
        {PowerCombine::Ratio, "0.001             \t0.002"},
        {PowerCombine::Difference, "0.001\tx\t1.00"},
        {PowerCombine::Single, "0.5mW             \t1.00"},
        {PowerCombine::Ratio, "0.001\t0.002\t1.00 s"},
        {PowerCombine::Ratio, "0.001\t0.002"},
    };
    for (const auto& [combine, line] : lines) {
        PowerViewData d(combine);
        EXPECT_FALSE(d.AddBytes(line)) << "left to the text reading: " << line;
        EXPECT_THROW(d.AddLine(line), DataFileError) << line;
        EXPECT_EQ(d.Count(), 0) << line;
    }
}

TEST_F(PowerViewDataTest, intervalsPlotEveryPointOrGroupAverages) {
    struct Case {
        int points;
        size_t plotted;
        int groupSize;  // 0: every point
    };
    for (const Case c : {Case{999, 999, 0}, Case{1000, 500, 2}, Case{60000, 984, 61}}) {
        SCOPED_TRACE(c.points);
        PowerViewData d(PowerCombine::Single);
        for (int i = 0; i < c.points; ++i) d.AddLine(Line(i, i * 0.5));
        const auto p = PlotAll(d);
        ASSERT_EQ(p.size(), c.plotted);
        EXPECT_DOUBLE_EQ(p[0].value, 0);
        if (c.groupSize == 0) {
            EXPECT_DOUBLE_EQ(p.back().value, c.points - 1);
            continue;
        }
        // Group g holds the points g*size .. g*size + size-1, drawn at the last one's time.
        for (size_t k : {size_t(1), c.plotted - 1}) {
            const double lastOfGroup = double(k) * c.groupSize - 1;
            EXPECT_DOUBLE_EQ(p[k].time, lastOfGroup * 0.5);
            EXPECT_DOUBLE_EQ(p[k].value, lastOfGroup - (c.groupSize - 1) / 2.0);
        }
    }
}

TEST_F(PowerViewDataTest, dualValuesKeepStatisticsForBothDirections) {
    // B over range: A/B gives 0, B/A is over range; both zero gives no result.
    const QStringList lines = {"0.002\t0.001\t0.00", "0.001\t0.004\t1.00", "0.003\tOverrange\t2.00",
                               "0\t0\t3.00"};
    const PowerViewData ratio = Loaded(PowerCombine::Ratio, lines);
    ASSERT_EQ(ratio.Count(), 4);
    EXPECT_EQ(ratio.Stats(0).Count, 3);
    EXPECT_DOUBLE_EQ(ratio.Stats(0).Min, 0);
    EXPECT_DOUBLE_EQ(ratio.Stats(0).Max, 2);
    EXPECT_EQ(ratio.OverCount(0), 0);
    EXPECT_EQ(ratio.Stats(1).Count, 2);
    EXPECT_DOUBLE_EQ(ratio.Stats(1).Max, 4);
    EXPECT_EQ(ratio.OverCount(1), 1);
    EXPECT_EQ(PlotAll(ratio, 1).size(), 3u);  // over range drawn, no result passed over

    const PowerViewData diff = Loaded(PowerCombine::Difference, lines);
    EXPECT_DOUBLE_EQ(diff.Stats(0).Min, -0.003);
    EXPECT_DOUBLE_EQ(diff.Stats(1).Max, 0.003);
    EXPECT_EQ(diff.OverCount(0), 1);
    EXPECT_EQ(diff.OverCount(1), 1);
}

TEST_F(PowerViewDataTest, everyOfTwoMillionLinesIsKept) {
    PowerViewData d(PowerCombine::Single);
    const int n = 2000000;
    for (int i = 0; i < n; ++i)
        d.AddLine(i == n - 1 ? QString("Overrange         \t99999.00") : Line(0.001, i * 0.05));
    ASSERT_EQ(d.Count(), n);
    EXPECT_EQ(d.Stats(0).Count + d.OverCount(0), n);
    int64_t first = 0, last = 0;
    d.ZoomIndexes(99990, 99999.5, first, last);
    EXPECT_EQ(last, n - 1);
    int64_t lines = 0;
    QString lastLine;
    d.ForEachFileLine([&](const QString& l) {
        ++lines;
        lastLine = l;
    });
    EXPECT_EQ(lines, n);
    EXPECT_EQ(lastLine, "Overrange         \t99999.00");
    EXPECT_LE(PlotAll(d).size(), 1001u);
}

TEST_F(PowerViewDataTest, limitsChosenAtLoad) {
    struct Case {
        const char* name;
        ViewLimits (*choose)(double, double);
        double min, max;
        double low, high;
        int16_t scale, unit, exponent;
        float yMin, yMax;
    };
    const Case cases[] = {
        {"0.5 W", PowerLimitsAtLoad, 0, 0.5, 0, 500, 0, 3, 0, 0, 0.5f},
        {"2.5 W", PowerLimitsAtLoad, 0, 2.5, 0, 250, 1, 3, 0, 0, 2.5f},
        {"1500 W", PowerLimitsAtLoad, 0, 1500, 0, 150, 1, 4, 0, 0, 1500},
        {"30000 W", PowerLimitsAtLoad, 0, 30000, 0, 300, 2, 4, 0, 0, 30000},
        {"all zero", PowerLimitsAtLoad, 0, 0, 0, 1, 0, 4, 0, 0, 1},
        {"0.2 .. 0.5 W", PowerLimitsAtLoad, 0.2, 0.5, 200, 500, 0, 3, 0, 0.2f, 0.5f},
        // The bars hold the data and the first chart is what they show.
        {"12.25 .. 12.75 mW", PowerLimitsAtLoad, 0.01225, 0.01275, 122, 128, 2, 2, 0, 0.0122f, 0.0128f},
        {"-2 .. 0.5 mW", DifferenceLimitsAtLoad, -0.002, 0.0005, -200, 50, 1, 2, 0, -0.002f, 0.0005f},
        {"ratio 0.5 .. 2", RatioLimitsAtLoad, 0.5, 2.0, 0, 2, 0, 4, 0, 0, 2},
        {"ratio 5 .. 50", RatioLimitsAtLoad, 5, 50, 0, 5, 0, 4, 1, 0, 50},
        // A maximum that is a power of ten: 10 x 10^-1, not 10 x 10^0.
        {"ratio 0.5 .. 1", RatioLimitsAtLoad, 0.5, 1, 0, 10, 0, 4, -1, 0, 1},
        {"ratio 0.02 .. 0.1", RatioLimitsAtLoad, 0.02, 0.1, 0, 10, 0, 4, -2, 0, 0.1f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ViewLimits v = c.choose(c.min, c.max);
        EXPECT_NEAR(v.Low, c.low, 1e-4);
        EXPECT_NEAR(v.High, c.high, 1e-4);
        if (c.choose != RatioLimitsAtLoad) {
            EXPECT_EQ(v.ScaleExponent, c.scale);
            EXPECT_EQ(v.UnitIndex, c.unit);
        }
        EXPECT_EQ(v.ViewExponent, c.exponent);
        EXPECT_FLOAT_EQ(v.YMin, c.yMin);
        EXPECT_FLOAT_EQ(v.YMax, c.yMax);
    }
}

TEST_F(PowerViewDataTest, applyOrdersTheBarsAboveTheirMinimum) {
    // low, high, bar minimum -> low, high
    for (const auto& c : {std::array{50, 20, 0, 19, 20}, std::array{5, 0, 0, 0, 1},
                          std::array{-999, -999, -999, -999, -998}, std::array{-200, 50, -999, -200, 50}}) {
        const LimitBarPair b = OrderLimitBars(c[0], c[1], c[2]);
        EXPECT_EQ(std::pair(b.Low, b.High), std::pair(c[3], c[4])) << c[0] << " " << c[1];
    }
}
