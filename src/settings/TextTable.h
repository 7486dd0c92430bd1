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
inline constexpr std::array<int, 3> kGroupSizes{24, 3, 5};
inline constexpr int kTextsPerLanguage = 24 + 3 + 5;
static_assert(kGroupSizes[0] + kGroupSizes[1] + kGroupSizes[2] == kTextsPerLanguage);

// Every user-interface text that changes with the language, addressed by
// language, group and entry. Empty until SetTheLangsQuery fills it; read-only
// afterwards.
class TextTable {
public:
    // Stores the 32 Turkish texts, then the 32 English texts. Calling it again
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
