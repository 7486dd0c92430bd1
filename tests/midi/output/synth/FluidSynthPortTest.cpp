#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>
#include <vector>

#include "midi/output/synth/AudioDrivers.h"
#include "midi/output/synth/BlockScheduler.h"
#include "midi/output/synth/FluidLog.h"
#include "midi/output/synth/FluidSynthPort.h"
#include "midi/output/synth/SynthFixture.h"

namespace vornel {
namespace {

using test::noteOff;
using test::noteOn;
using test::onsetFrame;
using test::rms;
using test::Stereo;
using test::SynthFixture;

std::size_t frameAt(double ms) {
    return static_cast<std::size_t>(ms * 44.1);
}

// --- Timing, heard in the samples -------------------------------------------

class ScheduledOnset : public SynthFixture, public ::testing::WithParamInterface<std::tuple<double, int>> {};

// A snare hit queued for a given time is heard within half a block of that
// time (plus the SoundFont's own attack), whatever the audio period.
TEST_P(ScheduledOnset, AQueuedNoteIsHeardAtItsTime) {
    const auto [dueMs, period] = GetParam();
    const long attack = snareAttack();
    ASSERT_GE(attack, 0);
    clock.set(0.0);
    port = newPort();
    ASSERT_TRUE(port->schedule(noteOn(kSnareChannel, kSnare), dueMs, TimedTag{1, 7, 0}));
    const Stereo s = render(*port, dueMs / 1000.0 + 0.1, period);

    const double ideal = dueMs * kRate / 1000.0;
    const long onset = onsetFrame(s, kThreshold);
    ASSERT_GE(onset, 0) << "never heard";
    EXPECT_LE(std::fabs(double(onset - attack) - ideal), BlockScheduler::kBlockFrames / 2.0)
        << "onset " << onset << ", attack " << attack << ", ideal " << ideal;
    AppliedEvent applied[2];
    ASSERT_EQ(port->takeAppliedAt(applied, 2), 1u);
    EXPECT_EQ(applied[0].tag.cueTag, 7);
    EXPECT_EQ(applied[0].frame, onset - attack);
}

INSTANTIATE_TEST_SUITE_P(DueTimesAndPeriods, ScheduledOnset,
                         ::testing::Combine(::testing::Values(200.0, 500.37, 813.91),
                                            ::testing::Values(64, 1024, 300)));

enum class Ending { NoteOff, VelocityZero, None };

class NoteEnding : public SynthFixture, public ::testing::WithParamInterface<Ending> {};

// An organ holds its level until the note ends, then falls silent within a
// short release; a note-on of velocity 0 ends it as a note-off does.
TEST_P(NoteEnding, TheNoteSoundsUntilANoteOffOrVelocityZero) {
    const Ending ending = GetParam();
    port->send(test::channelMessage(0xC0, 16));  // Drawbar Organ
    port->schedule(noteOn(0, 60), 100.0, TimedTag{1, 0, 0});
    if (ending != Ending::None)
        port->schedule(ending == Ending::VelocityZero ? noteOn(0, 60, 0) : noteOff(0, 60), 500.0, TimedTag{2, 0, 0});
    const Stereo s = render(*port, 1.0);
    const double held = rms(s, frameAt(300), frameAt(500));
    const double after = rms(s, frameAt(700), frameAt(900));
    EXPECT_GT(held, 1e-3);
    if (ending == Ending::None)
        EXPECT_GT(after, held / 2.0) << "the organ itself should sustain";
    else
        EXPECT_LT(after, held / 20.0) << "held " << held << ", after " << after;
}

INSTANTIATE_TEST_SUITE_P(Endings, NoteEnding, ::testing::Values(Ending::NoteOff, Ending::VelocityZero, Ending::None),
                         [](const auto& info) {
                             switch (info.param) {
                                 case Ending::NoteOff:
                                     return "NoteOff";
                                 case Ending::VelocityZero:
                                     return "VelocityZero";
                                 default:
                                     return "NoEndHeld";
                             }
                         });

// A stop (new generation) after the hand-over voids the message: no sound,
// no report.
TEST_F(SynthFixture, AStaleGenerationNoteIsNeitherHeardNorReported) {
    port->schedule(noteOn(kSnareChannel, kSnare), 300.0, TimedTag{1, 3, 0});
    render(*port, 0.1);
    timeline.write(TimelineState{clock.nowMs(), 0.0, 1.0, false, 1});
    const Stereo rest = render(*port, 0.9);
    EXPECT_EQ(onsetFrame(rest, 1e-6f), -1);
    TimedTag tags[4];
    EXPECT_EQ(port->takeApplied(tags, 4), 0u);
}

// At 400 ms the tempo doubles: the hit queued for queue time 1000 ms, already
// handed over, is heard at real time 700 ms.
TEST_F(SynthFixture, ATempoChangeMovesAHandedOverNoteEarlier) {
    const long attack = snareAttack();
    clock.set(0.0);
    port = newPort();
    port->schedule(noteOn(kSnareChannel, kSnare), 1000.0, TimedTag{1, 0, 0});
    OfflineRender r(*port, clock, 256);
    Stereo s;
    r.renderFrames(frameAt(400), s.left, s.right);
    timeline.write(TimelineState{400.0, 400.0, 2.0, true, 0});
    r.renderFrames(frameAt(1200) - frameAt(400), s.left, s.right);
    const long onset = onsetFrame(s, kThreshold);
    ASSERT_GE(onset, 0);
    EXPECT_LE(std::fabs(double(onset - attack) - 700.0 * 44.1), BlockScheduler::kBlockFrames / 2.0);
}

TEST_F(SynthFixture, AMessageSentAtOnceIsHeardFromTheNextBlock) {
    const long attack = snareAttack();
    clock.set(0.0);
    port = newPort();
    long sentAtFrame = -1;
    const Stereo s = render(*port, 0.5, 256, [&](double now) {
        if (sentAtFrame < 0 && now >= 250.0) {
            port->send(noteOn(kSnareChannel, kSnare));
            sentAtFrame = std::lround(now * 44.1);
        }
    });
    ASSERT_GT(sentAtFrame, 0);
    EXPECT_EQ(onsetFrame(s, kThreshold), sentAtFrame + attack);
}

// --- What reaches FluidSynth ------------------------------------------------

// A Yamaha style selects its drum kit with bank MSB 127: the channel must then
// sound exactly like channel 10, not like a piano.
TEST_F(SynthFixture, XgDrumBankSelectGivesADrumKitOnAnyChannel) {
    const auto hit = [&](std::vector<MidiMessage> setup) {
        clock.set(0.0);
        auto p = newPort();
        for (const MidiMessage& m : setup) p->send(m);
        return render(*p, 0.5);
    };
    const Stereo drums = hit({noteOn(9, kSnare)});
    const Stereo xg = hit({test::channelMessage(0xB0, 0, 127), test::channelMessage(0xC0, 0), noteOn(0, kSnare)});
    const Stereo piano = hit({test::channelMessage(0xC0, 0), noteOn(0, kSnare)});
    const std::size_t n = drums.size();
    EXPECT_GT(test::correlation(drums, xg, 0, n), 0.99);
    EXPECT_LT(test::correlation(drums, piano, 0, n), 0.5);
}

// GM System On resets the organ back to a piano; it is recognised only without
// the F0/F7 framing, so this also checks that the framing is stripped.
TEST_F(SynthFixture, SysExReachesTheSynthesizer) {
    const auto note = [&](bool reset) {
        clock.set(0.0);
        auto p = newPort();
        p->send(test::channelMessage(0xC0, 16));
        if (reset)
            p->send(test::sysex({0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7}));
        else
            p->send(test::sysex({0xF0, 0xF7}));  // empty: must change nothing
        p->send(noteOn(0, 60));
        return render(*p, 0.4);
    };
    const auto pianoNote = [&] {
        clock.set(0.0);
        auto p = newPort();
        p->send(noteOn(0, 60));
        return render(*p, 0.4);
    };
    const Stereo piano = pianoNote();
    const Stereo reset = note(true);
    const Stereo organ = note(false);
    EXPECT_GT(test::correlation(piano, reset, 0, piano.size()), 0.99);
    EXPECT_LT(test::correlation(piano, organ, 0, piano.size()), 0.5);
}

// A sysex FluidSynth would ignore anyway travels as a silent carrier: its cue
// still comes back at its time.
TEST_F(SynthFixture, AnOverlongSysExIsCarriedSilentlyAndReportedOnTime) {
    std::vector<int> bytes(300, 0x10);
    bytes.front() = 0xF0;
    bytes.back() = 0xF7;
    ASSERT_TRUE(port->schedule(test::sysex(bytes), 100.0, TimedTag{1, 9, 0}));
    EXPECT_EQ(port->droppedMessages(), 1u);
    render(*port, 0.2);
    AppliedEvent applied[2];
    ASSERT_EQ(port->takeAppliedAt(applied, 2), 1u);
    EXPECT_EQ(applied[0].tag.cueTag, 9);
    EXPECT_LE(std::fabs(double(applied[0].frame) - 4410.0), 32.0);
}

TEST_F(SynthFixture, ReportsComeBackInOrderAcrossPartialTakes) {
    for (std::uint64_t i = 0; i < 150; ++i)
        ASSERT_TRUE(port->schedule(noteOff(0, 60), 10.0 + double(i) / 10.0, TimedTag{i, 0, 0}));
    render(*port, 0.1);
    std::vector<TimedTag> tags(100);
    ASSERT_EQ(port->takeApplied(tags.data(), 100), 100u);
    std::vector<TimedTag> more(100);
    ASSERT_EQ(port->takeApplied(more.data(), 100), 50u);
    tags.insert(tags.end(), more.begin(), more.begin() + 50);
    for (std::uint64_t i = 0; i < 150; ++i) EXPECT_EQ(tags[i].serial, i);
    EXPECT_EQ(port->takeApplied(more.data(), 0), 0u);
}

// --- Refusals: never block, never throw --------------------------------------

TEST_F(SynthFixture, FullRingsDropRatherThanBlock) {
    std::size_t taken = 0;
    while (port->schedule(noteOn(0, 60), 5000.0, TimedTag{taken, 0, 0})) ++taken;
    EXPECT_EQ(taken, BlockScheduler::kScheduledCapacity);
    for (int i = 0; i < 9000; ++i) port->send(noteOff(0, i % 128));
    EXPECT_EQ(port->droppedMessages(), 9000u - BlockScheduler::kImmediateCapacity);
    render(*port, 0.05);  // drains: room again
    port->send(noteOff(0, 1));
    EXPECT_EQ(port->droppedMessages(), 9000u - BlockScheduler::kImmediateCapacity);
}

TEST_F(SynthFixture, RefusesWhatItCannotSchedule) {
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_FALSE(port->schedule(noteOn(0, 60), inf, TimedTag{}));
    EXPECT_FALSE(port->schedule(noteOn(0, 60), std::nan(""), TimedTag{}));
    FluidSynthPort unattached;
    EXPECT_TRUE(unattached.openOffline(kRate));
    EXPECT_FALSE(unattached.schedule(noteOn(0, 60), 10.0, TimedTag{}));
    port->close();
    EXPECT_FALSE(port->schedule(noteOn(0, 60), 10.0, TimedTag{}));
    const std::uint64_t before = port->droppedMessages();
    port->send(noteOn(0, 60));
    port->send(test::channelMessage(0x90, 200, 1));
    EXPECT_EQ(port->droppedMessages(), before + 2);
}

TEST_F(SynthFixture, OpeningAndClosingTwiceIsHarmless) {
    EXPECT_TRUE(port->openOffline(kRate));
    EXPECT_TRUE(port->open());  // already open
    EXPECT_TRUE(port->isOpen());
    port->close();
    port->close();
    EXPECT_FALSE(port->isOpen());
    std::vector<float> l(256, 9.0f), r(256, 9.0f);
    port->render(l.data(), r.data(), 256);  // closed: silence
    EXPECT_EQ(*std::max_element(l.begin(), l.end()), 0.0f);
    port->render(nullptr, r.data(), 256);
    port->render(l.data(), r.data(), -5);
    EXPECT_TRUE(port->openOffline(kRate));  // and again
    EXPECT_TRUE(port->isOpen());
}

TEST_F(SynthFixture, OfflineSampleRateMustBeOneFluidSynthAccepts) {
    FluidSynthPort p;
    for (double bad : {0.0, 7999.0, 96001.0, -44100.0, std::nan("")}) EXPECT_FALSE(p.openOffline(bad));
    EXPECT_FALSE(p.isOpen());
    clock.set(0.0);
    auto at48k = newPort(48000.0);
    EXPECT_EQ(at48k->sampleRate(), 48000.0);
    at48k->schedule(noteOff(0, 60), 100.0, TimedTag{1, 0, 0});
    render(*at48k, 0.2);
    AppliedEvent applied[1];
    ASSERT_EQ(at48k->takeAppliedAt(applied, 1), 1u);
    EXPECT_LE(std::fabs(double(applied[0].frame) - 4800.0), 32.0);
}

TEST_F(SynthFixture, LeadCoversTwoPeriodsAndSlack) {
    EXPECT_NEAR(port->leadMs(), 2 * 64 / 44.1 + FluidSynthPort::kSchedulingSlackMs, 1e-9);
    render(*port, 0.1, 1024);
    EXPECT_NEAR(port->leadMs(), 2 * 1024 / 44.1 + FluidSynthPort::kSchedulingSlackMs, 1e-9);
}

// --- Opening without SoundFont or sound hardware -----------------------------

TEST(FluidSynthPortOpen, AMissingSoundFontFailsQuietlyAndLeavesTheReason) {
    FluidLog::clearLastError();
    FluidSynthPort p(FluidSynthPort::Options{"/no/such/folder/gm.sf2", {}});
    testing::internal::CaptureStderr();
    EXPECT_FALSE(p.openOffline(44100.0));
    EXPECT_FALSE(p.open());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_FALSE(p.isOpen());
    EXPECT_FALSE(FluidLog::lastError().empty());
}

TEST(FluidSynthPortOpen, NoUsableAudioDriverFailsQuietly) {
    const std::string soundFont = SoundFontLocator::findDefault().string();
    if (soundFont.empty()) GTEST_SKIP() << "no General MIDI SoundFont installed";
    FluidSynthPort p(FluidSynthPort::Options{soundFont, {"no-such-driver"}});
    testing::internal::CaptureStderr();
    EXPECT_FALSE(p.open());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_FALSE(p.isOpen());
    EXPECT_EQ(p.audioDriver(), "");
    p.send(noteOn(0, 60));
    EXPECT_EQ(p.droppedMessages(), 1u);
    p.close();
    p.close();
    EXPECT_TRUE(p.openOffline(44100.0));  // nothing left over from the failure
}

// Whatever this machine has: a consistent answer, nothing thrown, nothing
// printed by us (alsa-lib prints its own errors when ALSA devices exist).
TEST(FluidSynthPortOpen, TheDefaultDriversOpenOrFailCleanly) {
    FluidSynthPort p;
    testing::internal::CaptureStderr();
    const bool opened = p.open();
    const std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_EQ(p.isOpen(), opened);
    EXPECT_EQ(p.audioDriver().empty(), !opened);
    if (!AudioDrivers::alsaDevicesPresent()) {
        EXPECT_EQ(printed, "");
    }
    p.close();
    EXPECT_FALSE(p.isOpen());
}

}  // namespace
}  // namespace vornel
