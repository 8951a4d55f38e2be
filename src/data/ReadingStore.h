#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The store of an energy-type run: up to 60000 records, kept from the first
// reading on (First Readings: full means full) or as a ring over the newest
// ones (Last Readings: the oldest record is overwritten next).
inline constexpr int32_t kMaxStoredReadings = 60000;

template <class Record>
class ReadingStore {
public:
    // The records of a run, allocated once; nothing is allocated per reading.
    void Allocate() {
        if (!Allocated()) Records.assign(size_t(kMaxStoredReadings), Record{});
        Reset();
    }
    // Back to one record when the window closes.
    void Release() {
        Records.assign(1, Record{});
        Records.shrink_to_fit();
        Reset();
    }
    void Reset() {
        WriteIndex = 0;
        StoredCount = 0;
    }
    bool Allocated() const { return Records.size() == size_t(kMaxStoredReadings); }

    // First Readings with every record written: later readings are not kept.
    bool Full(bool lastReadings) const { return !lastReadings && WriteIndex >= kMaxStoredReadings; }

    // Keeps one record; false when it was not kept.
    bool Put(const Record& r, bool lastReadings) {
        if (!Allocated()) return false;
        if (!lastReadings) {
            if (WriteIndex >= kMaxStoredReadings) return false;
            Records[size_t(WriteIndex++)] = r;
            return true;
        }
        Records[size_t(WriteIndex)] = r;
        if (StoredCount < kMaxStoredReadings) ++StoredCount;
        if (++WriteIndex >= kMaxStoredReadings) WriteIndex = 0;
        return true;
    }

    // Records held, and each of them in order of arrival.
    int32_t Count() const { return StoredCount > 0 ? StoredCount : WriteIndex; }
    template <class Visit>
    void ForEachOldestFirst(Visit visit) const {
        if (StoredCount >= kMaxStoredReadings) {
            for (int32_t k = WriteIndex; k < kMaxStoredReadings; ++k) visit(Records[size_t(k)]);
            for (int32_t k = 0; k < WriteIndex; ++k) visit(Records[size_t(k)]);
        } else {
            for (int32_t k = 0; k < Count(); ++k) visit(Records[size_t(k)]);
        }
    }

    // Record i (0 .. Count() - 1) in order of arrival.
    const Record& OldestFirst(int32_t i) const {
        if (StoredCount >= kMaxStoredReadings) i = (WriteIndex + i) % kMaxStoredReadings;
        return Records[size_t(i)];
    }

    std::vector<Record> Records;
    int32_t WriteIndex = 0;   // next record to write
    int32_t StoredCount = 0;  // Last Readings: valid records; First Readings: 0
};

// Which readings a run keeps: every one (rate 1), or one out of N, either
// the average of each group of N (style 1, stored when the next group
// begins, so the last incomplete group is never stored) or the first of
// each group (style 2: readings 1, N + 1, 2N + 1, ...).
class StorageRateFilter {
public:
    enum Style : int16_t { Average = 1, Sample = 2 };

    void Reset() {
        GroupCount = 0;
        GroupSum = 0;
        GroupAverage = 0;
        groupOver_ = false;
    }
    // Takes one reading; true with `stored` set when a value is to be kept.
    bool Take(double value, int32_t rate, int16_t style, double& stored);

    int32_t GroupCount = 0;
    double GroupSum = 0;
    double GroupAverage = 0;

private:
    bool groupOver_ = false;  // an over-range reading in the open group
};
