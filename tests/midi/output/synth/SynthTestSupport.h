#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "midi/output/MidiMessage.h"
#include "midi/output/synth/MessageSink.h"
#include "midi/output/synth/SynthMessage.h"

namespace vornel::test {

inline MidiMessage channelMessage(int status, int d1, int d2 = 0) {
    return MidiMessage{status, d1, d2, {}};
}
inline MidiMessage noteOn(int ch, int key, int vel = 100) {
    return channelMessage(0x90 | ch, key, vel);
}
inline MidiMessage noteOff(int ch, int key) {
    return channelMessage(0x80 | ch, key, 0);
}
inline MidiMessage sysex(const std::vector<int>& bytes) {
    MidiMessage m{0xF0, 0, 0, {}};
    for (int b : bytes) m.sysex.push_back(static_cast<char>(b));
    return m;
}

// Records what a block scheduler applies, with the block it was applied before.
class RecordingSink final : public MessageSink {
public:
    struct Entry {
        std::int64_t frame;
        SynthMessage message;
    };
    void apply(const SynthMessage& m) override { entries.push_back({frame, m}); }

    std::int64_t frame = 0;  // set by the test before each block
    std::vector<Entry> entries;
};

// Stereo audio as the offline renderer produces it.
struct Stereo {
    std::vector<float> left, right;
    std::size_t size() const { return left.size(); }
    float peak(std::size_t i) const { return std::fmax(std::fabs(left[i]), std::fabs(right[i])); }
};

// First frame at or after `from` whose amplitude exceeds `threshold`; -1 if none.
inline long onsetFrame(const Stereo& s, float threshold, std::size_t from = 0) {
    for (std::size_t i = from; i < s.size(); ++i)
        if (s.peak(i) > threshold) return static_cast<long>(i);
    return -1;
}

// Root mean square of both channels over [from, to).
inline double rms(const Stereo& s, std::size_t from, std::size_t to) {
    double sum = 0.0;
    for (std::size_t i = from; i < to && i < s.size(); ++i)
        sum += double(s.left[i]) * s.left[i] + double(s.right[i]) * s.right[i];
    return to > from ? std::sqrt(sum / (2.0 * double(to - from))) : 0.0;
}

// Normalised correlation of the left channels over [from, to): 1 for the same
// waveform, near 0 for unrelated ones.
inline double correlation(const Stereo& a, const Stereo& b, std::size_t from, std::size_t to) {
    double ab = 0.0, aa = 0.0, bb = 0.0;
    for (std::size_t i = from; i < to && i < a.size() && i < b.size(); ++i) {
        ab += double(a.left[i]) * b.left[i];
        aa += double(a.left[i]) * a.left[i];
        bb += double(b.left[i]) * b.left[i];
    }
    return (aa > 0.0 && bb > 0.0) ? ab / std::sqrt(aa * bb) : 0.0;
}

}  // namespace vornel::test
