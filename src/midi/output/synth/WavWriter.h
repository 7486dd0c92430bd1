#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>

namespace vornel {

// Writes stereo audio to a RIFF/WAVE file, frame by frame, and fills in the
// sizes in the header when closed. Offline rendering uses it so that what the
// synthesizer played can be listened to.
class WavWriter {
public:
    enum class Format {
        Pcm16,    // 16-bit integer: what every player reads; samples are clipped to ±1
        Float32,  // IEEE float: keeps the synthesizer's output exactly
    };

    WavWriter() = default;
    ~WavWriter();  // closes
    WavWriter(const WavWriter&) = delete;
    WavWriter& operator=(const WavWriter&) = delete;

    // Creates (or truncates) the file and writes a header for an empty file.
    // False when the file cannot be created, the sample rate is not positive,
    // or a file is open already.
    bool open(const std::filesystem::path& path, int sampleRate, Format format);
    // Appends `frames` frames; the two buffers interleave as left, right. False
    // when not open, a buffer is missing, the write fails, or the file would
    // exceed the 4 GiB that RIFF sizes can describe (nothing is written then).
    bool write(const float* left, const float* right, std::size_t frames);
    // Completes the header and closes; false if any write failed. Harmless when
    // not open.
    bool close();

    bool isOpen() const { return file_.is_open(); }
    std::uint64_t framesWritten() const { return frames_; }

private:
    std::size_t bytesPerFrame() const { return format_ == Format::Pcm16 ? 4 : 8; }
    void writeHeader();

    std::ofstream file_;
    Format format_ = Format::Pcm16;
    int sampleRate_ = 0;
    std::uint64_t frames_ = 0;
    bool failed_ = false;
};

}  // namespace vornel
