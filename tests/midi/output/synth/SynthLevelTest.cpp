#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "midi/MasterVolume.h"
#include "midi/output/synth/FluidSynthPort.h"
#include "midi/output/synth/Limiter.h"
#include "midi/output/synth/SynthFixture.h"

namespace vornel {
namespace {

using test::channelMessage;
using test::noteOff;
using test::noteOn;
using test::rms;
using test::Stereo;
using test::SynthFixture;

constexpr int kPiano = 0;  // struck alike each time

MidiMessage masterVolume(int volume) {
    return MidiMessage{0xF0, 0, 0, midi::masterVolumeSysEx(volume)};
}

double db(double linear) {
    return 20.0 * std::log10(linear);
}

double peakDb(const Stereo& s) {
    float peak = 0.0f;
    for (std::size_t i = 0; i < s.size(); ++i) peak = std::max(peak, s.peak(i));
    return db(peak);
}

using SynthLevelTest = SynthFixture;

TEST_F(SynthLevelTest, AMasterVolumeMessageSetsTheLevelOfWhatFollows) {
    constexpr int kSoft = 40;
    // A soft piano chord, well below the limiter, struck twice, the second
    // time under the new volume, and measured over the same stretch after
    // each strike: a sampled sound does not hold one level while it sounds.
    port->send(channelMessage(0xC0, kPiano));
    const auto strike = [this] {
        for (int key : {60, 64, 67}) port->send(noteOn(0, key, kSoft));
        const Stereo sound = render(*port, 0.6);
        for (int key : {60, 64, 67}) port->send(noteOff(0, key));
        port->send(channelMessage(0xB0, 120, 0));  // all sound off: nothing rings into the next strike
        render(*port, 2.0);
        return sound;
    };
    const Stereo before = strike();
    port->send(masterVolume(50));
    const Stereo after = strike();

    const std::size_t from = static_cast<std::size_t>(0.2 * kRate), to = static_cast<std::size_t>(0.5 * kRate);
    const double expected =
        db(midi::masterVolumeGain(50 << 7) / midi::masterVolumeGain(midi::kDefaultMasterVolume << 7));
    EXPECT_NEAR(db(rms(after, from, to) / rms(before, from, to)), expected, 0.5);
}

// Every channel at full volume and velocity, at full master volume: far over
// full scale as FluidSynth renders it, at the ceiling as the port plays it.
TEST_F(SynthLevelTest, TheLoudestPlayingStaysBelowTheLimitersCeiling) {
    const auto playLoud = [this](FluidSynthPort& p) {
        p.send(masterVolume(127));
        for (int ch = 0; ch < 16; ++ch) {
            p.send(channelMessage(0xB0 | ch, 7, 127));
            p.send(channelMessage(0xC0 | ch, ch == 9 ? 0 : 8 * ch));
            for (int key : {36, 38, 48, 55, 60, 64}) p.send(noteOn(ch, key, 127));
        }
        return render(p, 0.5);
    };
    FluidSynthPort::Options unlimited;
    unlimited.limit = false;
    FluidSynthPort raw(unlimited);
    raw.attach(&timeline, &clock);
    ASSERT_TRUE(raw.openOffline(kRate));
    ASSERT_GT(peakDb(playLoud(raw)), 0.0) << "the case is loud enough to clip without the limiter";

    clock.set(0.0);
    const double limited = peakDb(playLoud(*port));
    EXPECT_LE(limited, Limiter::kCeilingDb);
    EXPECT_GT(limited, Limiter::kCeilingDb - 1.0);
}

}  // namespace
}  // namespace vornel
