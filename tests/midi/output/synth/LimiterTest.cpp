#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <new>
#include <vector>

#include "midi/output/synth/Limiter.h"

// Counts every allocation of this test program, to show that process() makes none.
namespace {
std::atomic<long> allocations{0};
}  // namespace

void* operator new(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace vornel {
namespace {

constexpr double kRate = 44100.0;
constexpr double kPi = 3.14159265358979323846;

double dbOf(double linear) {
    return 20.0 * std::log10(std::max(linear, 1e-12));
}

// The true peak as a meter measures it, more finely than the limiter does:
// 8 times oversampled with a 96-tap Blackman-windowed sinc.
double truePeak(const std::vector<float>& x) {
    constexpr int kFactor = 8, kHalf = 48;
    double peak = 0.0;
    for (std::size_t n = 0; n + 1 < x.size(); ++n) {
        for (int p = 0; p < kFactor; ++p) {
            const double at = static_cast<double>(n) + static_cast<double>(p) / kFactor;
            double v = 0.0;
            for (int k = -kHalf + 1; k <= kHalf; ++k) {
                const long i = static_cast<long>(n) + k;
                if (i < 0 || i >= static_cast<long>(x.size())) continue;
                const double t = at - static_cast<double>(i);
                const double sinc = t == 0.0 ? 1.0 : std::sin(kPi * t) / (kPi * t);
                const double w = 0.42 + 0.5 * std::cos(kPi * t / kHalf) + 0.08 * std::cos(2.0 * kPi * t / kHalf);
                v += x[static_cast<std::size_t>(i)] * sinc * w;
            }
            peak = std::max(peak, std::fabs(v));
        }
    }
    return peak;
}

double samplePeak(const std::vector<float>& x, std::size_t from = 0, std::size_t to = SIZE_MAX) {
    double peak = 0.0;
    for (std::size_t i = from; i < std::min(to, x.size()); ++i) peak = std::max(peak, double(std::fabs(x[i])));
    return peak;
}

// In uneven periods, as audio drivers hand them.
void processAll(Limiter& limiter, std::vector<float>& left, std::vector<float>& right) {
    const int periods[] = {37, 64, 1, 256, 100};
    std::size_t done = 0;
    for (int i = 0; done < left.size(); ++i) {
        const int n = static_cast<int>(std::min<std::size_t>(periods[i % 5], left.size() - done));
        limiter.process(left.data() + done, right.data() + done, n);
        done += static_cast<std::size_t>(n);
    }
}

std::vector<float> tone(std::size_t frames, double hz, double amplitude, double phase = 0.0) {
    std::vector<float> x(frames);
    for (std::size_t i = 0; i < frames; ++i)
        x[i] = static_cast<float>(amplitude * std::sin(2.0 * kPi * hz * static_cast<double>(i) / kRate + phase));
    return x;
}

TEST(Limiter, AFullScaleBurstStaysBelowMinusOneDbfsBetweenSamplesTooAndAllocatesNothing) {
    // Left: a quarter-rate sine whose samples miss its crests by 3 dB, at
    // +6 dBFS. Right: a full-scale 1 kHz square wave's first harmonics.
    const std::size_t frames = static_cast<std::size_t>(0.1 * kRate);
    std::vector<float> left = tone(frames, kRate / 4.0, 2.0, kPi / 4.0);
    std::vector<float> right(frames);
    for (int h = 1; h <= 9; h += 2) {
        const std::vector<float> part = tone(frames, 1000.0 * h, 4.0 / kPi / h);
        for (std::size_t i = 0; i < frames; ++i) right[i] += part[i];
    }
    Limiter limiter(kRate);
    const long before = allocations.load();
    processAll(limiter, left, right);
    EXPECT_EQ(allocations.load(), before);

    double loudest = 0.0;
    for (const std::vector<float>* x : {&left, &right}) {
        EXPECT_LE(dbOf(samplePeak(*x)), Limiter::kCeilingDb);
        const double peak = truePeak(*x);
        EXPECT_LE(dbOf(peak), Limiter::kCeilingDb);
        loudest = std::max(loudest, peak);
    }
    // Both channels take the louder one's gain, so only that one reaches the ceiling.
    EXPECT_GT(dbOf(loudest), Limiter::kCeilingDb - 1.0) << "the burst still comes through, limited";
}

TEST(Limiter, AQuietPassageIsUnchangedAndComesBackSoonAfterALoudOne) {
    // A sparse style's level: -18 dBFS, then a loud hit, then the same
    // passage again after a second.
    const std::size_t second = static_cast<std::size_t>(kRate);
    std::vector<float> left = tone(3 * second, 440.0, 0.125);
    std::vector<float> right = tone(3 * second, 660.0, 0.125);
    for (std::size_t i = second; i < second + 2000; ++i) left[i] = right[i] = (i % 2 == 0) ? 1.0f : -1.0f;
    const std::vector<float> inLeft = left;
    Limiter limiter(kRate);
    processAll(limiter, left, right);

    const auto levelChangeDb = [&](std::size_t from, std::size_t to) {
        double in = 0.0, out = 0.0;
        for (std::size_t i = from; i < to; ++i) {
            in += double(inLeft[i - Limiter::kLatencyFrames]) * inLeft[i - Limiter::kLatencyFrames];
            out += double(left[i]) * left[i];
        }
        return 10.0 * std::log10(out / in);
    };
    EXPECT_NEAR(levelChangeDb(1000, second), 0.0, 0.01) << "before the hit: untouched";
    EXPECT_NEAR(levelChangeDb(2 * second + 1000, 3 * second), 0.0, 0.5) << "a second after it: back";
}

TEST(Limiter, AnInputGainIsReachedOverOneBlockWithoutAJump) {
    const std::size_t frames = 1000;
    std::vector<float> left(frames, 0.5f), right(frames, 0.5f);
    Limiter limiter(kRate);
    limiter.process(left.data(), right.data(), 200);
    limiter.setInputGain(0.25f);
    limiter.process(left.data() + 200, right.data() + 200, static_cast<int>(frames - 200));
    double largestStep = 0.0;
    for (std::size_t i = 100; i < frames; ++i)
        largestStep = std::max(largestStep, double(std::fabs(left[i] - left[i - 1])));
    EXPECT_LT(largestStep, 0.5 * (1.0 - 0.25) / Limiter::kGainRampFrames * 1.01);
    EXPECT_FLOAT_EQ(left[frames - 1], 0.125f);
}

}  // namespace
}  // namespace vornel
