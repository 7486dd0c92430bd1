// The output component playing its queue into the built-in synthesizer,
// rendered offline: what the user would hear, measured in the samples.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "midi/output/MIDIOutput.h"
#include "midi/output/synth/OfflineRender.h"
#include "midi/output/synth/OfflineSynthPort.h"
#include "midi/output/synth/SoundFontLocator.h"
#include "midi/output/synth/SynthTestSupport.h"
#include "support/OutputCalls.h"
#include "support/TempDir.h"

namespace vornel::test {
namespace {

constexpr double kRate = 44100.0;
constexpr float kThreshold = 1e-3f;

class ComponentIntoSynth : public ::testing::Test {
protected:
    void SetUp() override {
        if (SoundFontLocator::findDefault().empty())
            GTEST_SKIP() << "no General MIDI SoundFont installed (Debian: timgm6mb-soundfont)";
        out.CueReached = [this](std::int32_t tag) { cues.push_back({clock.nowMs(), tag}); };
        out.QueueDone = [this] { ++done; };
        out.PortNumber(-1);
        out.PortCommand(MIDIOutput::OpenPort);
        ASSERT_EQ(out.PortIsOpen(), 1);
    }

    void queue(double at, int status, int d1, int d2, std::int32_t tag = 0) {
        queueMessage(out, at, status, d1, d2, tag);
    }

    // Leaves the clock at the end of what was rendered (not at the last
    // period's start), so that what the test does next happens after all of it.
    Stereo render(double seconds, int period) {
        return renderFrames(static_cast<std::size_t>(std::llround(seconds * kRate)), period);
    }
    Stereo renderFrames(std::size_t frames, int period) {
        OfflineRender r(provider.last->synth(), clock, period);
        r.onPeriod([this](double) {
            out.pump();
            ui.drain();
        });
        Stereo s;
        r.renderFrames(frames, s.left, s.right);
        clock.set(r.msAtFrame(static_cast<double>(r.framesRendered())));
        return s;
    }

    struct Cue {
        double atMs;
        std::int32_t tag;
    };

