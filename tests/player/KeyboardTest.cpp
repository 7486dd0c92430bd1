#include <gtest/gtest.h>

#include "player/PlayerTestFixture.h"

namespace vornel {
namespace {

using test::DialogCall;
using Kind = DialogCall::Kind;

constexpr int kShift = 1, kCtrl = 2, kAlt = 4;

class KeyboardTest : public test::PlayerTest {
protected:
    KeyboardTest() {
        loadMainA();
        dialogs.clear();
    }
};

TEST_F(KeyboardTest, LettersChooseMajorChordsAndShiftAloneTheMinorOnes) {
    const char keys[] = "AWSEDFTGYHUJ";
    for (int i = 0; i < 12; ++i) {
        player.Picture1_KeyDown(keys[i], kShift);
        EXPECT_EQ(st.ChordIdx, 12 + i) << keys[i];
        EXPECT_EQ(st.IsMinor, 1);
        player.Picture1_KeyDown(keys[i], 0);
        EXPECT_EQ(st.ChordIdx, i) << keys[i];
        EXPECT_EQ(st.IsMinor, 0);
    }
}

TEST_F(KeyboardTest, ShiftHChoosesAMinorAndHAloneAMajor) {
    player.Picture1_KeyDown('H', kShift);
    EXPECT_EQ(st.ChordIdx, 21);
    EXPECT_EQ(st.Transpose, -3);
    EXPECT_EQ(st.IsMinor, 1);
    player.Picture1_KeyDown('H', 0);
    EXPECT_EQ(st.ChordIdx, 9);
    EXPECT_EQ(st.Transpose, -3);
    EXPECT_EQ(st.IsMinor, 0);
}

TEST_F(KeyboardTest, AnyOtherModifierGivesTheMajorChord) {
    for (int shift : {kCtrl, kAlt, kShift | kCtrl, kShift | kAlt, kCtrl | kAlt, kShift | kCtrl | kAlt}) {
        player.Picture1_KeyDown('A', kShift);  // away from C major first
        player.Picture1_KeyDown('D', shift);
        EXPECT_EQ(st.ChordIdx, 4) << "modifiers " << shift;
    }
}

TEST_F(KeyboardTest, FunctionKeysSwitchChannelsAndMetersWhateverTheModifiers) {
    for (int shift : {0, kShift, kCtrl, kAlt, kShift | kCtrl | kAlt}) {
        for (int i = 0; i < 8; ++i) {
            const Rgb was = st.Cmd_DisCh[static_cast<std::size_t>(i)].colour;
            player.Picture1_KeyDown(112 + i, shift);
            EXPECT_NE(st.Cmd_DisCh[static_cast<std::size_t>(i)].colour, was) << "F" << i + 1 << " modifiers " << shift;
        }
        const std::int16_t meters = st.MetersOff;
        player.Picture1_KeyDown(120, shift);
        EXPECT_NE(st.MetersOff, meters) << "F9 modifiers " << shift;
    }
    EXPECT_EQ(st.ChordIdx, 0) << "no function key chooses a chord";
}

TEST_F(KeyboardTest, KeysAreIgnoredWithoutAStyle) {
    st.Cmd_Play.enabled = false;
    st.Cmd_Stop.enabled = false;
    for (int key : {int{'H'}, 112, 120}) player.Picture1_KeyDown(key, kShift);
    EXPECT_EQ(st.ChordIdx, 0);
    EXPECT_EQ(st.Cmd_DisCh[0].colour, st.ColOn);
    EXPECT_EQ(st.MetersOff, 0);
    EXPECT_TRUE(sent().empty());
    EXPECT_TRUE(dialogs.calls.empty()) << "not even the focus moves";
}

TEST_F(KeyboardTest, KeysWorkWhilePlaying) {
    player.Cmd_Play_Click();
    player.Picture1_KeyDown('G', 0);
    EXPECT_EQ(st.ChordIdx, 7);
}

TEST_F(KeyboardTest, KeyRepeatChoosesTheChordOnce) {
    player.Picture1_KeyDown('S', 0);
    ASSERT_TRUE(timer3.running());
    timer3.tick();  // blinking
    dialogs.clear();
    const Rgb blinking = st.Lbl_Chord[2].colour;
    for (int i = 0; i < 5; ++i) player.Lbl_Chord_Click(2);
    EXPECT_TRUE(dialogs.calls.empty()) << "a click on the chosen label does nothing at all";
    EXPECT_EQ(st.Lbl_Chord[2].colour, blinking);
    EXPECT_TRUE(timer3.running()) << "the blinking goes on";
}

TEST_F(KeyboardTest, EveryHandledKeyGivesTheFocusBack) {
    for (int key : {int{'A'}, int{'W'}, int{'Q'}, int{'1'}, 112, 120, 27}) {
        dialogs.clear();
        player.Picture1_KeyDown(key, 0);
        EXPECT_TRUE(lastCallWasFocus()) << key;
    }
}

TEST_F(KeyboardTest, ChordChoicePaintsTheLabelsAndStartsTheBlink) {
    player.Lbl_Chord_Click(13);
    for (int i = 0; i < 24; ++i)
        if (i != 13) {
            EXPECT_EQ(st.Lbl_Chord[static_cast<std::size_t>(i)].colour, st.KeyColors[static_cast<std::size_t>(i % 12)]) << i;
        }
    EXPECT_EQ(st.Lbl_Chord[13].colour, st.ColSelected);
    EXPECT_EQ(st.Transpose, 1);
    EXPECT_EQ(st.IsMinor, 1);
    EXPECT_TRUE(timer3.running());
    EXPECT_TRUE(lastCallWasFocus());

    timer3.tick();
    EXPECT_EQ(st.Lbl_Chord[13].colour, st.ColBlink);
    timer3.tick();
    EXPECT_EQ(st.Lbl_Chord[13].colour, (Rgb{0, 0, 0})) << "C sharp is a black key";
}

TEST_F(KeyboardTest, BlinkPhaseCarriesOverToTheNextChoice) {
    player.Lbl_Chord_Click(5);
    timer3.tick();  // phase 1: blink colour shown
    player.Lbl_Chord_Click(6);
    timer3.tick();
    EXPECT_EQ(st.Lbl_Chord[6].colour, st.KeyColors[6]) << "the phase was not reset";
    EXPECT_EQ(st.ChordBlink, 0);
}

TEST_F(KeyboardTest, ChordChoiceClosesTheEarlierNotesUnderThePreviousChord) {
    st.List2 = {{155, 72}};
    st.ChordIdx = 0;
    player.Lbl_Chord_Click(21);
    const auto s = sent();
    ASSERT_EQ(s.size(), 1u);
    EXPECT_EQ(s[0].message.data1, 72);
    EXPECT_EQ(st.ClosedChord, 0);
}

TEST_F(KeyboardTest, LabelOutsideTheKeyboardsIsIgnored) {
    player.Lbl_Chord_Click(24);
    player.Lbl_Chord_Click(-1);
    EXPECT_EQ(st.ChordIdx, 0);
    EXPECT_TRUE(dialogs.calls.empty());
}

}  // namespace
}  // namespace vornel
