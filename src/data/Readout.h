#pragma once

// Small rules every logging window's read-out shares.

// Which statistics lines show for a statistics option: 1 Min and Max,
// 2 Average and St. Dev., 3 both.
struct StatVisibility {
    bool MinMax = false;
    bool AvgDev = false;
};
inline StatVisibility VisibleStatistics(int option) {
    return {option == 1 || option == 3, option == 2 || option == 3};
}

// Refreshes of a read-out at most once per `interval` seconds of the time
// of day; the first reading after Reset always shows. The clock restarts
// at midnight, which counts as time going on.
class ReadoutThrottle {
public:
    explicit ReadoutThrottle(double interval) : interval_(interval) {}
    void Reset() { shown_ = false; }
    // True (and the time is remembered) when the read-out is due at `now`.
    bool Due(double now) {
        if (shown_) {
            double since = now - last_;
            if (since < 0) since += 86400.0;
            if (since < interval_) return false;
        }
        shown_ = true;
        last_ = now;
        return true;
    }

private:
    double interval_;
    double last_ = 0;
    bool shown_ = false;
};
