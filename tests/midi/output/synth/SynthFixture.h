#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "midi/output/QueueTimeline.h"
#include "midi/output/synth/FluidSynthPort.h"
#include "midi/output/synth/OfflineRender.h"
#include "midi/output/synth/SoundFontLocator.h"
#include "midi/output/synth/SynthTestSupport.h"
#include "platform/Clock.h"

namespace vornel::test {

// An offline synthesizer on a manual clock, its queue running from real time 0
// at the file's tempo. Skips the test when no SoundFont is installed.
class SynthFixture : public ::testing::Test {
protected:
    static constexpr double kRate = 44100.0;
    static constexpr float kThreshold = 1e-3f;  // well above FluidSynth's silence
    static constexpr int kSnareChannel = 9;     // MIDI channel 10
    static constexpr int kSnare = 38;

    void SetUp() override {
        if (SoundFontLocator::findDefault().empty())
            GTEST_SKIP() << "no General MIDI SoundFont installed (Debian: timgm6mb-soundfont)";
        timeline.write(TimelineState{0.0, 0.0, 1.0, true, 0});
        port = newPort();
    }

    std::unique_ptr<FluidSynthPort> newPort(double rate = kRate) {
        auto p = std::make_unique<FluidSynthPort>();
        p->attach(&timeline, &clock);
        EXPECT_TRUE(p->openOffline(rate));
        return p;
    }

    // Renders from the clock's present time; `hook` runs before each period.
    Stereo render(FluidSynthPort& p, double seconds, int period = 256,
                  std::function<void(double)> hook = {}) {
        OfflineRender r(p, clock, period);
        r.onPeriod(std::move(hook));
        Stereo s;
        r.renderSeconds(seconds, s.left, s.right);
        return s;
    }

    // Frames from the block a snare hit is applied at to its first audible
    // frame: the SoundFont's attack, measured on a hit sent before frame 0.
    long snareAttack() {
        clock.set(0.0);
        auto p = newPort();
        p->send(noteOn(kSnareChannel, kSnare));
        const Stereo s = render(*p, 0.1);
        return onsetFrame(s, kThreshold);
    }

    ManualClock clock;
    QueueTimeline timeline;
    std::unique_ptr<FluidSynthPort> port;
};

}  // namespace vornel::test
