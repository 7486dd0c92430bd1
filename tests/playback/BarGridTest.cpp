#include <gtest/gtest.h>

#include "playback/EngineFixture.h"

namespace vornel {
namespace {

using test::mark;
using test::release;

// How the bar position continues when it has run past the part: after a
// switch to a shorter Main part, past the last bar of a part of fractional
// length, and when the part has no length (a file whose bars cannot be
// counted at all is played through the Play command in TransportTest).
// 1 ms per tick, 384 ticks a bar.
class BarGridTest : public test::EngineTest {
protected:
    BarGridTest() { timing(); }

    // Bars start one bar apart, with no gap and nothing queued twice: every
    // chunk's first cue came after the previous chunk, at the same place in
    // its bar.
    void expectChunksOnTheBarGrid(double lookAhead) {
        const auto next = cuesTagged(CueNextBar);
        ASSERT_GE(next.size(), 2u);
        for (std::size_t i = 0; i < next.size(); ++i) {
            EXPECT_DOUBLE_EQ(next[i].atMs, lookAhead + 384.0 * static_cast<double>(i)) << "cue " << i;
            EXPECT_EQ(next[i].QueuedTicks, 384 * static_cast<int>(i + 2)) << "cue " << i;
            // The chunk just queued starts where the previous one ended.
            EXPECT_EQ(next[i].PartOffset + 384 * (next[i].CurBar - 1), 384 * static_cast<int>(i + 1)) << "cue " << i;
        }
    }
};

// Main B (two bars) picked while the four bars of Main A play: the bar queued
// next is Main B's bar at the same place in the phrase, or its first bar once
// the phrase has gone past Main B's length.
struct ShorterPick {
    double at;  // ms; a bar is queued half a bar before it sounds
    test::Notes notes;
};

class ShorterMainPartTest : public BarGridTest, public ::testing::WithParamInterface<ShorterPick> {};

TEST_P(ShorterMainPartTest, JoinsOnTheBarGrid) {
    barPart(2, 4, 60);
    barPart(7, 2, 74);
    select(1);
    play();
    runTo(GetParam().at);
    select(6);
    runTo(2700);
    EXPECT_EQ(notesPlayed(), GetParam().notes);
    expectChunksOnTheBarGrid(192);
}

INSTANTIATE_TEST_SUITE_P(
    PickedAt, ShorterMainPartTest,
    ::testing::Values(
        // in bar 1, CurBar 1: Main B's bar 2 follows
        ShorterPick{100, {{0, 60}, {384, 75}, {768, 74}, {1152, 75}, {1536, 74}, {1920, 75}, {2304, 74}, {2688, 75}}},
        // in bar 2, CurBar 2: Main B's length, so its bar 1
        ShorterPick{400, {{0, 60}, {384, 61}, {768, 74}, {1152, 75}, {1536, 74}, {1920, 75}, {2304, 74}, {2688, 75}}},
        // CurBar 3: bar 4 of the phrase is Main B's bar 2
        ShorterPick{600, {{0, 60}, {384, 61}, {768, 62}, {1152, 75}, {1536, 74}, {1920, 75}, {2304, 74}, {2688, 75}}},
        // CurBar 4, two above Main B's length: the next bar line starts it
        ShorterPick{1000, {{0, 60}, {384, 61}, {768, 62}, {1152, 63}, {1536, 74}, {1920, 75}, {2304, 74}, {2688, 75}}}));

TEST_F(BarGridTest, PartOfFractionalLengthLoopsWithoutARest) {
    // 2.5 bars: the third chunk is the part's last half bar, and the next
    // pass starts where it ends.
    test::storePart(state, 2, 0, 960,
                    {mark(60, 0), release(60, 300), mark(61, 384), release(61, 684), mark(62, 768), mark(65, 864),
                     release(62, 900), release(65, 950)});
    select(1);
    play();
    EXPECT_DOUBLE_EQ(state.engine.PartBars, 2.5);
    runTo(3500);
    EXPECT_EQ(notesPlayed(), (Notes{{0, 60}, {384, 61}, {768, 62}, {864, 65}, {960, 60}, {1344, 61}, {1728, 62}, {1824, 65},
                                    {1920, 60}, {2304, 61}, {2688, 62}, {2784, 65}, {2880, 60}, {3264, 61}}));
    std::vector<std::int32_t> offsets;
    for (const Cue& c : cuesTagged(CueNextBar)) offsets.push_back(c.PartOffset);
    EXPECT_EQ(offsets, (std::vector<std::int32_t>{0, 0, 960, 960, 960, 1920, 1920, 1920, 2880, 2880, 2880}));
    EXPECT_TRUE(test::soundingNotes(sent()).size() <= 1u) << "every note ended by its own note-off";
    EXPECT_EQ(errorBoxes(), 0u);
}

TEST_F(BarGridTest, HalfBarPartLoopsWithoutARest) {
    test::storePart(state, 2, 0, 192, {mark(60, 0), release(60, 150)});
    select(1);
    play();
    runTo(1200);
    EXPECT_EQ(notesPlayed(), (Notes{{0, 60}, {192, 60}, {384, 60}, {576, 60}, {768, 60}, {960, 60}, {1152, 60}}));
}

TEST_F(BarGridTest, LongMainPartSwitchedToAFractionalOneStaysOnTheGrid) {
    barPart(2, 4, 60);
    test::storePart(state, 7, 5000, 5960, {mark(74, 0), mark(75, 384), mark(76, 768), release(76, 900)});
    select(1);
    play();
    runTo(1000);  // CurBar is 4
    select(6);
    runTo(3100);
    // Bar 5 of the grid is Main B's bar 2 (a pass of 2.5 bars takes three
    // chunks), then its half bar, then Main B again with no rest.
    EXPECT_EQ(notesPlayed(), (Notes{{0, 60}, {384, 61}, {768, 62}, {1152, 63}, {1536, 75}, {1920, 76}, {2112, 74},
                                    {2496, 75}, {2880, 76}, {3072, 74}}));
}

TEST_F(BarGridTest, PartWithoutLengthShowsTheErrorOnceInTheCurrentLanguageAndPlaybackEnds) {
    test::storePart(state, 2, 500, 500, {release(60, 0)});
    select(1);
    play();
    runTo(5000);
    const auto boxes = dialogs.of(test::DialogCall::Kind::MessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Bilinmeyen bir hata oluştu.");
    EXPECT_EQ(boxes[0].title, "Vornel");
    EXPECT_EQ(boxes[0].icon, MessageIcon::None);
    EXPECT_EQ(cuesTagged(CueNextBar).size(), 1u) << "no chunk after the error";
    EXPECT_EQ(state.engine.Playing, 0);
    EXPECT_TRUE(state.Cmd_Play.enabled);
    EXPECT_FALSE(state.Cmd_Stop.enabled);
    EXPECT_EQ(output.queuedCount(), 0u);

    language.LangNo = kLangEnglish;
    play();
    runTo(10000);
    ASSERT_EQ(errorBoxes(), 2u);
    EXPECT_EQ(dialogs.calls.back().text, "Sorry. Unknown error !");
}

TEST_F(BarGridTest, PartLongerThanTheBarCounterStartsAgainAtItsLimit) {
    test::storePart(state, 2, 0, 40000 * 384, {mark(60, 0)});
    select(1);
    state.engine.CurBar = 32767;
    state.engine.QueuedTicks = 99 * 384;
    ASSERT_TRUE(DoPPP(state.engine));
    EXPECT_EQ(state.engine.CurBar, 1);
    EXPECT_EQ(state.engine.PartOffset, 99 * 384);
}

}  // namespace
}  // namespace vornel
