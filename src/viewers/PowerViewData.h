#pragma once

#include "data/SpanSummary.h"
#include "data/Statistics.h"

#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

// The record a power viewer holds: every line of a single-channel power file
// (time, value) or of a dual-channel one (time, channel A, channel B), with
// statistics of the shown value for both directions, so that a change of
// direction needs no reload. No cut at any line count.

// Doubles appended in blocks, so that millions of points never need one
// large reallocation (and never twice the memory while it copies).
class PointColumn {
public:
    void Append(double v) {
        if (left_ == 0) {
            // Not zeroed first: every slot is written before it is read.
            blocks_.emplace_back(new double[kBlock]);
            next_ = blocks_.back().get();
            left_ = kBlock;
        }
        *next_++ = v;
        --left_;
        ++size_;
    }
    double operator[](int64_t i) const { return blocks_[size_t(i / kBlock)][size_t(i % kBlock)]; }
    int64_t Size() const { return size_; }
    void Clear() {
        blocks_.clear();
        size_ = 0;
        left_ = 0;
    }

private:
    static constexpr int64_t kBlock = 65536;
    std::vector<std::unique_ptr<double[]>> blocks_;
    int64_t size_ = 0;
    double* next_ = nullptr;  // the next free slot of the last block
    int64_t left_ = 0;        // free slots after it
};

// How a viewer makes its shown value: the single channel, or the ratio or
// the difference of the two channels in the chosen direction.
enum class PowerCombine { Single, Ratio, Difference };

// One plotted point of an interval: a point of its own, or a group of
// points drawn as their average, with the least and greatest of them.
struct PlottedPoint {
    double Time = 0;
    double Value = 0;
    double Low = 0, High = 0;  // both Value for a point of its own
    int64_t Index = 0;         // counts the plotted points from 0
};

class PowerViewData {
public:
    explicit PowerViewData(PowerCombine combine) : combine_(combine) {}

    void Clear();
    // One data line of the file kind; an empty line is passed over. Throws
    // DataFileError with the reason when a number cannot be read.
    void AddLine(const QString& line);
    // The same line as the file's bytes, read without a QString. False when
    // it needs the text rules (a field that is not a plain number, a line
    // without its fields, bytes beyond ASCII): nothing is added then, and
    // AddLine takes it (and throws with the reason).
    bool AddBytes(std::string_view line);

    int64_t Count() const { return times_.Size(); }
    double Time(int64_t i) const { return times_[i]; }
    double ChannelA(int64_t i) const { return a_[i]; }
    double ChannelB(int64_t i) const { return b_[i]; }
    // The shown value of point i in `direction` (0: A/B or A-B, 1: B/A or
    // B-A); false when the two channels give no result (both over range,
    // or a ratio of two zeros).
    bool ValueAt(int64_t i, int direction, double& value) const;

    const RunningStats& Stats(int direction) const { return stats_[size_t(direction & 1)]; }
    int64_t OverCount(int direction) const { return over_[size_t(direction & 1)]; }

    // The points drawn for the interval first..last: every point of fewer
    // than 1000; otherwise the first point, then averages of groups of
    // n / 1000 + 1 points at the time of each group's last point (the group
    // still open at the end is not drawn). Points without a value and
    // points at time -1 are passed over. A record without such points is
    // grouped from sums kept at load, not point by point.
    void ForEachPlotted(int64_t first, int64_t last, int direction,
                        const std::function<void(const PlottedPoint&)>& plot) const;

    // The zoom interval for two times t1 <= t2: the last point at or before
    // t1 scanning up from the start, the last point at or after t2 scanning
    // down from the end (a search in halves while the times only grow).
    void ZoomIndexes(double t1, double t2, int64_t& first, int64_t& last) const;

    // The data lines a re-save writes, one per stored point.
    void ForEachFileLine(const std::function<void(const QString&)>& write) const;

private:
    void AddSingle(const QString& line);
    void AddDual(const QString& line);
    bool AddSingleBytes(std::string_view line);
    bool AddDualBytes(std::string_view line);
    void AddPoint(double time, double a, double b);
    void ScanPlotted(int64_t first, int64_t last, int direction,
                     const std::function<void(const PlottedPoint&)>& plot) const;
    int Directions() const { return combine_ == PowerCombine::Single ? 1 : 2; }

    PowerCombine combine_;
    PointColumn times_, a_, b_;
    std::array<RunningStats, 2> stats_;
    std::array<int64_t, 2> over_{};
    // Per direction: figures of the values for the grouped drawing, and the
    // points without a value (time -1 or no result), which the grouping
    // passes over and the sums cannot.
    std::array<SpanSummary, 2> spans_;
    std::array<int64_t, 2> gaps_{};
    bool timesGrow_ = true;
    double lastTime_ = 0;
};

// A value as a single (files and charts hold singles); beyond their range
// it stays at the range's edge.
float AsSingle(double v);
