#pragma once

#include <algorithm>
#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "support/RecordingPort.h"

namespace vornel::test {

// Reads what left a port as a musician would hear it and lists every breach
// of a note's life: a switch-off that finds nothing sounding on its key, a
// note that sounds past the latest moment it may end, and a note that is
// never switched off. Each Note On must get exactly one switch-off, to its own
// channel and key; a key struck again while it sounds is one sound on the
// wire, and a single switch-off, no later than the latest written end of its
// strikes, ends them all.
//
// A sweep of Stop or Panic (every note of every channel off, 4,096 messages
// from channel 1's note 0 to channel 16's note 127) ends everything sounding;
// the switch-off already queued for those notes may still come afterwards,
// once per key. The silent cue carriers (channel 1, note 36, velocity 0) are not
// notes. `latestEnd` gives, for a Note On, the latest moment its switch-off
// may come (its written end).
inline bool sweepStartsAt(const std::vector<SentMessage>& sent, std::size_t i) {
    constexpr std::size_t kSweep = 16 * 128 * 2;
    if (i + kSweep > sent.size()) return false;
    const MidiMessage& first = sent[i].message;
    const MidiMessage& last = sent[i + kSweep - 1].message;
    return first.status == 0x90 && first.data1 == 0 && first.data2 == 0 && last.status == 0x8F && last.data1 == 127;
}

inline std::vector<std::string> noteLifecycleFaults(const std::vector<SentMessage>& sent,
                                                    const std::function<double(const SentMessage&)>& latestEnd,
                                                    double endMs) {
    constexpr double kStepMs = 1.0;  // a virtual clock sends at its next 1 ms step
    using Key = std::pair<int, int>;
    std::map<Key, std::deque<double>> sounding;  // latest end of each sounding note
    std::map<Key, int> forgiven;
    std::vector<std::string> faults;
    const auto fault = [&](double at, const std::string& what, Key k) {
        faults.push_back(std::to_string(at) + " ms: " + what + " (channel " + std::to_string(k.first) + ", key " +
                         std::to_string(k.second) + ")");
    };
    for (std::size_t i = 0; i < sent.size(); ++i) {
        const SentMessage& m = sent[i];
        if (sweepStartsAt(sent, i)) {
            for (auto& [k, ends] : sounding) {
                for (double end : ends)
                    if (m.atMs > end + kStepMs) fault(m.atMs, "sounded past its written end until Stop or Panic", k);
                if (!ends.empty()) ++forgiven[k];  // the one switch-off its strikes had queued
            }
            sounding.clear();
            i += 16 * 128 * 2 - 1;
            continue;
        }
        const int kind = m.message.status & 0xF0;
        if (kind != 0x80 && kind != 0x90) continue;
        const Key k{(m.message.status & 0x0F) + 1, m.message.data1};
        if (kind == 0x90 && m.message.data2 > 0) {
            sounding[k].push_back(latestEnd(m));
            continue;
        }
        if (kind == 0x90 && k == Key{1, 36}) continue;  // a cue carrier
        auto& ends = sounding[k];
        if (!ends.empty()) {
            const double latest = *std::max_element(ends.begin(), ends.end());
            if (m.atMs > latest + kStepMs) fault(m.atMs, "switched off after its written end", k);
            ends.clear();
        } else if (forgiven[k] > 0) {
            --forgiven[k];
        } else {
            fault(m.atMs, "switch-off with nothing sounding", k);
        }
    }
    for (const auto& [k, ends] : sounding)
        for (double end : ends)
            if (endMs > end + kStepMs) fault(endMs, "still sounding after its written end", k);
    return faults;
}

}  // namespace vornel::test
