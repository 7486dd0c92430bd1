#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

#include "midi/output/synth/WavWriter.h"
#include "platform/Clock.h"

namespace vornel {

class FluidSynthPort;

// Plays an offline FluidSynthPort as its audio driver would: period by period,
// with the manual clock set to each period's real time before the period is
// rendered. Frame 0 is the clock's reading when this object is made; made
// right after openOffline(), its frames are the port's own (AppliedEvent::frame).
class OfflineRender {
public:
    static constexpr int kMaxPeriod = 8192;

    // `port` must be open offline and attached to `clock`. The period is kept
    // within 1 .. kMaxPeriod frames.
    OfflineRender(FluidSynthPort& port, ManualClock& clock, int periodFrames = 64);

    // Called before each period with the period's real time in ms: the place to
    // hand over queued messages, as the component's scheduling thread would.
    void onPeriod(std::function<void(double nowMs)> hook) { hook_ = std::move(hook); }

    // Renders `frames` more frames, appended to the two buffers.
    void renderFrames(std::size_t frames, std::vector<float>& left, std::vector<float>& right);
    // The same for a duration; nothing for a negative or non-finite one.
    void renderSeconds(double seconds, std::vector<float>& left, std::vector<float>& right);
    // Renders `seconds` into a stereo WAV file; false when the file cannot be
    // written (what was rendered is still consumed from the port).
    bool renderToWav(double seconds, const std::filesystem::path& path,
                     WavWriter::Format format = WavWriter::Format::Pcm16);

    std::int64_t framesRendered() const { return frames_; }
    double msAtFrame(double frame) const;
    double frameAtMs(double ms) const;

private:
    std::size_t framesFor(double seconds) const;

    FluidSynthPort& port_;
    ManualClock& clock_;
    int period_;
    double startMs_;
    std::int64_t frames_ = 0;
    std::function<void(double)> hook_;
    std::vector<float> left_, right_;  // one period
};

}  // namespace vornel
