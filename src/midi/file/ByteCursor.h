#pragma once

#include <cstddef>
#include <cstdint>

namespace vornel {

// Reads big-endian numbers and MIDI variable-length quantities from a byte
// range and never past its end: every read reports whether the bytes were
// there, so a damaged file can only end a read early, not overrun the buffer.
class ByteCursor {
public:
    ByteCursor(const std::uint8_t* data, std::size_t begin, std::size_t end)
        : data_(data), pos_(begin), end_(end) {}

    std::size_t position() const { return pos_; }
    std::size_t remaining() const { return end_ - pos_; }
    bool atEnd() const { return pos_ >= end_; }

    bool readByte(std::uint8_t& out) {
        if (pos_ >= end_) return false;
        out = data_[pos_++];
        return true;
    }

    bool readU16(std::uint16_t& out) {
        if (remaining() < 2) return false;
        out = static_cast<std::uint16_t>((data_[pos_] << 8) | data_[pos_ + 1]);
        pos_ += 2;
        return true;
    }

    bool readU32(std::uint32_t& out) {
        if (remaining() < 4) return false;
        out = (std::uint32_t{data_[pos_]} << 24) | (std::uint32_t{data_[pos_ + 1]} << 16) |
              (std::uint32_t{data_[pos_ + 2]} << 8) | std::uint32_t{data_[pos_ + 3]};
        pos_ += 4;
        return true;
    }

    // True when the next four bytes are `id`; consumes them only then.
    bool readId(const char (&id)[5]) {
        if (remaining() < 4) return false;
        for (std::size_t i = 0; i < 4; ++i)
            if (data_[pos_ + i] != static_cast<std::uint8_t>(id[i])) return false;
        pos_ += 4;
        return true;
    }

    // A variable-length quantity of at most four bytes (up to 0x0FFFFFFF, the
    // largest a Standard MIDI File may hold). A fifth continuation byte is
    // damage: the read fails, which also bounds the loop on hostile input.
    bool readVarLen(std::uint32_t& out) {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            std::uint8_t b = 0;
            if (!readByte(b)) return false;
            value = (value << 7) | (b & 0x7Fu);
            if ((b & 0x80u) == 0) {
                out = value;
                return true;
            }
        }
        return false;
    }

    bool skip(std::size_t count) {
        if (count > remaining()) return false;
        pos_ += count;
        return true;
    }

private:
    const std::uint8_t* data_;
    std::size_t pos_;
    std::size_t end_;
};

}  // namespace vornel
