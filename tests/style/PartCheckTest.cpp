#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "style/StyleLoading.h"
#include "support/PlayerFixture.h"

namespace vornel {
namespace {

using test::DialogCall;

// Whether the chosen chord survives a check is pinned through LoadFile (a
// reload, a rejection, a part clicked after it) in LoadFileTest.
class PartCheck : public ::testing::Test, protected test::PlayerFixture {
protected:
    // The part buttons as marker recognition leaves them.
    void offer(std::initializer_list<int> buttons) {
        for (Control& b : state.Cmd_Part) b.enabled = false;
        for (int b : buttons) state.Cmd_Part[static_cast<std::size_t>(b)].enabled = true;
    }
};

TEST_F(PartCheck, FirstOfferedMainSectionIsChosen) {
    struct Case {
        std::initializer_list<int> buttons;
        int curPart;
        const char* name;
    };
    for (const Case& c : {Case{{0, 1, 6, 10, 14}, 2, "Main A"}, Case{{6, 14, 3}, 7, "Main B"},
                          Case{{14, 10}, 11, "Main C"}, Case{{14, 17}, 15, "Main D"}}) {
        SCOPED_TRACE(c.name);
        offer(c.buttons);
        CheckParts(state);
        EXPECT_EQ(state.engine.CurPart, c.curPart);
        EXPECT_EQ(state.engine.PartName, c.name);
        for (int b = 0; b < kPartCount; ++b)
            EXPECT_EQ(state.Cmd_Part[static_cast<std::size_t>(b)].colour,
                      b == c.curPart - 1 ? state.ColSelected : state.ColNormal);
        for (const Control& label : state.Lbl_Chord) EXPECT_TRUE(label.enabled);
    }
    EXPECT_EQ(dialogs.count(DialogCall::Kind::MessageBox), 0u);
    EXPECT_FALSE(timer1.running()) << "a choice while stopped does not blink";
}

TEST_F(PartCheck, NoMainSectionRejectsTheFileInTheCurrentLanguage) {
    state.Cmd_Play.enabled = true;
    state.engine.CurPart = 7;
    state.engine.PartName = "Main B";
    for (Control* c : {&state.Lbl_Copy, &state.Lbl_Name, &state.Lbl_Tempo, &state.Lbl_TimeSign, &state.Lbl_Size,
                       &state.Lbl_DataC, &state.Frm_File})
        c->caption = "kept?";
    offer({0, 2, 3, 7});
    CheckParts(state);

    EXPECT_EQ(state.engine.CurPart, -1);
    EXPECT_EQ(state.engine.PartName, "");
    for (const Control* c : {&state.Lbl_Copy, &state.Lbl_Name, &state.Lbl_Tempo, &state.Lbl_TimeSign})
        EXPECT_EQ(c->caption, "-");
    for (const Control* c : {&state.Lbl_Size, &state.Lbl_DataC, &state.Frm_File}) EXPECT_EQ(c->caption, "kept?");
    EXPECT_FALSE(state.Lbl_Loading.visible);
    EXPECT_FALSE(state.Cmd_Play.enabled || state.Cmd_Stop.enabled);
    // The other sections stay offered, and nothing was chosen.
    for (int b : {0, 2, 3, 7}) EXPECT_TRUE(state.Cmd_Part[static_cast<std::size_t>(b)].enabled);
    for (const Control& label : state.Lbl_Chord) EXPECT_FALSE(label.enabled);

    language.LangNo = kLangEnglish;
    CheckParts(state);
    const auto boxes = dialogs.of(DialogCall::Kind::MessageBox);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "Main A, B, C ve D kısımlarından hiçbiri bulunamadı");
    EXPECT_EQ(boxes[1].text, "There is no Main A, B, C, D one of part");
}

}  // namespace
}  // namespace vornel
