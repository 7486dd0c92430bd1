#pragma once

#include <cstdint>
#include <string>

#include "settings/TextTable.h"

namespace vornel {

// The text table together with the current language. The program keeps one
// instance; the setup window fills the table and sets LangNo, and every
// window or procedure that shows a language-dependent text reads it through
// a const reference, at the moment it shows the text.
struct Language {
    TextTable table;
    std::int16_t LangNo = kLangTurkish;  // 0 Turkish, 1 English: the language list position

    // LangText in the current language.
    const std::string& text(int group, int entry) const { return table.LangText(LangNo, group, entry); }
};

}  // namespace vornel
