#include "data/SpanSummary.h"

void SpanSummary::Clear() {
    levels_.clear();
    count_ = 0;
}

void SpanSummary::Carry(double v) {
    SpanFigures carry;
    carry.Add(v);
    // A node that is full becomes one value of the level above.
    for (size_t k = 0;; ++k) {
        if (k == levels_.size()) levels_.emplace_back();
        Level& level = levels_[k];
        level.open.Add(carry);
        if (++level.inOpen < kFan) return;
        level.nodes.push_back(level.open);
        carry = level.open;
        level.open = SpanFigures{};
        level.inOpen = 0;
    }
}
