#pragma once

#include <array>
#include <string>

namespace vornel {

// Language numbers. The table has room for a third language, which holds no
// texts.
inline constexpr int kLangTurkish = 0;
inline constexpr int kLangEnglish = 1;
inline constexpr int kLanguageCount = 3;

// Groups of the text table and how many entries each holds.
inline constexpr int kGroupCaptions = 0;    // window titles, labels, menus, buttons, tool tips
inline constexpr int kGroupMessages = 1;    // message boxes
inline constexpr int kGroupOtherTexts = 2;  // tool tips, status texts, the contact line
inline constexpr int kGroupKeyboard = 3;    // the MIDI keyboard's texts, entries named by KeyboardText
inline constexpr std::array<int, 4> kGroupSizes{24, 3, 5, 23};
inline constexpr int kTextsPerLanguage = 24 + 3 + 5 + 23;
static_assert(kGroupSizes[0] + kGroupSizes[1] + kGroupSizes[2] + kGroupSizes[3] == kTextsPerLanguage);

// The entries of group kGroupKeyboard. The group comes after the other three
// so that their entries keep their numbers.
enum KeyboardText : int {
    kTextInputDevice,      // the setup window's label of the input list
    kTextNoInput,          // the input list's first entry: no keyboard
    kTextSplit,            // the button that learns the split point
    kTextSingleFinger,     // chord mode
    kTextFingered,         // chord mode
    kTextSyncStart,        // button, and the key map's F11
    kTextTapTempo,         // button, and the key map's F12
    kTextPressSplitKey,    // status while the split point is being learnt
    kTextInputLost,        // followed by the device's name
    kTextPlaysOn,          // after kTextInputLost in its message box
    kTextCannotOpenInput,  // followed by the device's name
    kTextVoiceTip,         // tool tip of the right hand's voice
    kTextSplitTip,         // tool tip of Split
    kTextKeyMapKeyboard,   // the key map's paragraph on the MIDI keyboard
    kTextChordChange,      // the key map's name of the chord change setting
    kTextChordChangeTip,   // tool tip of the chord change button
    kTextAtOnce,           // chord change: the moment the chord is chosen
    kTextNextBeat,         // chord change: from the next beat
    kTextNextBar,          // chord change: from the next bar line
    kTextMasterVolume,     // the label beside its scroll bar, and the key map's Page Up / Page Down
    kTextMasterVolumeTip,  // tool tip of the master volume's scroll bar
    kTextAutoFill,         // the auto fill switch
    kTextAutoFillTip,      // its tool tip
    kKeyboardTextCount
};
static_assert(kGroupSizes[kGroupKeyboard] == kKeyboardTextCount);

// Every user-interface text that changes with the language, addressed by
// language, group and entry. Empty until SetTheLangsQuery fills it; read-only
// afterwards.
class TextTable {
public:
    // Stores the Turkish texts, then the English texts. Calling it again
    // stores the same texts again.
    void SetTheLangsQuery();

    // The text at (lang, group, entry). Any address outside the table, and
    // every entry of language 2, reads as the empty string: a caller with a
    // bad language number shows a blank text rather than failing.
    const std::string& LangText(int lang, int group, int entry) const;

private:
    static int position(int group, int entry);  // -1 outside the table

    std::array<std::array<std::string, kTextsPerLanguage>, kLanguageCount> texts_;
};

}  // namespace vornel
