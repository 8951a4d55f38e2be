#include "viewers/PowerViewData.h"

#include "data/Arithmetic.h"
#include "data/DataFileSave.h"
#include "data/LogLines.h"
#include "data/Overrange.h"
#include "data/PcFileFormat.h"
#include "viewers/ViewerValues.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace {

double FieldValue(const QString& field, const char* what) {
    return field.contains(QStringLiteral("Overrange")) ? OverrangeValue : FieldNumber(field, what);
}

}  // namespace

float AsSingle(double v) {
    return float(std::clamp(v, double(-FLT_MAX), double(FLT_MAX)));
}

void PowerViewData::Clear() {
    times_.Clear();
    a_.Clear();
    b_.Clear();
    stats_ = {};
    over_ = {};
}

void PowerViewData::AddLine(const QString& line) {
    if (line.isEmpty()) return;
    if (combine_ == PowerCombine::Single)
        AddSingle(line);
    else
        AddDual(line);
}

void PowerViewData::AddSingle(const QString& line) {
    // The value ends at the first two blanks (the padded field, or the
    // meter log's two blanks before the time); a value as long as its field
    // has none and ends at the TAB.
    qsizetype p = line.indexOf(QStringLiteral("  "));
    if (p < 0) p = line.indexOf(QLatin1Char('\t'));
    if (p < 0) throw DataFileError(QStringLiteral("no value and time in \"%1\"").arg(line.left(40)));
    const double time = FieldNumber(line.mid(p), "time");
    AddPoint(time, FieldValue(line.left(p + 1), "value"), 0);
}

void PowerViewData::AddDual(const QString& line) {
    QString first, second, rest;
    SplitTabFields(line, first, second, rest);
    if (!second.endsWith(QLatin1Char('\t'))) throw DataFileError(QStringLiteral("fewer than three fields"));
    const double a = FieldValue(first, "channel A");
    const double b = FieldValue(second, "channel B");
    AddPoint(FieldNumber(rest, "time"), a, b);
}

void PowerViewData::AddPoint(double time, double a, double b) {
    times_.Append(time);
    a_.Append(a);
    if (combine_ != PowerCombine::Single) b_.Append(b);
    const int64_t i = times_.Size() - 1;
    for (int direction = 0; direction < (combine_ == PowerCombine::Single ? 1 : 2); ++direction) {
        double v = 0;
        if (!ValueAt(i, direction, v)) continue;
        if (IsOverrange(std::fabs(v)))
            ++over_[size_t(direction)];
        else
            stats_[size_t(direction)].Add(v);
    }
}

bool PowerViewData::ValueAt(int64_t i, int direction, double& value) const {
    switch (combine_) {
        case PowerCombine::Single:
            value = a_[i];
            return true;
        case PowerCombine::Ratio:
            return RatioOf(direction, 1.0, a_[i], b_[i], value);
        case PowerCombine::Difference:
            return DifferenceOf(direction, 0.0, a_[i], b_[i], value);
    }
    return false;
}

void PowerViewData::ForEachPlotted(int64_t first, int64_t last, int direction,
                                   const std::function<void(double, double, int64_t)>& plot) const {
    first = std::max<int64_t>(first, 0);
    last = std::min<int64_t>(last, Count() - 1);
    const int64_t n = last - first + 1;
    if (n <= 0) return;
    const int64_t step = n / 1000 + 1;
    int64_t plotted = 0, inGroup = 0;
    double sum = 0, groupTime = 0;
    for (int64_t i = first; i <= last; ++i) {
        const double t = times_[i];
        double v = 0;
        if (t == -1 || !ValueAt(i, direction, v)) continue;
        if (step == 1) {
            plot(t, v, plotted++);
            continue;
        }
        if (inGroup == 0) {
            plot(t, v, plotted++);  // the first point is drawn and opens the first group
        } else if (inGroup < step) {
            ++inGroup;
            sum += v;
            groupTime = t;
            continue;
        } else {
            plot(groupTime, sum / double(inGroup), plotted++);
        }
        inGroup = 1;
        sum = v;
        groupTime = t;
    }
}

void PowerViewData::ZoomIndexes(double t1, double t2, int64_t& first, int64_t& last) const {
    const int64_t n = Count();
    first = 0;
    for (int64_t i = 0; i < n && double(float(times_[i])) <= t1; ++i) first = i;
    last = n - 1;
    for (int64_t i = n - 1; i >= 0 && double(float(times_[i])) >= t2; --i) last = i;
}

void PowerViewData::ForEachFileLine(const std::function<void(const QString&)>& write) const {
    for (int64_t i = 0; i < Count(); ++i) {
        if (combine_ == PowerCombine::Single)
            write(FormatLogLine(AsSingle(a_[i]), times_[i], true));
        else
            write(FormatDualLogLine(AsSingle(a_[i]), AsSingle(b_[i]), times_[i], true));
    }
}
