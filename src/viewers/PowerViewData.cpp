#include "viewers/PowerViewData.h"

#include "data/Arithmetic.h"
#include "data/DataFileSave.h"
#include "data/FieldBytes.h"
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

// A value field as bytes: a number, or over range when it says so; false
// when only the text rules can tell.
bool BytesValue(std::string_view field, double& value) {
    switch (ReadFieldNumber(field, value)) {
        case FieldRead::Number:
            return true;
        case FieldRead::NotNumber:
            if (field.find("Overrange") == std::string_view::npos) return false;
            value = OverrangeValue;
            return true;
        case FieldRead::AskText:
            break;
    }
    return false;
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
    for (SpanSummary& s : spans_) s.Clear();
    gaps_ = {};
    timesGrow_ = true;
}

bool PowerViewData::AddBytes(std::string_view line) {
    if (line.empty()) return true;
    return combine_ == PowerCombine::Single ? AddSingleBytes(line) : AddDualBytes(line);
}

// As AddSingle and AddDual below; any doubt goes back to them.
bool PowerViewData::AddSingleBytes(std::string_view line) {
    // Our own lines in one pass: a plain value ending at two blanks or at a
    // TAB (with no two blanks after it, which would end the value there),
    // then blanks and a plain time.
    const char *at = line.data(), *const end = at + line.size();
    double value = 0, time = 0;
    if (ReadPlainNumber(at, end, value) && at < end &&
        ((at + 1 < end && at[0] == ' ' && at[1] == ' ') ||
         (at[0] == '\t' && line.find("  ", size_t(at - line.data())) == std::string_view::npos))) {
        while (at < end && (*at == ' ' || *at == '\t')) ++at;
        if (ReadPlainNumber(at, end, time) && TrimBlanks(std::string_view(at, size_t(end - at))).empty()) {
            AddPoint(time, value, 0);
            return true;
        }
    }
    size_t p = line.find("  ");
    if (p == std::string_view::npos) p = line.find('\t');
    if (p == std::string_view::npos) return false;
    if (ReadFieldNumber(line.substr(p), time) != FieldRead::Number) return false;
    if (!BytesValue(line.substr(0, p + 1), value)) return false;
    AddPoint(time, value, 0);
    return true;
}

bool PowerViewData::AddDualBytes(std::string_view line) {
    const size_t t1 = line.find('\t');
    if (t1 == std::string_view::npos) return false;
    const size_t t2 = line.find('\t', t1 + 1);
    if (t2 == std::string_view::npos) return false;
    double a = 0, b = 0, time = 0;
    if (!BytesValue(line.substr(0, t1 + 1), a) || !BytesValue(line.substr(t1 + 1, t2 - t1), b)) return false;
    if (ReadFieldNumber(line.substr(t2 + 1), time) != FieldRead::Number) return false;
    AddPoint(time, a, b);
    return true;
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
    if (times_.Size() > 0 && time < lastTime_) timesGrow_ = false;
    lastTime_ = time;
    times_.Append(time);
    a_.Append(a);
    if (combine_ != PowerCombine::Single) b_.Append(b);
    const int64_t i = times_.Size() - 1;
    if (combine_ == PowerCombine::Single && time != -1) {
        spans_[0].Append(a);
        // The statistics refuse over range (and nothing else a file can hold).
        if (!stats_[0].Add(a)) over_[0] += IsOverrange(std::fabs(a));
        return;
    }
    for (int direction = 0; direction < Directions(); ++direction) {
        double v = 0;
        const bool valued = ValueAt(i, direction, v);
        if (!valued || time == -1) ++gaps_[size_t(direction)];
        spans_[size_t(direction)].Append(valued ? v : 0);
        if (!valued) continue;
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
                                   const std::function<void(const PlottedPoint&)>& plot) const {
    first = std::max<int64_t>(first, 0);
    last = std::min<int64_t>(last, Count() - 1);
    const int64_t n = last - first + 1;
    if (n <= 0) return;
    if (gaps_[size_t(direction & 1)] > 0) return ScanPlotted(first, last, direction, plot);
    const auto value = [this, direction](int64_t i) {
        double v = 0;
        ValueAt(i, direction, v);
        return v;
    };
    const double v0 = value(first);
    plot({times_[first], v0, v0, v0, 0});
    const int64_t step = n / 1000 + 1;
    if (step == 1) {
        for (int64_t i = first + 1; i <= last; ++i) {
            const double v = value(i);
            plot({times_[i], v, v, v, i - first});
        }
        return;
    }
    // Groups of `step` from the first point on; the one still open at the
    // end is not drawn.
    const SpanSummary& spans = spans_[size_t(direction & 1)];
    for (int64_t g = 0; g < (n - 1) / step; ++g) {
        const int64_t a = first + g * step, b = a + step - 1;
        const SpanFigures f = spans.Range(a, b, value);
        plot({times_[b], f.Sum / double(step), f.Min, f.Max, g + 1});
    }
}

void PowerViewData::ScanPlotted(int64_t first, int64_t last, int direction,
                                const std::function<void(const PlottedPoint&)>& plot) const {
    const int64_t step = (last - first + 1) / 1000 + 1;
    int64_t plotted = 0, inGroup = 0;
    double sum = 0, groupTime = 0, low = 0, high = 0;
    for (int64_t i = first; i <= last; ++i) {
        const double t = times_[i];
        double v = 0;
        if (t == -1 || !ValueAt(i, direction, v)) continue;
        if (step == 1) {
            plot({t, v, v, v, plotted++});
            continue;
        }
        if (inGroup == 0) {
            plot({t, v, v, v, plotted++});  // the first point is drawn and opens the first group
        } else if (inGroup < step) {
            ++inGroup;
            sum += v;
            low = std::min(low, v);
            high = std::max(high, v);
            groupTime = t;
            continue;
        } else {
            plot({groupTime, sum / double(inGroup), low, high, plotted++});
        }
        inGroup = 1;
        sum = low = high = v;
        groupTime = t;
    }
}

void PowerViewData::ZoomIndexes(double t1, double t2, int64_t& first, int64_t& last) const {
    const int64_t n = Count();
    const auto at = [this](int64_t i) { return double(float(times_[i])); };
    if (timesGrow_) {
        // The first index at which `past(i)` holds, all later ones holding too.
        const auto search = [n](auto past) {
            int64_t lo = 0, hi = n;
            while (lo < hi) {
                const int64_t mid = lo + (hi - lo) / 2;
                if (past(mid))
                    hi = mid;
                else
                    lo = mid + 1;
            }
            return lo;
        };
        first = std::max<int64_t>(search([&](int64_t i) { return at(i) > t1; }) - 1, 0);
        const int64_t from = search([&](int64_t i) { return at(i) >= t2; });
        last = from < n ? from : n - 1;
        return;
    }
    first = 0;
    for (int64_t i = 0; i < n && at(i) <= t1; ++i) first = i;
    last = n - 1;
    for (int64_t i = n - 1; i >= 0 && at(i) >= t2; --i) last = i;
}

void PowerViewData::ForEachFileLine(const std::function<void(const QString&)>& write) const {
    for (int64_t i = 0; i < Count(); ++i) {
        if (combine_ == PowerCombine::Single)
            write(FormatLogLine(AsSingle(a_[i]), times_[i], true));
        else
            write(FormatDualLogLine(AsSingle(a_[i]), AsSingle(b_[i]), times_[i], true));
    }
}
