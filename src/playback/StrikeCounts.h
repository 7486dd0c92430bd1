#pragma once

#include <array>
#include <cstdint>

namespace vornel {

// How many queued strikes of each channel and key have not been switched off
// yet. Two notes of one key on one channel (two sources routed to one part,
// or a part that strikes a key again before its own note-off) are one sound
// on the wire: the first switch-off would end both, in the synthesizer and on
// any device. So only the switch-off of the last overlapping strike goes out,
// and the key sounds to the end of the longest of its notes. A strike of a
// key that already sounds is sent as it is: the note is struck again, as the
// style wrote it.
//
// UI thread, like the note lists it counts for.
class StrikeCounts {
public:
    // A Note On queued on `status`'s channel at `key`.
    void strike(int status, int key) {
        std::uint16_t& n = at(status, key);
        if (n < UINT16_MAX) ++n;
    }
    // A switch-off of one strike; true when it is the last one and must go
    // out. False, too, when nothing was struck: there is nothing to end.
    [[nodiscard]] bool release(int status, int key) {
        std::uint16_t& n = at(status, key);
        if (n == 0) return false;
        return --n == 0;
    }
    // Every key silent: after Stop or Panic, which end everything at once.
    void clear() { counts_ = {}; }
    int sounding(int status, int key) const { return counts_[index(status, key)]; }

private:
    static std::size_t index(int status, int key) {
        return static_cast<std::size_t>((status & 0x0F) * 128 + (key & 0x7F));
    }
    std::uint16_t& at(int status, int key) { return counts_[index(status, key)]; }
    std::array<std::uint16_t, 16 * 128> counts_{};
};

}  // namespace vornel
