#include <gtest/gtest.h>

#include <string>

#include "style/PartButtons.h"
#include "style/PartTable.h"

namespace vornel {
namespace {

struct ExpectedPart {
    int partNumber;
    int button;
    const char* section;
    const char* marker;
    int loadOrder;
};

// Typed from the style format's table, not derived from the code.
constexpr ExpectedPart kExpected[] = {
    {1, 0, "Intro A", "INTRO A", 1},        {2, 1, "Main A", "MAIN A", 5},
    {3, 2, "Fill In AA", "FILL IN AA", 13}, {4, 3, "Ending A", "ENDING A", 9},
    {5, 4, "Ending B", "ENDING B", 10},     {6, 5, "Fill In BB", "FILL IN BB", 14},
    {7, 6, "Main B", "MAIN B", 6},          {8, 7, "Intro B", "INTRO B", 2},
    {9, 8, "Ending C", "ENDING C", 11},     {10, 9, "Fill In CC", "FILL IN CC", 15},
    {11, 10, "Main C", "MAIN C", 7},        {12, 11, "Intro C", "INTRO C", 3},
    {13, 12, "Ending D", "ENDING D", 12},   {14, 13, "Fill In DD", "FILL IN DD", 16},
    {15, 14, "Main D", "MAIN D", 8},        {16, 15, "Intro D", "INTRO D", 4},
    {17, 16, "Fill In AB", "FILL IN AB", 17}, {18, 17, "Fill In BA", "FILL IN BA", 18},
};

TEST(PartTable, EveryRowMatchesTheSectionTable) {
    ASSERT_EQ(std::size(kExpected), kPartTable.size());
    for (const ExpectedPart& e : kExpected) {
        SCOPED_TRACE(e.section);
        const PartInfo& p = kPartTable[static_cast<std::size_t>(e.button)];
        EXPECT_EQ(p.partNumber, e.partNumber);
        EXPECT_EQ(p.button, e.button);
        EXPECT_EQ(p.sectionName, e.section);
        EXPECT_EQ(p.markerText, e.marker);
        EXPECT_EQ(p.loadOrder, e.loadOrder);
    }
}

TEST(PartTable, LoadOrderAndMainButtons) {
    const std::array<int, 18> loadOrder{0, 7, 11, 15, 1, 6, 10, 14, 3, 4, 8, 12, 2, 5, 9, 13, 16, 17};
    EXPECT_EQ(kLoadOrderButtons, loadOrder);
    const std::array<int, 4> mains{1, 6, 10, 14};
    EXPECT_EQ(kMainButtons, mains);
    EXPECT_EQ(kPartCapacity, 10000);
    EXPECT_EQ(kPartEntries, 19);
    EXPECT_EQ(kPartSlots, 10001);
}

TEST(PartButtons, StartDisabledWithSectionCaptionsInLightGrey) {
    const PartButtons buttons = makePartButtons();
    for (const ExpectedPart& e : kExpected) {
        SCOPED_TRACE(e.section);
        const Control& c = buttons[static_cast<std::size_t>(e.button)];
        EXPECT_FALSE(c.enabled);
        EXPECT_TRUE(c.visible);
        EXPECT_EQ(c.caption, e.section);
        EXPECT_EQ(c.colour, (Rgb{224, 224, 224}));
        EXPECT_EQ(c.toolTip, "");
    }
    const PartButtons red = makePartButtons(Rgb{255, 0, 0});
    EXPECT_EQ(red[17].colour, (Rgb{255, 0, 0}));
}

}  // namespace
}  // namespace vornel
