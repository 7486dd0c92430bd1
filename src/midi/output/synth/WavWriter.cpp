#include "midi/output/synth/WavWriter.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace vornel {
namespace {

// RIFF is little-endian whatever the machine; bytes are assembled by hand.
void put16(std::vector<char>& b, std::uint16_t v) {
    b.push_back(static_cast<char>(v & 0xFF));
    b.push_back(static_cast<char>(v >> 8));
}
void put32(std::vector<char>& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
void putTag(std::vector<char>& b, const char* tag) {
    b.insert(b.end(), tag, tag + 4);
}

std::int16_t toPcm16(float x) {
    if (std::isnan(x)) return 0;
    const float clipped = std::fmax(-1.0f, std::fmin(1.0f, x));
    return static_cast<std::int16_t>(std::lround(clipped * 32767.0f));
}

std::uint32_t floatBits(float x) {
    std::uint32_t bits;
    static_assert(sizeof bits == sizeof x);
    std::memcpy(&bits, &x, sizeof bits);
    return bits;
}

constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint16_t kFormatFloat = 3;

}  // namespace

WavWriter::~WavWriter() {
    close();
}

bool WavWriter::open(const std::filesystem::path& path, int sampleRate, Format format) {
    if (isOpen() || sampleRate <= 0) return false;
    file_.open(path, std::ios::binary | std::ios::trunc);
    if (!file_.is_open()) return false;
    format_ = format;
    sampleRate_ = sampleRate;
    frames_ = 0;
    failed_ = false;
    writeHeader();
    return !failed_;
}

// The header for frames_ frames. PCM gets the classic 16-byte format chunk;
// float needs the extended one (cbSize = 0) and a fact chunk, as non-PCM
// formats must have.
void WavWriter::writeHeader() {
    const bool pcm = format_ == Format::Pcm16;
    const std::uint16_t bits = pcm ? 16 : 32;
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(frames_ * bytesPerFrame());
    const std::uint32_t fmtBytes = pcm ? 16 : 18;
    const std::uint32_t factBytes = pcm ? 0 : 12;
    std::vector<char> h;
    putTag(h, "RIFF");
    put32(h, 4 + (8 + fmtBytes) + factBytes + 8 + dataBytes);
    putTag(h, "WAVE");
    putTag(h, "fmt ");
    put32(h, fmtBytes);
    put16(h, pcm ? kFormatPcm : kFormatFloat);
    put16(h, 2);
    put32(h, static_cast<std::uint32_t>(sampleRate_));
    put32(h, static_cast<std::uint32_t>(sampleRate_ * bytesPerFrame()));
    put16(h, static_cast<std::uint16_t>(bytesPerFrame()));
    put16(h, bits);
    if (!pcm) {
        put16(h, 0);
        putTag(h, "fact");
        put32(h, 4);
        put32(h, static_cast<std::uint32_t>(frames_));
    }
    putTag(h, "data");
    put32(h, dataBytes);
    file_.seekp(0);
    file_.write(h.data(), static_cast<std::streamsize>(h.size()));
    if (!file_) failed_ = true;
}

bool WavWriter::write(const float* left, const float* right, std::size_t frames) {
    if (!isOpen() || !left || !right) return false;
    // Header and data together must stay describable by a 32-bit RIFF size.
    const std::uint64_t limit = std::numeric_limits<std::uint32_t>::max() - 64;
    if ((frames_ + frames) * bytesPerFrame() > limit) return false;
    std::vector<char> bytes;
    bytes.reserve(frames * bytesPerFrame());
    for (std::size_t i = 0; i < frames; ++i) {
        if (format_ == Format::Pcm16) {
            put16(bytes, static_cast<std::uint16_t>(toPcm16(left[i])));
            put16(bytes, static_cast<std::uint16_t>(toPcm16(right[i])));
        } else {
            put32(bytes, floatBits(left[i]));
            put32(bytes, floatBits(right[i]));
        }
    }
    file_.seekp(0, std::ios::end);
    file_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!file_) {
        failed_ = true;
        return false;
    }
    frames_ += frames;
    return true;
}

bool WavWriter::close() {
    if (!isOpen()) return true;
    writeHeader();
    file_.close();
    const bool ok = !failed_ && !file_.fail();
    file_.clear();
    return ok;
}

}  // namespace vornel
