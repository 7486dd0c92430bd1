#pragma once

#include <array>
#include <cstdint>

namespace vornel {

// The built-in synthesizer's last stage: a gain in front (the master volume)
// and a stereo-linked look-ahead peak limiter that keeps the true peak of what
// leaves it at or below kCeilingDb.
//
// The true peak is estimated by 4x oversampling: between every two samples
// three points are interpolated with an 8-tap windowed sinc, and the gain
// needed for the largest of them is applied to both neighbouring samples.
// Four times oversampling underestimates a full-scale sine near 11 kHz by up
// to 0.2 dB and the short filter adds a little more, so the limiter aims
// kMarginDb below the ceiling.
//
// Attack: the gain reaches what a peak needs over kLookAheadFrames, while the
// peak waits in a delay line: a sliding minimum over the window, then its
// moving average, which never lies above the gain the delayed sample needs.
// Release: back towards unity with the time constant kReleaseSeconds. Chosen
// with bench/loudness on dense styles at full master volume: at 0.2 s their
// loudness range stays what it is unlimited (0.4..0.8 LU), so the level does
// not swing with the beat; 0.05 s follows the drum hits (the loudest case
// flattens to 0.1 LU, the sound of a limiter working on every beat), 1 s
// ducks whole bars after a hit (the range grows to 0.8 LU, 0.7 dB quieter).
// The look-ahead is the shortest that still ramps over more than a cycle of
// the treble; with the interpolator it delays the output by 36 frames
// (0.8 ms at 44.1 kHz), which played notes and cues do not notice.
//
// Everything lives in fixed arrays: process() neither allocates nor locks,
// and runs on whatever thread renders the audio (the audio thread).
class Limiter {
public:
    static constexpr double kCeilingDb = -1.0;
    static constexpr double kMarginDb = 0.3;
    static constexpr int kLookAheadFrames = 32;   // 0.73 ms at 44.1 kHz
    static constexpr int kInterpolationHalf = 4;  // taps on either side of an interpolated point
    // What the limiter delays its output by.
    static constexpr int kLatencyFrames = kLookAheadFrames + kInterpolationHalf;
    static constexpr double kReleaseSeconds = 0.2;
    // Frames over which a new input gain is reached: one FluidSynth block, so
    // that a volume change applied before a block is complete at its end.
    static constexpr int kGainRampFrames = 64;

    explicit Limiter(double sampleRate = 44100.0);

    // Forgets the audio and the gain reduction (a new synthesizer); keeps the
    // input gain, which it sets at once.
    void reset(double sampleRate);
    // The gain applied in front of the limiter, reached over kGainRampFrames.
    void setInputGain(float gain);
    float inputGain() const { return inputTarget_; }

    // In place, `frames` stereo frames, delayed by kLatencyFrames.
    void process(float* left, float* right, int frames);
    // The gain applied to the last frame put out (1: no reduction).
    float gain() const { return static_cast<float>(gain_); }

private:
    static constexpr int kRing = 64;  // power of two above kLatencyFrames + kInterpolationHalf
    static constexpr int kTaps = 2 * kInterpolationHalf;
    static constexpr int kWindow = kLookAheadFrames + 1;

    float interpolatedPeak(const std::array<float, kRing>& x, unsigned newest) const;
    void processFrame(float& left, float& right);

    // coefficients_[p][k]: weight of sample m - kInterpolationHalf + 1 + k for the point m + (p + 1) / 4.
    std::array<std::array<float, kTaps>, 3> coefficients_{};
    std::array<float, kRing> left_{}, right_{};  // input after the input gain
    std::array<double, kRing> needed_{};         // gain each sample needs, for the sliding minimum
    std::array<double, kRing> held_{};           // sliding minimum, for the moving average
    unsigned pos_ = 0;
    double heldSum_ = kWindow;
    double lastIntervalPeak_ = 0.0;
    double gain_ = 1.0;
    double release_ = 0.0;  // per-frame step towards unity, as a fraction of the distance
    double ceiling_ = 0.0;  // linear, with the margin
    float hardCeiling_ = 1.0f;
    float inputGain_ = 1.0f, inputTarget_ = 1.0f, inputStep_ = 0.0f;
    int rampLeft_ = 0;
};

}  // namespace vornel
