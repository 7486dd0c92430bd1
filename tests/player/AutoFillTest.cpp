// Auto fill: a Main part chosen while another Main part sounds starts with the
// fill that leads into it.
#include <gtest/gtest.h>

#include "player/AutoFill.h"
#include "player/PlayerTestFixture.h"

namespace vornel {
namespace {

constexpr int kMainA = 1, kMainB = 6, kMainC = 10, kIntroA = 0;
constexpr int kFillAA = 2, kFillBB = 5, kFillCC = 9, kFillAB = 16, kFillBA = 17;

PartButtons offering(std::initializer_list<int> offered) {
    PartButtons buttons = makePartButtons();
    for (int b : offered) buttons[static_cast<std::size_t>(b)].enabled = true;
    return buttons;
}

TEST(AutoFill, TakesTheFillBetweenTheVariationsElseTheNewOnesOwn) {
    const PartButtons all = offering({kMainA, kMainB, kMainC, kFillAA, kFillBB, kFillCC, kFillAB, kFillBA});
    EXPECT_EQ(autoFillButton(kMainA, kMainB, all), kFillAB);
    EXPECT_EQ(autoFillButton(kMainB, kMainA, all), kFillBA);
    EXPECT_EQ(autoFillButton(kMainA, kMainA, all), kFillAA) << "to the same Main, its own fill";
    EXPECT_EQ(autoFillButton(kMainA, kMainC, all), kFillCC) << "no Fill In AC exists";
    const PartButtons fewer = offering({kMainA, kMainB, kFillBB});
    EXPECT_EQ(autoFillButton(kMainA, kMainB, fewer), kFillBB) << "without Fill In AB";
    EXPECT_EQ(autoFillButton(kMainB, kMainA, fewer), -1) << "no fill leads into Main A";
    EXPECT_EQ(autoFillButton(kIntroA, kMainB, all), -1);
    EXPECT_EQ(autoFillButton(kMainA, kFillBB, all), -1);
}

class AutoFillPlayerTest : public test::PlayerTest {};

// Main A plays; with auto fill on, choosing Main B plays Fill In AB from the
// next bar line, then Main B. Off, Main B comes straight.
TEST_F(AutoFillPlayerTest, ChoosingAnotherMainPlaysItsFillFirst) {
    for (bool autoFill : {true, false}) {
        SCOPED_TRACE(autoFill ? "on" : "off");
        loadMainA();
        test::storePart(st, kMainB + 1, 2000, 2384, {test::mark(65, 0), test::release(65, 300)});
        test::storePart(st, kFillAB + 1, 3000, 3384, {test::mark(64, 0), test::release(64, 300)});
        if (player.liveSettings().autoFill != autoFill) player.Cmd_AutoFill_Click();
        EXPECT_EQ(st.Cmd_AutoFill.colour == st.ColOn, autoFill);
        const double start = clock.nowMs();
        player.Cmd_Play_Click();
        runTo(start + 100);
        player.Cmd_Part_Click(kMainB);
        runTo(start + 1100);
        const test::Notes expected =
            autoFill ? test::Notes{{0, 60}, {384, 64}, {768, 65}} : test::Notes{{0, 60}, {384, 65}, {768, 65}};
        test::Notes played;
        for (const auto& [ms, key] : notesPlayed())
            if (ms >= start) played.push_back({ms - start, key});
        EXPECT_EQ(played, expected);
        player.Cmd_Stop_Click();
    }
}

}  // namespace
}  // namespace vornel
