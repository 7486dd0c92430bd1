#pragma once

#include <string_view>

namespace vornel {

// What a control word means to the reader. Words it does not know are
// Unknown and change nothing.
enum class RtfWordId {
    Unknown,
    // Destinations.
    FontTable,
    ColourTable,
    Skipped,         // a destination whose content is never shown
    UnicodePair,     // \upr: its plain text repeats the \ud text beside it
    UnicodeVersion,  // \ud
    // Document and font table.
    AnsiCodePage,
    DefaultFont,
    Font,
    FontCharset,
    FontCodePage,
    Red,
    Green,
    Blue,
    // Character format.
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    Hidden,
    FontSize,
    ColourIndex,
    Plain,
    // Paragraph format.
    ParagraphDefault,
    AlignLeft,
    AlignCentre,
    AlignRight,
    AlignJustify,
    SpaceBefore,
    SpaceAfter,
    LeftIndent,
    FirstLineIndent,
    // Content.
    UnicodeChar,
    UnicodeSkipCount,
    ParagraphEnd,
    LineBreak,
    Tab,
    Character,  // a named character; its code point comes with it
};

struct RtfWord {
    RtfWordId id = RtfWordId::Unknown;
    char32_t character = 0;  // for Character
};

RtfWord lookUpRtfWord(std::string_view word);

}  // namespace vornel
