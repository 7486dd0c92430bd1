#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <string>

#include "midi/MidiVocabulary.h"
#include "style/StyleData.h"

namespace vornel {
namespace {

TEST(StyleData, StartsEmpty) {
    StyleData s;
    for (int p = 0; p <= 18; ++p) {
        EXPECT_EQ(s.PartEvCount(p), 0);
        EXPECT_EQ(s.PartStart(p), 0);
        EXPECT_EQ(s.PartEnd(p), 0);
    }
    EXPECT_EQ(s.MarkerCount, 0);
    EXPECT_EQ(s.LoadedParts, 0);
    EXPECT_EQ(s.PartMes(18, 10000), 0);
    EXPECT_EQ(s.PartSysEx(18, 10000), "");
}

TEST(StyleData, StoreEventFillsSlotsFromOneInFileOrder) {
    StyleData s;
    const std::string sysEx("\xF0\x7E\x7F\x09\x01\xF7", 6);
    ASSERT_TRUE(s.storeEvent(2, midi::kNoteOn, 60, 100, 0, "", ""));
    ASSERT_TRUE(s.storeEvent(2, midi::kSysEx, 0, 0, 96, "text", sysEx));
    EXPECT_EQ(s.PartEvCount(2), 2);
    EXPECT_EQ(s.PartMes(2, 1), midi::kNoteOn);
    EXPECT_EQ(s.PartD1(2, 1), 60);
    EXPECT_EQ(s.PartD2(2, 1), 100);
    EXPECT_EQ(s.PartTick(2, 1), 0);
    EXPECT_EQ(s.PartMes(2, 2), midi::kSysEx);
    EXPECT_EQ(s.PartTick(2, 2), 96);
    EXPECT_EQ(s.PartText(2, 2), "text");
    EXPECT_EQ(s.PartSysEx(2, 2), sysEx);  // bytes unchanged, F0 and F7 included
    // Slot 0 is never used, and no other part moved.
    EXPECT_EQ(s.PartMes(2, 0), 0);
    for (int p = 0; p <= 18; ++p)
        if (p != 2) {
            EXPECT_EQ(s.PartEvCount(p), 0) << p;
        }
}

TEST(StyleData, PartEighteenIsANormalEntryAndPartZeroIsNeverFilled) {
    StyleData s;
    EXPECT_TRUE(s.storeEvent(18, midi::kControlChange, midi::cc::kVolume, 100, 5, "", ""));
    EXPECT_EQ(s.PartEvCount(18), 1);
    EXPECT_EQ(s.PartD1(18, 1), midi::cc::kVolume);

    EXPECT_FALSE(s.storeEvent(0, midi::kNoteOn, 60, 100, 0, "", ""));
    EXPECT_FALSE(s.storeEvent(19, midi::kNoteOn, 60, 100, 0, "", ""));
    EXPECT_FALSE(s.storeEvent(-1, midi::kNoteOn, 60, 100, 0, "", ""));
    EXPECT_EQ(s.PartEvCount(0), 0);
    EXPECT_EQ(s.PartMes(0, 1), 0);
}

TEST(StyleData, HoldsExactlyTenThousandEventsPerPart) {
    StyleData s;
    for (int n = 1; n <= 10000; ++n)
        ASSERT_TRUE(s.storeEvent(7, midi::kNoteOn, static_cast<std::int16_t>(n % 128), 1, n, "", "")) << n;
    EXPECT_EQ(s.PartEvCount(7), 10000);
    EXPECT_EQ(s.PartTick(7, 10000), 10000);

    // The 10001st is refused and leaves everything as it was.
    EXPECT_FALSE(s.storeEvent(7, midi::kNoteOff, 99, 99, 99999, "late", "late"));
    EXPECT_EQ(s.PartEvCount(7), 10000);
    EXPECT_EQ(s.PartTick(7, 10000), 10000);
    EXPECT_EQ(s.PartText(7, 10000), "");
    // The neighbouring part's first slot is untouched.
    EXPECT_EQ(s.PartMes(8, 0), 0);
    EXPECT_EQ(s.PartMes(8, 1), 0);
    // A full part does not stop another part from filling.
    EXPECT_TRUE(s.storeEvent(8, midi::kNoteOn, 1, 1, 0, "", ""));
}

TEST(StyleData, RefusesToStoreOverADamagedCount) {
    StyleData s;
    s.PartEvCount(3) = -4;
    EXPECT_FALSE(s.storeEvent(3, midi::kNoteOn, 60, 100, 0, "", ""));
    s.PartEvCount(3) = 12000;
    EXPECT_FALSE(s.storeEvent(3, midi::kNoteOn, 60, 100, 0, "", ""));
}

// CurPart is -1 before a style is loaded; a handler that reads the tables
// with it must get an empty value, not a crash or an exception.
TEST(StyleData, IndexesOutsideTheTablesReadEmptyAndForgetWrites) {
    StyleData s;
    s.PartStart(1) = 480;
    s.PartMes(18, 10000) = midi::kNoteOn;
    EXPECT_EQ(s.PartStart(-1), 0);
    s.PartStart(-1) = 7;            // goes nowhere...
    EXPECT_EQ(s.PartStart(19), 0);  // ...and is not read back through another bad index
    EXPECT_EQ(s.PartEnd(-1), 0);
    s.PartTick(1, 10001) = 99;
    EXPECT_EQ(s.PartTick(0, -1), 0);
    s.PartText(1, -1) = "lost";
    EXPECT_EQ(s.PartText(19, 0), "");
    const StyleData& c = s;
    EXPECT_EQ(c.PartEvCount(19), 0);
    EXPECT_EQ(c.PartSysEx(0, 10001), "");
    EXPECT_EQ(c.PartStart(1), 480) << "valid entries are untouched";
    EXPECT_EQ(c.PartMes(18, 10000), midi::kNoteOn);
}

}  // namespace
}  // namespace vornel
