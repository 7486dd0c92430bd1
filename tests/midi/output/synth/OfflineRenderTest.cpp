#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "midi/output/synth/OfflineRender.h"
#include "midi/output/synth/SynthFixture.h"
#include "support/TempDir.h"

namespace vornel {
namespace {

using test::Stereo;
using test::SynthFixture;

class OfflineRenderTest : public SynthFixture {};

// The WAV file holds exactly what the port renders: a second port fed the
// same messages renders the same samples in memory.
TEST_F(OfflineRenderTest, AWavFileHoldsExactlyTheRenderedSamples) {
    test::TempDir tmp;
    const auto path = tmp.file("style.wav");
    const auto feed = [](FluidSynthPort& p) {
        p.send(test::noteOn(9, 36));
        p.schedule(test::noteOn(0, 64), 120.0, TimedTag{1, 0, 0});
    };
    feed(*port);
    OfflineRender toFile(*port, clock, 512);
    ASSERT_TRUE(toFile.renderToWav(1.5, path, WavWriter::Format::Float32));
    EXPECT_EQ(toFile.framesRendered(), 66150);

    clock.set(0.0);
    auto twin = newPort();
    feed(*twin);
    const Stereo mem = render(*twin, 1.5, 512);

    std::ifstream in(path, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                  std::istreambuf_iterator<char>()};
    ASSERT_EQ(bytes.size(), 58u + 66150u * 8u);
    bool same = true;
    for (std::size_t i = 0; i < mem.size() && same; ++i) {
        float l, r;
        std::memcpy(&l, &bytes[58 + 8 * i], 4);
        std::memcpy(&r, &bytes[62 + 8 * i], 4);
        same = l == mem.left[i] && r == mem.right[i];
    }
    EXPECT_TRUE(same);
    EXPECT_GT(test::rms(mem, 0, mem.size()), 1e-4);  // not two silences
}

TEST_F(OfflineRenderTest, TheHookSeesEachPeriodsRealTime) {
    clock.set(1000.0);
    OfflineRender r(*port, clock, 256);
    std::vector<double> seen;
    r.onPeriod([&](double now) {
        seen.push_back(now);
        EXPECT_EQ(clock.nowMs(), now);
    });
    Stereo s;
    r.renderFrames(1000, s.left, s.right);
    ASSERT_EQ(seen.size(), 4u);
    for (int k = 0; k < 4; ++k) EXPECT_DOUBLE_EQ(seen[k], 1000.0 + k * 256 / 44.1);
    EXPECT_EQ(s.size(), 1000u);
    EXPECT_DOUBLE_EQ(r.msAtFrame(441), 1010.0);
    EXPECT_DOUBLE_EQ(r.frameAtMs(1010.0), 441.0);
}

TEST_F(OfflineRenderTest, PeriodsAreKeptWithinOneFrameAndTheLargestDriverPeriod) {
    int calls = 0;
    OfflineRender tiny(*port, clock, 0);
    tiny.onPeriod([&](double) { ++calls; });
    Stereo s;
    tiny.renderFrames(3, s.left, s.right);
    EXPECT_EQ(calls, 3);

    calls = 0;
    OfflineRender huge(*port, clock, 1 << 20);
    huge.onPeriod([&](double) { ++calls; });
    huge.renderFrames(OfflineRender::kMaxPeriod + 1, s.left, s.right);
    EXPECT_EQ(calls, 2);
}

TEST_F(OfflineRenderTest, NothingToRenderAndUnwritableFiles) {
    OfflineRender r(*port, clock);
    Stereo s;
    r.renderSeconds(-1.0, s.left, s.right);
    r.renderSeconds(std::nan(""), s.left, s.right);
    EXPECT_EQ(s.size(), 0u);
    test::TempDir tmp;
    EXPECT_FALSE(r.renderToWav(0.1, tmp.file("missing/folder/out.wav")));
    EXPECT_EQ(r.framesRendered(), 4410);  // the time still passed
}

}  // namespace
}  // namespace vornel
