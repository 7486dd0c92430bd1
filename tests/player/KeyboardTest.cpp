#include <gtest/gtest.h>

#include "player/PlayerTestFixture.h"

namespace vornel {
namespace {

constexpr int kShift = 1, kCtrl = 2, kAlt = 4;

class KeyboardTest : public test::PlayerTest {
protected:
    KeyboardTest() {
        loadMainA();
        dialogs.clear();
    }
};

TEST_F(KeyboardTest, LettersChooseMajorChordsShiftAloneTheMinorOnesAndEveryKeyGivesTheFocusBack) {
    const char keys[] = "AWSEDFTGYHUJ";
    for (int i = 0; i < 12; ++i) {
        player.Picture1_KeyDown(keys[i], kShift);
        EXPECT_EQ(st.engine.ChordIdx, 12 + i) << keys[i];
        EXPECT_EQ(st.engine.IsMinor, 1);
        player.Picture1_KeyDown(keys[i], 0);
        EXPECT_EQ(st.engine.ChordIdx, i) << keys[i];
        EXPECT_EQ(st.engine.IsMinor, 0);
    }
    for (int shift : {kCtrl, kAlt, kShift | kCtrl, kShift | kAlt, kCtrl | kAlt, kShift | kCtrl | kAlt}) {
        player.Picture1_KeyDown('A', kShift);  // away from E major first
        player.Picture1_KeyDown('D', shift);
        EXPECT_EQ(st.engine.ChordIdx, 4) << "any other modifier gives the major chord: " << shift;
    }
    for (int key : {int{'A'}, int{'W'}, int{'Q'}, int{'1'}, 112, 120, 27}) {
        dialogs.clear();
        player.Picture1_KeyDown(key, 0);
        EXPECT_TRUE(lastCallWasFocus()) << key;
    }
}

// However a chord is chosen, the chords frame names it, as it names a chord
// the left hand plays.
TEST_F(KeyboardTest, TheChordsFrameNamesEveryChordChosen) {
    player.Picture1_KeyDown('H', kShift);
    EXPECT_EQ(st.Lbl_LiveChord.caption, "Am");
    player.Lbl_Chord_Click(6);
    EXPECT_EQ(st.Lbl_LiveChord.caption, "F#");
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
    EXPECT_EQ(st.engine.ChordIdx, 0) << "no function key chooses a chord";
}

TEST_F(KeyboardTest, KeysAndLabelsOutsideTheKeyboardsAreIgnoredWithoutAStyle) {
    st.Cmd_Play.enabled = false;
    st.Cmd_Stop.enabled = false;
    for (int key : {int{'H'}, 112, 120}) player.Picture1_KeyDown(key, kShift);
    player.Lbl_Chord_Click(24);
    player.Lbl_Chord_Click(-1);
    EXPECT_EQ(st.engine.ChordIdx, 0);
    EXPECT_EQ(st.Cmd_DisCh[0].colour, st.ColOn);
    EXPECT_EQ(st.MetersOff, 0);
    EXPECT_TRUE(sent().empty());
    EXPECT_TRUE(dialogs.calls.empty()) << "not even the focus moves";
}

TEST_F(KeyboardTest, ChordChoiceBlinksInTheLabelsOwnColourAndARepeatDoesNothing) {
    player.Lbl_Chord_Click(13);
    EXPECT_EQ(st.Lbl_Chord[13].colour, st.ColSelected);
    EXPECT_EQ(st.engine.Transpose, 1);
    EXPECT_EQ(st.engine.IsMinor, 1);
    EXPECT_TRUE(timer3.running());
    timer3.tick();
    EXPECT_EQ(st.Lbl_Chord[13].colour, st.ColBlink);
    timer3.tick();
    EXPECT_EQ(st.Lbl_Chord[13].colour, (Rgb{0, 0, 0})) << "C sharp is a black key";

    // Key repeat: a click on the chosen label changes nothing at all.
    timer3.tick();
    dialogs.clear();
    for (int i = 0; i < 5; ++i) player.Lbl_Chord_Click(13);
    EXPECT_TRUE(dialogs.calls.empty());
    EXPECT_EQ(st.Lbl_Chord[13].colour, st.ColBlink);
    EXPECT_TRUE(timer3.running()) << "the blinking goes on";
}

TEST_F(KeyboardTest, BlinkPhaseCarriesOverToTheNextChoice) {
    player.Lbl_Chord_Click(5);
    timer3.tick();  // phase 1: blink colour shown
    player.Lbl_Chord_Click(6);
    timer3.tick();
    EXPECT_EQ(st.Lbl_Chord[6].colour, st.KeyColors[6]) << "the phase was not reset";
    EXPECT_EQ(st.ChordBlink, 0);
}

}  // namespace
}  // namespace vornel
