#pragma once

#include <array>
#include <cstddef>
#include <limits>

namespace vornel {

// The keys that notes played from the queue left sounding, each with the stamp
// of its strike. Taking back queued messages from a stamp on takes back the
// note-offs of notes struck at or after it that have already sounded (the
// program believes them never played), so those keys must be released at once.
//
// A fixed table, no allocation, no lock: the audio thread keeps one for the
// built-in synthesizer, the output component one for a MIDI port (under its
// port lock).
class StruckKeys {
public:
    StruckKeys() { clear(); }

    void clear() { stamps_.fill(kNotSounding); }

    // A channel message played from the queue, stamped `stampMs`. Only notes
    // count: a Note On of velocity 0 ends a note as a Note Off does.
    void played(int status, int data1, int data2, double stampMs) {
        const int kind = status & 0xF0;
        if (kind != 0x90 && kind != 0x80) return;
        stamps_[index(status & 0x0F, data1)] = (kind == 0x90 && data2 > 0) ? stampMs : kNotSounding;
    }

    // Forgets every key struck at or after `fromMs` and not released since,
    // calling release(channel 0..15, key) for each.
    template <typename Release>
    void releaseFrom(double fromMs, Release release) {
        for (std::size_t i = 0; i < stamps_.size(); ++i) {
            if (!(stamps_[i] >= fromMs)) continue;
            stamps_[i] = kNotSounding;
            release(static_cast<int>(i / kKeys), static_cast<int>(i % kKeys));
        }
    }

private:
    static constexpr std::size_t kKeys = 128;
    // Fails every comparison, so a key not sounding is never released.
    static constexpr double kNotSounding = std::numeric_limits<double>::quiet_NaN();

    static std::size_t index(int channel, int key) {
        return static_cast<std::size_t>(channel & 0x0F) * kKeys + static_cast<std::size_t>(key & 0x7F);
    }

    std::array<double, 16 * kKeys> stamps_;
};

}  // namespace vornel