    ManualClock clock;
    QueueDispatcher ui;
    OfflineSynthProvider provider{kRate};
    MIDIOutput out{provider, ui, clock, MIDIOutput::Drive::Manual};
    std::vector<Cue> cues;
    int done = 0;
};

TEST_F(ComponentIntoSynth, QueuedNotesAreHeardAtTheirTimeAtAnyPeriod) {
    for (int period : {64, 1024}) {
        SCOPED_TRACE(period);
        clock.set(0);
        out.PortCommand(MIDIOutput::StopQueue);
        out.PortCommand(MIDIOutput::OpenPort);  // a fresh synthesizer, its frame 0 at real 0
        ASSERT_EQ(out.PortIsOpen(), 1);
        queue(0, 0x99, 38, 120);
        queue(500, 0x99, 38, 120);
        queue(1250, 0x99, 38, 120, 10120);
        out.PortCommand(MIDIOutput::StartQueue);
        const Stereo s = render(1.6, period);
        // The snare's own attack: from frame 0, where the hit at stamp 0 is
        // applied, to its first audible sample.
        const long attack = onsetFrame(s, kThreshold);
        ASSERT_GE(attack, 0);
        for (double ms : {500.0, 1250.0}) {
            const long ideal = static_cast<long>(ms * kRate / 1000.0);
            const long heard = onsetFrame(s, kThreshold, ideal - 2000);
            EXPECT_NEAR(heard - attack, ideal, 32) << "note at " << ms << " ms";
        }
        ASSERT_FALSE(cues.empty());
        EXPECT_EQ(cues.back().tag, 10120);
        EXPECT_GE(cues.back().atMs, 1250 - 32 * 1000.0 / kRate) << "cued when played, not when handed over";
        cues.clear();
    }
}

TEST_F(ComponentIntoSynth, StopSilencesWhatWasHandedOverAndWritesAWav) {
    queue(0, 0xC0, 19, 0);      // church organ: sustains until released
    queue(0, 0x90, 60, 100);
    queue(400, 0x90, 64, 100);  // handed over ahead of time, then stopped before it sounds
    out.PortCommand(MIDIOutput::StartQueue);
    Stereo s = render(0.38, 256);
    out.PortCommand(MIDIOutput::StopQueue);
    for (int n : {60, 64}) sendNow(out, 0x90, n, 0);  // what a stop is followed by in the player
    const Stereo tail = render(1.5, 256);
    // The organ was sounding before the stop...
    EXPECT_GT(rms(s, s.left.size() - 4410, s.left.size()), 1e-3);
    // ...and half a second after it there is only the release's silence.
    const std::size_t halfSecond = static_cast<std::size_t>(0.5 * kRate);
    EXPECT_LT(rms(tail, halfSecond, tail.left.size()), 1e-4);
    EXPECT_EQ(done, 0) << "no run-out after a stop";

    TempDir dir;
    const auto path = dir.path() / "organ.wav";
    OfflineRender r(provider.last->synth(), clock, 256);
    ASSERT_TRUE(r.renderToWav(0.1, path));
    EXPECT_EQ(std::filesystem::file_size(path), 44u + 4410u * 2u * 2u);
}

// Every cue carrier would otherwise be a note-off for the right hand's C2.
TEST_F(ComponentIntoSynth, ACueCarrierIsCuedAtItsTimeButNeverReachesTheSynthesizer) {
    sendNow(out, 0xC0, 19, 0);  // church organ: sustains until released
    sendNow(out, 0x90, 36, 100);
    queue(200, 0x90, 36, 0, 3);
    out.PortCommand(MIDIOutput::StartQueue);
    const Stereo s = render(0.6, 256);
    ASSERT_EQ(cues.size(), 1u);
    EXPECT_EQ(cues[0].tag, 3);
    EXPECT_GE(cues[0].atMs, 200 - 32 * 1000.0 / kRate);
    EXPECT_GT(rms(s, static_cast<std::size_t>(0.5 * kRate), s.size()), 1e-3) << "the organ's C2 still sounds";
}

// Whatever was handed to the synthesizer and has not been played when the
// queue is stopped or discarded is never heard, not even what is due a moment
// later or was handed over just before; a discarded queue's clock runs on.
TEST_F(ComponentIntoSynth, NothingQueuedSoundsAfterAStopOrADiscard) {
    for (int command : {MIDIOutput::StopQueue, MIDIOutput::DiscardQueue}) {
        SCOPED_TRACE(command);
        clock.set(0);
        out.PortCommand(MIDIOutput::StopQueue);
        out.PortCommand(MIDIOutput::OpenPort);  // a fresh synthesizer, its frame 0 at real 0
        ASSERT_EQ(out.PortIsOpen(), 1);
        queue(102, 0x99, 38, 120);
        queue(140, 0x99, 38, 120);
        out.PortCommand(MIDIOutput::StartQueue);
        render(0.1, 256);
        ASSERT_DOUBLE_EQ(clock.nowMs(), 100);
        queue(105, 0x99, 40, 120);
        out.pump();  // handed over: on its way to the audio thread as the command comes
        out.PortCommand(command);
        sendNow(out, 0x89, 38, 0);
        sendNow(out, 0x89, 40, 0);
        // Due at real 200 ms: queue time starts again after a stop, runs on after a discard.
        queue(command == MIDIOutput::StopQueue ? 100 : 200, 0x99, 38, 120);
        out.PortCommand(MIDIOutput::StartQueue);
        const Stereo after = render(0.2, 256);
        const long onset = onsetFrame(after, kThreshold);
        ASSERT_GE(onset, 0) << "the note queued afterwards is heard";
        EXPECT_GE(onset, static_cast<long>(0.1 * kRate) - 32) << "and it is the first sound after the command";
    }
}

// The rest of a bar queued again in a new chord: the old chord's notes on their
// way to the synthesizer never sound, and the new one queued at the withdrawn
// stamp sounds from the first block rendered after the withdraw.
TEST_F(ComponentIntoSynth, AWithdrawnNoteNeverSoundsAndTheOneQueuedInItsPlaceSoundsAtOnce) {
    constexpr int kPeriod = 256;
    // An organ note applied before frame 0 is first heard `attack` frames later.
    sendNow(out, 0xC0, 19, 0);
    sendNow(out, 0x90, 67, 100);
    out.PortCommand(MIDIOutput::StartQueue);  // queue time is real time from here
    const long attack = onsetFrame(renderFrames(kPeriod, kPeriod), kThreshold);
    ASSERT_GE(attack, 0);
    sendNow(out, 0x80, 67, 0);
    renderFrames(171 * kPeriod, kPeriod);  // the release dies away; a block boundary is next
    const double t = clock.nowMs();
    queue(t + 5, 0x90, 60, 100);
    queue(t + 60, 0x90, 64, 100);
    queue(t + 900, 0x80, 60, 0);
    queue(t + 900, 0x80, 64, 0);
    out.pump();
    ASSERT_EQ(out.queuedCount(), 3u) << "the first is on its way to the audio thread";
    out.CueTime(t);
    out.PortCommand(MIDIOutput::WithdrawQueued);
    queue(t, 0x90, 67, 100);
    queue(t + 50, 0x80, 67, 0);
    const Stereo after = renderFrames(static_cast<std::size_t>(kRate), kPeriod);
    EXPECT_NEAR(onsetFrame(after, kThreshold), attack, 8) << "applied before the first block";
    // Once the new note has died away there is silence: neither withdrawn note sounded.
    EXPECT_LT(rms(after, static_cast<std::size_t>(0.6 * kRate), after.size()), 1e-4);
}

}  // namespace
}  // namespace vornel::test
