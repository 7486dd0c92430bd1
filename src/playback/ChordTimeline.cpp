#include "playback/ChordTimeline.h"

#include <algorithm>

namespace vornel {

void ChordTimeline::set(double atMs, const ChordState& chord) {
    while (entries_.size() > 1 && entries_.back().atMs >= atMs) entries_.pop_back();
    if (entries_.size() == 1 && entries_.front().atMs >= atMs) {
        entries_.front() = {atMs, chord};
        return;
    }
    if (entries_.back().chord == chord) return;
    entries_.push_back({atMs, chord});
}

const ChordState& ChordTimeline::at(double atMs) const {
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it)
        if (it->atMs <= atMs) return it->chord;
    return entries_.front().chord;
}

const double* ChordTimeline::nextChange(double afterMs, double beforeMs) const {
    for (const Entry& e : entries_)
        if (e.atMs > afterMs && e.atMs < beforeMs) return &e.atMs;
    return nullptr;
}

void ChordTimeline::forgetBefore(double ms) {
    std::size_t keep = 0;  // the last entry at or before ms stays: it is in force there
    while (keep + 1 < entries_.size() && entries_[keep + 1].atMs <= ms) ++keep;
    entries_.erase(entries_.begin(), entries_.begin() + static_cast<std::ptrdiff_t>(keep));
}

void ChordTimeline::reset(const ChordState& chord) {
    entries_.assign(1, Entry{0.0, chord});
}

}  // namespace vornel
