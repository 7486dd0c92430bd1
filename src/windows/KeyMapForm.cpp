#include "windows/KeyMapForm.h"

#include "settings/Language.h"

namespace vornel {

namespace {

// The spaces before the arrows differ on purpose: in the window's
// proportional type they line the arrows up.
constexpr std::array<const char*, KeyMapForm::kPairCount> kKeys{
    "Key A  --->>>", "Key W --->>>", "Key S  --->>>", "Key E --->>>", "Key D --->>>",  "Key F  --->>>", "Key T --->>>",
    "Key G --->>>",  "Key Y --->>>", "Key H --->>>",  "Key U --->>>", "Key J  --->>>", "F 1  --->>>",   "F 2  --->>>",
    "F 3  --->>>",   "F 4 --->>>",   "F 5 --->>>",    "F 6  --->>>",  "F 7  --->>>",   "F 8  --->>>"};

constexpr std::array<const char*, KeyMapForm::kPairCount> kActions{
    "C",  "C#", "D",          "Eb",          "E",    "F",       "F#",      "G",   "Ab",       "A",
    "Bb", "B",  "Sub Rhythm", "Main Rhythm", "Bass", "Chord 1", "Chord 2", "Pad", "Phrase 1", "Phrase 2"};

}  // namespace

KeyMapForm::KeyMapForm() {
    // Title and OK arrive with relabel(), before the window is first shown.
    window.visible = false;
    for (int i = 0; i < kPairCount; ++i) {
        Label1[static_cast<std::size_t>(i)].caption = kKeys[static_cast<std::size_t>(i)];
        Label2[static_cast<std::size_t>(i)].caption = kActions[static_cast<std::size_t>(i)];
    }
    Label3.caption = "* Minor = Shift + Key ...";
    KeyboardKey[0].caption = "F 11 --->>>";
    KeyboardKey[1].caption = "F 12 --->>>";
    KeyboardKey[2].caption = "Alt+C --->>>";
    KeyboardKey[3].caption = "PgUp/PgDn --->>>";
}

void KeyMapForm::relabel(const TextTable& table, int lang) {
    window.caption = table.LangText(lang, kGroupCaptions, 23);
    Command1.caption = table.LangText(lang, kGroupCaptions, 3);
    KeyboardAction[0].caption = table.LangText(lang, kGroupKeyboard, kTextSyncStart);
    KeyboardAction[1].caption = table.LangText(lang, kGroupKeyboard, kTextTapTempo);
    KeyboardAction[2].caption = table.LangText(lang, kGroupKeyboard, kTextChordChange);
    KeyboardAction[3].caption = table.LangText(lang, kGroupKeyboard, kTextMasterVolume);
    KeyboardNote.caption = table.LangText(lang, kGroupKeyboard, kTextKeyMapKeyboard);
}

void KeyMapForm::relabel(const Language& language) {
    relabel(language.table, language.LangNo);
}

void KeyMapForm::Command1_Click() {
    Hide();
    if (showPlayer) showPlayer();
}

}  // namespace vornel
