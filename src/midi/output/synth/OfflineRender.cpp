#include "midi/output/synth/OfflineRender.h"

#include <algorithm>
#include <cmath>

#include "midi/output/synth/FluidSynthPort.h"

namespace vornel {

OfflineRender::OfflineRender(FluidSynthPort& port, ManualClock& clock, int periodFrames)
    : port_(port),
      clock_(clock),
      period_(std::clamp(periodFrames, 1, kMaxPeriod)),
      startMs_(clock.nowMs()),
      left_(static_cast<std::size_t>(period_)),
      right_(static_cast<std::size_t>(period_)) {}

double OfflineRender::msAtFrame(double frame) const {
    return startMs_ + frame * 1000.0 / port_.sampleRate();
}

double OfflineRender::frameAtMs(double ms) const {
    return (ms - startMs_) * port_.sampleRate() / 1000.0;
}

void OfflineRender::renderFrames(std::size_t frames, std::vector<float>& left,
                                 std::vector<float>& right) {
    std::size_t done = 0;
    while (done < frames) {
        const int n = static_cast<int>(std::min<std::size_t>(period_, frames - done));
        // The time is computed from the frame count, not accumulated, so that
        // long renders do not drift from the port's own frame clock.
        const double now = msAtFrame(static_cast<double>(frames_));
        clock_.set(now);
        if (hook_) hook_(now);
        port_.render(left_.data(), right_.data(), n);
        left.insert(left.end(), left_.begin(), left_.begin() + n);
        right.insert(right.end(), right_.begin(), right_.begin() + n);
        frames_ += n;
        done += static_cast<std::size_t>(n);
    }
    // What comes next (a Stop, say) happens after the audio rendered so far,
    // not at the start of its last period: the notes of that period have
    // been played into the output already.
    clock_.set(msAtFrame(static_cast<double>(frames_)));
}

std::size_t OfflineRender::framesFor(double seconds) const {
    if (!std::isfinite(seconds) || seconds <= 0.0) return 0;
    return static_cast<std::size_t>(std::llround(seconds * port_.sampleRate()));
}

void OfflineRender::renderSeconds(double seconds, std::vector<float>& left,
                                  std::vector<float>& right) {
    renderFrames(framesFor(seconds), left, right);
}

bool OfflineRender::renderToWav(double seconds, const std::filesystem::path& path,
                                WavWriter::Format format) {
    WavWriter wav;
    const bool opened = wav.open(path, static_cast<int>(std::lround(port_.sampleRate())), format);
    bool ok = opened;
    // One second at a time keeps memory flat for long renders.
    std::size_t remaining = framesFor(seconds);
    const std::size_t chunk = static_cast<std::size_t>(std::lround(port_.sampleRate()));
    std::vector<float> left, right;
    while (remaining > 0) {
        const std::size_t n = std::min(remaining, chunk);
        left.clear();
        right.clear();
        renderFrames(n, left, right);
        if (opened) ok = wav.write(left.data(), right.data(), n) && ok;
        remaining -= n;
    }
    return wav.close() && ok;
}

}  // namespace vornel
