#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "midi/MidiVocabulary.h"
#include "style/MarkerScan.h"

namespace vornel {
namespace {

class LoadMarkerTest : public ::testing::Test {
protected:
    // Hands a copy of the marker text over, as the information step does.
    void mark(const std::string& text) {
        std::string copy = text;
        LoadMarker(copy, buttons, style);
    }

    int enabledCount() const {
        int n = 0;
        for (const Control& c : buttons) n += c.enabled ? 1 : 0;
        return n;
    }

    PartButtons buttons = makePartButtons();
    StyleData style;
};

TEST_F(LoadMarkerTest, EveryMarkerInAnyCaseEnablesItsButton) {
    struct Case {
        const char* text;
        int button;
    };
    const Case cases[] = {
        {"Intro A", 0},    {"main a", 1},      {"Fill In AA", 2},  {"ending a", 3},    {"ENDING B", 4},
        {"fill in bb", 5}, {"mAiN b", 6},      {"intro B", 7},     {"Ending C", 8},    {"Fill in Cc", 9},
        {"MAIN C", 10},    {"Intro c", 11},    {"ending D", 12},   {"FILL IN DD", 13}, {"Main D", 14},
        {"INTRO d", 15},   {"fill In ab", 16}, {"Fill In BA", 17},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        buttons = makePartButtons();
        style.MarkerCount = 0;
        mark(c.text);
        for (int b = 0; b < 18; ++b) EXPECT_EQ(buttons[static_cast<std::size_t>(b)].enabled, b == c.button) << b;
        EXPECT_EQ(style.MarkerCount, 1);
    }
}

TEST_F(LoadMarkerTest, TextsThatDifferInMoreThanCaseEnableNothing) {
    // Blanks are neither trimmed nor folded.
    for (const std::string text : {" Main A", "Main A ", "Main  A", "MainA", "Main\tA", ""}) mark(text);
    mark(std::string("Main A\0", 7));
    // Set-up markers and near misses name no section.
    for (const std::string text : {"SFF1", "SInt", "Main E", "Fill In AC", "Main A2", "Intro"}) mark(text);
    EXPECT_EQ(enabledCount(), 0);
    EXPECT_EQ(style.MarkerCount, 0);
}

TEST_F(LoadMarkerTest, OverwritesTheTextWithItsUpperCaseForm) {
    std::string text = "fill in ab";
    LoadMarker(text, buttons, style);
    EXPECT_EQ(text, "FILL IN AB");
    // Unrecognised texts are upper-cased all the same.
    std::string other = "sff1 x";
    LoadMarker(other, buttons, style);
    EXPECT_EQ(other, "SFF1 X");
}

TEST_F(LoadMarkerTest, OnlyAsciiLettersChangeCase) {
    // "maın a" with the Turkish dotless ı (C4 B1): only a..z are raised, so the
    // ı stays and the text names no section.
    std::string dotless = "ma\xC4\xB1n a";
    LoadMarker(dotless, buttons, style);
    EXPECT_EQ(dotless, "MA\xC4\xB1N A");
    // Bytes of other scripts and high bytes that are not UTF-8 stay as they are.
    std::string mixed =
        "\xC3\xA7\xC5\x9F\xFF"
        "ab\x80z";
    LoadMarker(mixed, buttons, style);
    EXPECT_EQ(mixed,
              "\xC3\xA7\xC5\x9F\xFF"
              "AB\x80Z");
    EXPECT_EQ(enabledCount(), 0);
    EXPECT_EQ(style.MarkerCount, 0);
}

TEST_F(LoadMarkerTest, CountsRepeatsNotSections) {
    mark("Main A");
    mark("MAIN A");
    mark("Intro A");
    mark("nothing");
    EXPECT_EQ(style.MarkerCount, 3);
    EXPECT_EQ(enabledCount(), 2);
    EXPECT_TRUE(buttons[1].enabled);
    EXPECT_TRUE(buttons[0].enabled);
}

TEST_F(LoadMarkerTest, NeverDisablesAndTouchesOnlyTheEnabledState) {
    buttons[5].enabled = true;
    buttons[1].colour = Rgb{255, 128, 128};
    mark("main a");
    EXPECT_TRUE(buttons[5].enabled);
    EXPECT_TRUE(buttons[1].enabled);
    EXPECT_EQ(buttons[1].colour, (Rgb{255, 128, 128}));
    EXPECT_EQ(buttons[1].caption, "Main A");
}

TEST_F(LoadMarkerTest, MarkerCountStopsAtItsMaximum) {
    style.MarkerCount = 32766;
    mark("Main A");
    EXPECT_EQ(style.MarkerCount, 32767);
    mark("Main A");
    EXPECT_EQ(style.MarkerCount, 32767);
}

// --- clearing the part lists ---

TEST(LoadPartLists, ClearsTheUsedSlotsAndLeavesTheRestAlone) {
    StyleData s;
    for (int n = 0; n < 3; ++n) ASSERT_TRUE(s.storeEvent(2, midi::kNoteOn, 60, 100, n * 10, "t", "\xF0\xF7"));
    ASSERT_TRUE(s.storeEvent(18, midi::kControlChange, midi::cc::kVolume, 90, 4, "u", ""));
    s.PartStart(2) = 384;
    s.PartEnd(2) = 1152;
    s.PartStart(18) = -1;
    s.PartEnd(18) = -1;
    // Slot 0 is cleared too; a slot above the count is not, because clearing
    // only costs what the previous style used.
    s.PartMes(2, 0) = 9;
    s.PartMes(2, 4) = 77;
    s.PartText(2, 4) = "beyond";
    s.MarkerCount = 5;
    s.LoadedParts = 2;

    LoadPartLists(s);

    for (int p = 1; p <= 18; ++p) {
        EXPECT_EQ(s.PartEvCount(p), 0) << p;
        EXPECT_EQ(s.PartStart(p), 0) << p;
        EXPECT_EQ(s.PartEnd(p), 0) << p;
    }
    for (int j = 0; j <= 3; ++j) {
        EXPECT_EQ(s.PartMes(2, j), 0) << j;
        EXPECT_EQ(s.PartD1(2, j), 0) << j;
        EXPECT_EQ(s.PartD2(2, j), 0) << j;
        EXPECT_EQ(s.PartTick(2, j), 0) << j;
        EXPECT_EQ(s.PartText(2, j), "") << j;
        EXPECT_EQ(s.PartSysEx(2, j), "") << j;
    }
    EXPECT_EQ(s.PartMes(18, 1), 0);
    EXPECT_EQ(s.PartText(18, 1), "");
    EXPECT_EQ(s.PartMes(2, 4), 77);
    EXPECT_EQ(s.PartText(2, 4), "beyond");
    // The load counters belong to the information step, not to clearing.
    EXPECT_EQ(s.MarkerCount, 5);
    EXPECT_EQ(s.LoadedParts, 2);
}

TEST(LoadPartLists, EmptyPartsTouchNoSlotButStillResetCountsAndBoundaries) {
    StyleData s;
    for (int p = 1; p <= 18; ++p) {
        s.PartStart(p) = -1;
        s.PartEnd(p) = -1;
        s.PartMes(p, 0) = 11;
        s.PartMes(p, 1) = 12;
        s.PartSysEx(p, 1) = "kept";
    }
    LoadPartLists(s);
    for (int p = 1; p <= 18; ++p) {
        SCOPED_TRACE(p);
        EXPECT_EQ(s.PartEvCount(p), 0);
        EXPECT_EQ(s.PartStart(p), 0);
        EXPECT_EQ(s.PartEnd(p), 0);
        EXPECT_EQ(s.PartMes(p, 0), 11);
        EXPECT_EQ(s.PartMes(p, 1), 12);
        EXPECT_EQ(s.PartSysEx(p, 1), "kept");
    }
}

TEST(LoadPartLists, AFullPartIsClearedToItsLastSlotAndCanBeRefilled) {
    StyleData s;
    for (int n = 1; n <= 10000; ++n)
        ASSERT_TRUE(s.storeEvent(15, midi::statusOf(midi::kNoteOn, midi::kDrumChannel), 36, 100, n, "", ""));
    LoadPartLists(s);
    EXPECT_EQ(s.PartEvCount(15), 0);
    EXPECT_EQ(s.PartMes(15, 1), 0);
    EXPECT_EQ(s.PartMes(15, 10000), 0);
    EXPECT_EQ(s.PartTick(15, 10000), 0);
    EXPECT_TRUE(s.storeEvent(15, midi::kNoteOn, 60, 1, 0, "", ""));
    EXPECT_EQ(s.PartEvCount(15), 1);
}

TEST(LoadPartLists, ADamagedCountNeverReachesOutsideTheTables) {
    StyleData s;
    s.PartEvCount(4) = 50000;
    s.PartEvCount(5) = -3;
    s.PartMes(4, 10000) = 1;
    s.PartMes(5, 1) = 1;
    EXPECT_NO_THROW(LoadPartLists(s));
    EXPECT_EQ(s.PartEvCount(4), 0);
    EXPECT_EQ(s.PartEvCount(5), 0);
    EXPECT_EQ(s.PartMes(4, 10000), 0);
    EXPECT_EQ(s.PartMes(5, 1), 1);
}

}  // namespace
}  // namespace vornel
