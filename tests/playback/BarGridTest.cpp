#include <gtest/gtest.h>

#include "playback/EngineFixture.h"

namespace vornel {
namespace {

using test::DialogCall;
using test::mark;
using test::release;
using Notes = std::vector<std::pair<double, int>>;

// How the bar position continues when it has run past the part: after a
// switch to a shorter Main part, past the last bar of a part of fractional
// length, and when the part's bars cannot be counted at all. 1 ms per tick,
// 384 ticks a bar.
class BarGridTest : public test::EngineTest {
protected:
    BarGridTest() { timing(); }

    void barPart(int p, int bars, int base) {
        std::vector<test::Ev> events;
        for (int b = 0; b < bars; ++b) {
            events.push_back(mark(base + b, b * 384));
            events.push_back(release(base + b, b * 384 + 300));
        }
        test::storePart(state, p, 1000 * p, 1000 * p + bars * 384, events);
    }

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

    std::size_t errorBoxes() const { return dialogs.count(DialogCall::Kind::MessageBox); }
};

TEST_F(BarGridTest, ShorterMainPartPickedInTheLastBarOfALongerOneStartsAtTheNextBarLine) {
    barPart(2, 4, 60);
    barPart(7, 2, 74);
    select(1);
    play();
    runTo(1000);  // bar 3 sounds, bar 4 is queued: CurBar is 4, two above Main B's length
    select(6);
    runTo(2700);
    EXPECT_EQ(notesPlayed(), (Notes{{0, 60}, {384, 61}, {768, 62}, {1152, 63}, {1536, 74}, {1920, 75}, {2304, 74}, {2688, 75}}));
    expectChunksOnTheBarGrid(192);
}

TEST_F(BarGridTest, ShorterMainPartPickedFurtherInKeepsItsPlaceInThePhrase) {
    barPart(2, 4, 60);
    barPart(7, 2, 74);
    select(1);
    play();
    runTo(600);  // bar 2 sounds, bar 3 is queued: CurBar is 3
    select(6);
    runTo(2310);
    // Bar 4 of the phrase is Main B's bar 2; then Main B from its first bar.
    EXPECT_EQ(notesPlayed(), (Notes{{0, 60}, {384, 61}, {768, 62}, {1152, 75}, {1536, 74}, {1920, 75}, {2304, 74}}));
    expectChunksOnTheBarGrid(192);
}

TEST_F(BarGridTest, OneBarMainPartPickedLateLoopsFromTheNextBarLine) {
    barPart(2, 8, 60);
    barPart(11, 1, 80);  // Main C
    select(1);
    play();
    runTo(2000);  // CurBar is 6
    select(10);
    runTo(3500);
    EXPECT_EQ(notesPlayed(), (Notes{{0, 60}, {384, 61}, {768, 62}, {1152, 63}, {1536, 64}, {1920, 65}, {2304, 80},
                                    {2688, 80}, {3072, 80}, {3456, 80}}));
    expectChunksOnTheBarGrid(192);
}

TEST_F(BarGridTest, PartOfFractionalLengthLoopsOnTheBarGrid) {
    // 2.5 bars: the third bar holds the part's last half bar and then rests.
    test::storePart(state, 2, 0, 960,
                    {mark(60, 0), release(60, 300), mark(61, 384), release(61, 684), mark(62, 768), mark(65, 864),
                     release(62, 900), release(65, 950)});
    select(1);
    play();
    runTo(3500);
    EXPECT_EQ(notesPlayed(), (Notes{{0, 60}, {384, 61}, {768, 62}, {864, 65}, {1152, 60}, {1536, 61}, {1920, 62}, {2016, 65},
                                    {2304, 60}, {2688, 61}, {3072, 62}, {3168, 65}, {3456, 60}}));
    expectChunksOnTheBarGrid(96);  // a quarter bar in
    std::vector<std::int32_t> offsets;
    for (const Cue& c : cuesTagged(CueNextBar)) offsets.push_back(c.PartOffset);
    EXPECT_EQ(offsets, (std::vector<std::int32_t>{0, 0, 1152, 1152, 1152, 2304, 2304, 2304, 3456}));
    EXPECT_EQ(errorBoxes(), 0u);
}

TEST_F(BarGridTest, HalfBarPartTakesOneBarAPass) {
    test::storePart(state, 2, 0, 192, {mark(60, 0), release(60, 150)});
    select(1);
    play();
    runTo(1200);
    EXPECT_EQ(notesPlayed(), (Notes{{0, 60}, {384, 60}, {768, 60}, {1152, 60}}));
    expectChunksOnTheBarGrid(96);
}

TEST_F(BarGridTest, LongMainPartSwitchedToAFractionalOneStaysOnTheGrid) {
    barPart(2, 4, 60);
    test::storePart(state, 7, 5000, 5960, {mark(74, 0), mark(75, 384), mark(76, 768), release(76, 900)});
    select(1);
    play();
    runTo(1000);  // CurBar is 4
    select(6);
    runTo(3100);
    // Bar 5 of the grid is Main B's bar 2 (a pass of 2.5 bars takes three).
    EXPECT_EQ(notesPlayed(), (Notes{{0, 60}, {384, 61}, {768, 62}, {1152, 63}, {1536, 75}, {1920, 76}, {2304, 74},
                                    {2688, 75}, {3072, 76}}));
}

TEST_F(BarGridTest, PartWithoutLengthShowsTheErrorOnceAndPlaybackEnds) {
    test::storePart(state, 2, 500, 500, {release(60, 0)});
    select(1);
    play();
    runTo(5000);
    const auto boxes = dialogs.of(DialogCall::Kind::MessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Bilinmeyen bir hata oluştu.");
    EXPECT_EQ(boxes[0].title, "Vornel");
    EXPECT_EQ(boxes[0].icon, MessageIcon::None);
    EXPECT_EQ(cuesTagged(CueNextBar).size(), 1u) << "no chunk after the error";
    EXPECT_EQ(state.Playing, 0);
    EXPECT_TRUE(state.Cmd_Play.enabled);
    EXPECT_FALSE(state.Cmd_Stop.enabled);
    EXPECT_EQ(output.queuedCount(), 0u);
}

TEST_F(BarGridTest, TheErrorSpeaksTheCurrentLanguage) {
    language.LangNo = kLangEnglish;
    test::storePart(state, 2, 500, 500, {release(60, 0)});
    select(1);
    play();
    runTo(1000);
    ASSERT_EQ(errorBoxes(), 1u);
    EXPECT_EQ(dialogs.calls.back().text, "Sorry. Unknown error !");
}

TEST_F(BarGridTest, MainPartWithoutLengthAfterAnIntroIsReportedAtItsFirstCue) {
    barPart(1, 1, 40);
    test::storePart(state, 2, 500, 500, {release(60, 0)});
    select(0);
    play();
    runTo(5000);
    EXPECT_EQ(errorBoxes(), 1u);
    EXPECT_EQ(timesOf(CueNextPart), std::vector<double>{192});
    EXPECT_EQ(cuesTagged(CueNextBar).size(), 1u);
    EXPECT_EQ(state.Playing, 0);
    EXPECT_TRUE(test::soundingNotes(sent()).empty());
}

TEST_F(BarGridTest, FileWithoutTimeSignatureNumeratorIsReportedOnceAndStops) {
    test::FileTiming t;
    t.timeSigNum = 0;
    timing(t);
    ASSERT_EQ(reader.TimeSigNum(), 0);
    barPart(2, 2, 60);
    select(1);
    play();
    EXPECT_DOUBLE_EQ(state.PartBars, 1.0);
    runTo(5000);
    EXPECT_EQ(errorBoxes(), 1u);
    EXPECT_EQ(cuesTagged(CueNextBar).size(), 1u);
    EXPECT_EQ(state.Playing, 0);
    EXPECT_TRUE(state.Cmd_Play.enabled);
}

TEST_F(BarGridTest, IntroOfAFileWithoutNumeratorPlaysUntilItsCue) {
    test::FileTiming t;
    t.timeSigNum = 0;
    timing(t);
    barPart(1, 2, 40);
    barPart(2, 1, 60);
    select(0);
    play();
    runTo(5000);
    // The note that shares the cue's stamp still sounds; the rest is discarded.
    EXPECT_EQ(notesPlayed(), (Notes{{0, 40}, {384, 41}}));
    EXPECT_EQ(timesOf(CueNextPart), std::vector<double>{384});
    EXPECT_EQ(errorBoxes(), 1u);
    EXPECT_EQ(state.Playing, 0);
    EXPECT_TRUE(test::soundingNotes(sent()).empty());
}

TEST_F(BarGridTest, FileWithoutResolutionIsReportedOnceAndStops) {
    test::FileTiming t;
    t.resolution = 0;
    timing(t);
    ASSERT_EQ(reader.Resolution(), 0);
    barPart(2, 2, 60);
    select(1);
    play();
    runTo(5000);
    EXPECT_EQ(errorBoxes(), 1u);
    EXPECT_EQ(cuesTagged(CueNextBar).size(), 1u);
    EXPECT_TRUE(notesPlayed().empty());
    EXPECT_EQ(state.Playing, 0);
    EXPECT_EQ(output.stats().refused, 0u);
}

TEST_F(BarGridTest, DoPPPReportsWhetherTheNextChunkMayBeQueued) {
    barPart(2, 2, 60);
    barPart(4, 2, 80);
    select(3);
    state.CurBar = 2;
    EXPECT_TRUE(DoPPP(state)) << "an ending whose bars are all queued is still queued whole";
    EXPECT_EQ(errorBoxes(), 0u);

    test::FileTiming t;
    t.resolution = 0;
    timing(t);
    EXPECT_FALSE(DoPPP(state));
    EXPECT_EQ(errorBoxes(), 1u);
}

TEST_F(BarGridTest, PartLongerThanTheBarCounterStartsAgainAtItsLimit) {
    test::storePart(state, 2, 0, 40000 * 384, {mark(60, 0)});
    select(1);
    state.CurBar = 32767;
    state.QueuedTicks = 99 * 384;
    ASSERT_TRUE(DoPPP(state));
    EXPECT_EQ(state.CurBar, 1);
    EXPECT_EQ(state.PartOffset, 99 * 384);
}

}  // namespace
}  // namespace vornel
