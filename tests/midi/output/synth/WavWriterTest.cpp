#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "midi/output/synth/WavWriter.h"
#include "support/TempDir.h"

namespace vornel {
namespace {

using Format = WavWriter::Format;

std::vector<unsigned char> readAll(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
std::uint32_t u32(const std::vector<unsigned char>& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | std::uint32_t(b[at + 3]) << 24;
}
std::uint16_t u16(const std::vector<unsigned char>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}
std::int16_t s16(const std::vector<unsigned char>& b, std::size_t at) {
    return static_cast<std::int16_t>(u16(b, at));
}
std::string tag(const std::vector<unsigned char>& b, std::size_t at) {
    return std::string(b.begin() + at, b.begin() + at + 4);
}

class WavWriterTest : public ::testing::Test {
protected:
    test::TempDir tmp;
    std::filesystem::path path = tmp.file("out.wav");
};

TEST_F(WavWriterTest, Pcm16FileHasACompleteHeaderAndClippedRoundedSamples) {
    WavWriter w;
    ASSERT_TRUE(w.open(path, 44100, Format::Pcm16));
    const float left[] = {0.0f, 0.5f, 1.5f, std::numeric_limits<float>::quiet_NaN()};
    const float right[] = {-0.5f, -1.0f, -3.0f, 1.0f / 32767.0f};
    ASSERT_TRUE(w.write(left, right, 2));
    ASSERT_TRUE(w.write(left + 2, right + 2, 2));  // appends
    EXPECT_EQ(w.framesWritten(), 4u);
    ASSERT_TRUE(w.close());

    const auto b = readAll(path);
    ASSERT_EQ(b.size(), 44u + 16u);
    EXPECT_EQ(tag(b, 0), "RIFF");
    EXPECT_EQ(u32(b, 4), b.size() - 8);
    EXPECT_EQ(tag(b, 8), "WAVE");
    EXPECT_EQ(tag(b, 12), "fmt ");
    EXPECT_EQ(u32(b, 16), 16u);
    EXPECT_EQ(u16(b, 20), 1);  // PCM
    EXPECT_EQ(u16(b, 22), 2);  // stereo
    EXPECT_EQ(u32(b, 24), 44100u);
    EXPECT_EQ(u32(b, 28), 44100u * 4);
    EXPECT_EQ(u16(b, 32), 4);
    EXPECT_EQ(u16(b, 34), 16);
    EXPECT_EQ(tag(b, 36), "data");
    EXPECT_EQ(u32(b, 40), 16u);
    const std::int16_t expected[] = {0, -16384, 16384, -32767, 32767, -32767, 0, 1};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(s16(b, 44 + 2 * i), expected[i]) << "sample " << i;
}

TEST_F(WavWriterTest, FloatFileKeepsSamplesExactlyWithFactChunk) {
    WavWriter w;
    ASSERT_TRUE(w.open(path, 48000, Format::Float32));
    const float left[] = {0.25f, -1.75f, 1e-7f};
    const float right[] = {0.5f, 2.0f, -0.0f};
    ASSERT_TRUE(w.write(left, right, 3));
    ASSERT_TRUE(w.close());

    const auto b = readAll(path);
    EXPECT_EQ(u32(b, 4), b.size() - 8);
    EXPECT_EQ(u32(b, 16), 18u);
    EXPECT_EQ(u16(b, 20), 3);  // IEEE float
    EXPECT_EQ(u32(b, 24), 48000u);
    EXPECT_EQ(u32(b, 28), 48000u * 8);
    EXPECT_EQ(u16(b, 32), 8);
    EXPECT_EQ(u16(b, 34), 32);
    EXPECT_EQ(u16(b, 36), 0);  // no extension
    EXPECT_EQ(tag(b, 38), "fact");
    EXPECT_EQ(u32(b, 46), 3u);
    EXPECT_EQ(tag(b, 50), "data");
    ASSERT_EQ(u32(b, 54), 24u);
    ASSERT_EQ(b.size(), 58u + 24u);
    for (int i = 0; i < 3; ++i) {
        float l, r;
        std::memcpy(&l, &b[58 + 8 * i], 4);
        std::memcpy(&r, &b[62 + 8 * i], 4);
        EXPECT_EQ(l, left[i]);
        EXPECT_EQ(r, right[i]);
    }
}

TEST_F(WavWriterTest, AnEmptyRenderIsStillAValidFile) {
    WavWriter w;
    ASSERT_TRUE(w.open(path, 22050, Format::Pcm16));
    ASSERT_TRUE(w.close());
    const auto b = readAll(path);
    ASSERT_EQ(b.size(), 44u);
    EXPECT_EQ(u32(b, 40), 0u);
}

TEST_F(WavWriterTest, RefusesWhatItCannotDo) {
    WavWriter w;
    const float s[] = {0.0f};
    EXPECT_FALSE(w.write(s, s, 1));  // not open
    EXPECT_FALSE(w.open(tmp.file("no/such/folder/x.wav"), 44100, Format::Pcm16));
    EXPECT_FALSE(w.open(path, 0, Format::Pcm16));
    EXPECT_FALSE(w.open(path, -44100, Format::Pcm16));
    ASSERT_TRUE(w.open(path, 44100, Format::Pcm16));
    EXPECT_FALSE(w.open(path, 44100, Format::Pcm16));  // already open
    EXPECT_FALSE(w.write(nullptr, s, 1));
    EXPECT_FALSE(w.write(s, nullptr, 1));
    EXPECT_TRUE(w.close());
    EXPECT_TRUE(w.close());  // twice is harmless
    EXPECT_FALSE(w.isOpen());
}

TEST_F(WavWriterTest, ADestroyedWriterLeavesACompleteFile) {
    {
        WavWriter w;
        ASSERT_TRUE(w.open(path, 44100, Format::Pcm16));
        const float s[] = {0.5f, 0.5f};
        w.write(s, s, 2);
    }
    const auto b = readAll(path);
    ASSERT_EQ(b.size(), 44u + 8u);
    EXPECT_EQ(u32(b, 40), 8u);
    EXPECT_EQ(u32(b, 4), b.size() - 8);
}

}  // namespace
}  // namespace vornel
