#include "midi/output/synth/Limiter.h"

#include <algorithm>
#include <cmath>

namespace vornel {

namespace {

constexpr double kPi = 3.14159265358979323846;

double sinc(double t) {
    return t == 0.0 ? 1.0 : std::sin(kPi * t) / (kPi * t);
}

double fromDb(double db) {
    return std::pow(10.0, db / 20.0);
}

}  // namespace

Limiter::Limiter(double sampleRate) {
    // Lanczos kernels, each phase scaled to unit gain at DC so that a steady
    // level interpolates to itself.
    for (int p = 0; p < 3; ++p) {
        const double offset = (p + 1) / 4.0;
        double sum = 0.0;
        for (int k = 0; k < kTaps; ++k) {
            const double t = offset - (k - kInterpolationHalf + 1);
            const double w = sinc(t) * sinc(t / kInterpolationHalf);
            coefficients_[static_cast<std::size_t>(p)][static_cast<std::size_t>(k)] = static_cast<float>(w);
            sum += w;
        }
        for (float& c : coefficients_[static_cast<std::size_t>(p)]) c = static_cast<float>(c / sum);
    }
    reset(sampleRate);
}

void Limiter::reset(double sampleRate) {
    left_.fill(0.0f);
    right_.fill(0.0f);
    needed_.fill(1.0);
    held_.fill(1.0);
    pos_ = 0;
    heldSum_ = kWindow;
    lastIntervalPeak_ = 0.0;
    gain_ = 1.0;
    release_ = 1.0 - std::exp(-1.0 / (kReleaseSeconds * std::max(1.0, sampleRate)));
    ceiling_ = fromDb(kCeilingDb - kMarginDb);
    hardCeiling_ = static_cast<float>(fromDb(kCeilingDb));
    inputGain_ = inputTarget_;
    rampLeft_ = 0;
}

void Limiter::setInputGain(float gain) {
    inputTarget_ = std::max(0.0f, gain);
    inputStep_ = (inputTarget_ - inputGain_) / kGainRampFrames;
    rampLeft_ = kGainRampFrames;
}

// The largest magnitude of one channel in the interval after the sample
// kInterpolationHalf frames before `newest`, its far end included.
float Limiter::interpolatedPeak(const std::array<float, kRing>& x, unsigned newest) const {
    const unsigned first = newest - (kTaps - 1);
    float peak = std::fabs(x[(first + kInterpolationHalf) & (kRing - 1)]);
    for (const auto& phase : coefficients_) {
        float v = 0.0f;
        for (int k = 0; k < kTaps; ++k) v += phase[static_cast<std::size_t>(k)] * x[(first + k) & (kRing - 1)];
        peak = std::max(peak, std::fabs(v));
    }
    return peak;
}

void Limiter::processFrame(float& left, float& right) {
    if (rampLeft_ > 0) {
        inputGain_ = --rampLeft_ == 0 ? inputTarget_ : inputGain_ + inputStep_;
    }
    pos_ = (pos_ + 1) & (kRing - 1);
    left_[pos_] = left * inputGain_;
    right_[pos_] = right * inputGain_;

    // The gain the sample kInterpolationHalf frames back needs: for the peaks
    // on both sides of it, since the gain moves from sample to sample.
    const double interval = std::max(interpolatedPeak(left_, pos_), interpolatedPeak(right_, pos_));
    const double peak = std::max(interval, lastIntervalPeak_);
    lastIntervalPeak_ = interval;
    needed_[pos_] = peak > ceiling_ ? ceiling_ / peak : 1.0;

    double held = 1.0;
    for (int j = 0; j < kWindow; ++j) held = std::min(held, needed_[(pos_ - j) & (kRing - 1)]);
    heldSum_ += held - held_[(pos_ - kWindow) & (kRing - 1)];
    held_[pos_] = held;
    // Every minimum in the window covers the sample leaving the delay line,
    // so their average never exceeds what that sample needs.
    const double attack = heldSum_ / kWindow;
    gain_ = std::min(attack, gain_ + (1.0 - gain_) * release_);

    const unsigned out = (pos_ - kLatencyFrames) & (kRing - 1);
    // The clamp only catches rounding: the gain keeps the samples below it.
    left = std::clamp(static_cast<float>(left_[out] * gain_), -hardCeiling_, hardCeiling_);
    right = std::clamp(static_cast<float>(right_[out] * gain_), -hardCeiling_, hardCeiling_);
}

void Limiter::process(float* left, float* right, int frames) {
    for (int i = 0; i < frames; ++i) processFrame(left[i], right[i]);
}

}  // namespace vornel
