#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "windows/KeyMapForm.h"
#include "windows/PlayerBeside.h"

namespace vornel {
namespace {

// Trims the spaces a chord label carries for its place on the keyboard.
std::string trimmed(const std::string& s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

class KeyMapFormTest : public ::testing::Test, protected test::PlayerBeside {
protected:
    KeyMapFormTest() {
        keyMap.showPlayer = [this] {
            keyMapVisibleWhenPlayerShown = keyMap.window.visible;
            player.Show();
        };
        player.windows.showKeyMap = [this] { keyMap.Show(); };
        // Keys reach the chords and channels once a style is loaded.
        player.state().Cmd_Play.enabled = true;
    }

    KeyMapForm keyMap;
    bool keyMapVisibleWhenPlayerShown = true;
};

TEST_F(KeyMapFormTest, TheFortyLabelsReadExactlyAsWrittenInEveryLanguage) {
    const std::vector<std::pair<std::string, std::string>> pairs{
        {"Key A  --->>>", "C"},        {"Key W --->>>", "C#"},         {"Key S  --->>>", "D"},
        {"Key E --->>>", "Eb"},        {"Key D --->>>", "E"},          {"Key F  --->>>", "F"},
        {"Key T --->>>", "F#"},        {"Key G --->>>", "G"},          {"Key Y --->>>", "Ab"},
        {"Key H --->>>", "A"},         {"Key U --->>>", "Bb"},         {"Key J  --->>>", "B"},
        {"F 1  --->>>", "Sub Rhythm"}, {"F 2  --->>>", "Main Rhythm"}, {"F 3  --->>>", "Bass"},
        {"F 4 --->>>", "Chord 1"},     {"F 5 --->>>", "Chord 2"},      {"F 6  --->>>", "Pad"},
        {"F 7  --->>>", "Phrase 1"},   {"F 8  --->>>", "Phrase 2"}};
    const struct {
        int lang;
        const char* title;
        const char* ok;
    } languages[] = {{kLangTurkish, "Harita", "Tamam"}, {kLangEnglish, "Key map", "Ok"}};
    for (const auto& l : languages) {
        keyMap.relabel(language.table, l.lang);
        EXPECT_EQ(keyMap.window.caption, l.title);
        EXPECT_EQ(keyMap.Command1.caption, l.ok);
        for (std::size_t i = 0; i < pairs.size(); ++i) {
            EXPECT_EQ(keyMap.Label1[i].caption, pairs[i].first) << i;
            EXPECT_EQ(keyMap.Label2[i].caption, pairs[i].second) << i;
        }
        EXPECT_EQ(keyMap.Label3.caption, "* Minor = Shift + Key ...");
    }
    EXPECT_FALSE(keyMap.window.visible) << "created hidden, relabelling does not show it";
}

TEST_F(KeyMapFormTest, EachLetterKeyPicksTheChordItsLabelNames) {
    std::string letters;
    for (int i = 0; i < KeyMapForm::kLetterKeyCount; ++i) {
        const std::string& key = keyMap.Label1[static_cast<std::size_t>(i)].caption;
        ASSERT_EQ(key.rfind("Key ", 0), 0u) << key;
        const char letter = key[4];
        letters += letter;
        player.Picture1_KeyDown(letter, 0);
        EXPECT_EQ(player.state().engine.ChordIdx, i) << key;
        EXPECT_EQ(trimmed(player.state().Lbl_Chord[static_cast<std::size_t>(i)].caption),
                  keyMap.Label2[static_cast<std::size_t>(i)].caption);
    }
    EXPECT_EQ(letters, "AWSEDFTGYHUJ") << "C to B in chromatic order";
}

TEST_F(KeyMapFormTest, EachFunctionKeySwitchesTheChannelItsLabelNames) {
    constexpr int kKeyF1 = 112;
    for (int i = 0; i < 8; ++i) {
        const auto pair = static_cast<std::size_t>(KeyMapForm::kLetterKeyCount + i);
        const std::string& key = keyMap.Label1[pair].caption;
        ASSERT_EQ(key.rfind("F " + std::to_string(i + 1) + " ", 0), 0u) << key;
        const Rgb before = player.state().Cmd_DisCh[static_cast<std::size_t>(i)].colour;
        player.Picture1_KeyDown(kKeyF1 + i, 0);
        EXPECT_NE(player.state().Cmd_DisCh[static_cast<std::size_t>(i)].colour, before) << key;
        EXPECT_EQ(player.state().Label6[static_cast<std::size_t>(i)].caption,
                  keyMap.Label2[pair].caption);
    }
}

// The MIDI keyboard's keys and paragraph use the words of the player's own
// buttons, in each language.
TEST_F(KeyMapFormTest, KeyboardKeysNameTheButtonsTheyPress) {
    TextTable table;
    table.SetTheLangsQuery();
    for (const int lang : {kLangTurkish, kLangEnglish}) {
        keyMap.relabel(table, lang);
        player.relabel(table, lang);
        const PlayerState& s = player.state();
        EXPECT_EQ(keyMap.KeyboardKey[0].caption, "F 11 --->>>");
        EXPECT_EQ(keyMap.KeyboardAction[0].caption, s.Cmd_Sync.caption);
        EXPECT_EQ(keyMap.KeyboardKey[1].caption, "F 12 --->>>");
        EXPECT_EQ(keyMap.KeyboardAction[1].caption, s.Cmd_Tap.caption);
        // The chord change button shows its choice; its tool tip leads with the name.
        EXPECT_EQ(keyMap.KeyboardKey[2].caption, "Alt+C --->>>");
        EXPECT_EQ(s.Cmd_ChordChange.toolTip.rfind(keyMap.KeyboardAction[2].caption + ":", 0), 0u)
            << s.Cmd_ChordChange.toolTip;
        for (const Control* named : {&s.Cmd_Split, &s.Cmd_ChordMode})
            EXPECT_NE(keyMap.KeyboardNote.caption.find(named->caption), std::string::npos) << named->caption;
    }
    constexpr int kKeyF11 = 122;
    player.Picture1_KeyDown(kKeyF11, 0);
    EXPECT_TRUE(player.state().SyncArmed);
    constexpr int kAlt = 4;
    player.Picture1_KeyDown('C', kAlt);
    EXPECT_EQ(player.state().engine.ChordChange, ChordChangeMode::NextBeat);
}

TEST_F(KeyMapFormTest, OkHidesTheKeyMapFirstThenBringsThePlayerBack) {
    player.mnuMap_Click();
    EXPECT_TRUE(keyMap.window.visible);
    EXPECT_FALSE(playerVisible());

    keyMap.Command1_Click();
    EXPECT_FALSE(keyMapVisibleWhenPlayerShown);
    EXPECT_FALSE(keyMap.window.visible);
    EXPECT_TRUE(playerVisible());

    keyMap.showPlayer = nullptr;
    keyMap.Show();
    keyMap.Command1_Click();
    EXPECT_FALSE(keyMap.window.visible);
}

}  // namespace
}  // namespace vornel
