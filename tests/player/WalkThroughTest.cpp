#include <gtest/gtest.h>

#include <cmath>

#include "midi/MidiVocabulary.h"
#include "playback/PlaybackChunk.h"
#include "player/PlayerTestFixture.h"

namespace vornel {
namespace {

using test::DialogCall;
using test::SentMessage;

// Main A's drums and chord part, on channels 10 and 12.
constexpr int kDrums = midi::statusOf(midi::kNoteOn, midi::kDrumChannel);
constexpr int kChords = midi::statusOf(midi::kNoteOn, 11);
constexpr int kChordsOff = midi::statusOf(midi::kNoteOff, 11);

struct Msg {
    int tick, status, d1, d2;
    friend bool operator==(const Msg&, const Msg&) = default;
};
std::ostream& operator<<(std::ostream& os, const Msg& m) {
    return os << "{" << m.tick << ", " << m.status << ", " << m.d1 << ", " << m.d2 << "}";
}

// Main A, two bars of 4/4 at 96 ticks per quarter, plays in C major; the user
// holds Shift and presses H. Every message, stamp, colour and counter is
// followed from the key to the bar in which the blinking stops.
class WalkThroughTest : public test::PlayerTest {
protected:
    WalkThroughTest() {
        test::FileTiming t;
        t.tempo = 500000;
        std::vector<test::Ev> bar;
        for (int offset : {0, 384}) {
            const std::vector<test::Ev> one{{kDrums, 36, 100, 0},     {kChords, 60, 90, 0},  {kChords, 64, 90, 0},
                                            {kChords, 67, 90, 0},     {kDrums, 36, 0, 96},   {kChords, 71, 80, 192},
                                            {kChordsOff, 71, 0, 300}, {kChords, 60, 0, 360}, {kChords, 64, 0, 360},
                                            {kChords, 67, 0, 360}};
            for (test::Ev e : one) {
                e.tick += offset;
                bar.push_back(e);
            }
        }
        loadMainA(t, bar);
    }

    static double msPerTick() { return static_cast<double>(static_cast<float>(500.0 / 96.0)); }
    // A message leaves at the first 1 ms step at or after its stamp.
    static int tickOf(double atMs) { return static_cast<int>(std::lround((atMs - 0.5) / msPerTick())); }
    static bool isCarrier(const SentMessage& m) {
        return m.message.status == midi::kNoteOn && m.message.data1 == 36 && m.message.data2 == 0;
    }

    // The music sent between two ticks, carriers left out.
    std::vector<Msg> music(int fromTick, int toTick) {
        std::vector<Msg> out;
        for (const SentMessage& m : sent()) {
            if (isCarrier(m)) continue;
            const int tick = tickOf(m.atMs);
            if (tick >= fromTick && tick < toTick)
                out.push_back({tick, m.message.status, m.message.data1, m.message.data2});
        }
        return out;
    }
};

TEST_F(WalkThroughTest, ShiftHWhileMainAPlaysInCMajor) {
    player.Cmd_Play_Click();
    runTo(1900);  // bar 1 sounds; bar 2 was queued at its next-bar cue, the lead before the bar line
    ASSERT_EQ(st.engine.CurBar, 2);
    EXPECT_TRUE(st.engine.List2.empty()) << "bar 1's notes all end inside bar 1";
    const std::size_t before = sent().size();
    dialogs.clear();

    player.Picture1_KeyDown('H', 1);

    // The labels get their own colours and label 21 the selected one.
    for (int i = 0; i < 24; ++i) {
        if (i == 21) continue;
        EXPECT_EQ(st.Lbl_Chord[static_cast<std::size_t>(i)].colour, st.KeyColors[static_cast<std::size_t>(i % 12)])
            << i;
    }
    EXPECT_EQ(st.Lbl_Chord[21].colour, st.ColSelected);
    EXPECT_EQ(sent().size(), before) << "nothing sounding is cut at the click";
    EXPECT_EQ(st.engine.ClosedChord, 0) << "the queued notes are still C major's";
    EXPECT_EQ(st.engine.Transpose, -3);
    EXPECT_EQ(st.engine.IsMinor, 1);
    EXPECT_EQ(st.engine.ChordIdx, 21);
    EXPECT_TRUE(timer3.running());
    EXPECT_TRUE(lastCallWasFocus());

    runTo(2500);
    timer3.tick();
    EXPECT_EQ(st.Lbl_Chord[21].colour, st.ColBlink);
    timer3.tick();
    EXPECT_EQ(st.Lbl_Chord[21].colour, (Rgb{255, 255, 255})) << "A is a white key";

    // The next-bar cue in bar 2 queues the part's first bar again, in A minor,
    // with a chunk-start cue on the bar line.
    runTo(3900);
    EXPECT_EQ(st.engine.CurBar, 1);
    EXPECT_EQ(st.engine.PartOffset, 768);
    EXPECT_EQ(st.engine.QueuedTicks, 1152);
    EXPECT_EQ(st.engine.ClosedChord, 21);
    EXPECT_TRUE(timer3.running()) << "blinking goes on until the new chord sounds";

    runTo(4005);  // just past the bar line at tick 768 (4,000 ms)
    EXPECT_FALSE(timer3.running());
    EXPECT_EQ(st.Lbl_Chord[21].colour, st.ColSelected);
    EXPECT_EQ(st.Cmd_Part[1].colour, st.ColSelected);

    runTo(6100);
    // Bar 2 was queued before the key: it sounds in C major, every note to
    // its own note-off at the key it struck.
    EXPECT_EQ(music(384, 768), (std::vector<Msg>{{384, kDrums, 36, 100},
                                                 {384, kChords, 60, 90},
                                                 {384, kChords, 64, 90},
                                                 {384, kChords, 67, 90},
                                                 {480, kDrums, 36, 0},
                                                 {576, kChords, 72, 80},
                                                 {684, kChordsOff, 72, 0},
                                                 {744, kChords, 60, 0},
                                                 {744, kChords, 64, 0},
                                                 {744, kChords, 67, 0}}));
    EXPECT_EQ(music(768, 1152), (std::vector<Msg>{{768, kDrums, 36, 100},
                                                  {768, kChords, 57, 90},
                                                  {768, kChords, 60, 90},  // E of the pattern: the minor third
                                                  {768, kChords, 64, 90},
                                                  {864, kDrums, 36, 0},    // drums keep their notes
                                                  {960, kChords, 69, 80},  // B of the pattern: the octave
                                                  {1068, kChordsOff, 69, 0},
                                                  {1128, kChords, 57, 0},
                                                  {1128, kChords, 60, 0},
                                                  {1128, kChords, 64, 0}}));

    // The carriers' cues, in stamp order: each bar is queued 150 ms before
    // its bar line.
    std::vector<std::pair<int, std::int32_t>> carriers;
    for (const Cue& c : cues)
        if (c.tag <= 1) carriers.push_back({tickOf(c.atMs), c.tag});
    EXPECT_EQ(carriers, (std::vector<std::pair<int, std::int32_t>>{
                            {355, CueNextBar}, {739, CueNextBar}, {768, CueChunkStart}, {1123, CueNextBar}}));
}

}  // namespace
}  // namespace vornel
