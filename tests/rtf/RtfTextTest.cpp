// Characters: code pages, Unicode with its fallback, symbols and breaks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "rtf/RtfTestText.h"
#include "windows/rtf/RtfReader.h"

namespace vornel {
namespace {

using test::paragraphTexts;
using test::textOf;
using Texts = std::vector<std::string>;

TEST(RtfText, TurkishLettersThroughTheDocumentCodePage) {
    const std::string letters = R"(\'fd\'dd\'fe\'de\'f0\'d0\'e7\'c7\'f6\'d6\'fc\'dc)";
    EXPECT_EQ(textOf(R"({\rtf1\ansi\ansicpg1254 )" + letters + "}"), "ıİşŞğĞçÇöÖüÜ");
    // Without a code page the same bytes are Windows-1252.
    EXPECT_EQ(textOf(R"({\rtf1\ansi )" + letters + "}"), "ýÝþÞðÐçÇöÖüÜ");
    // Hex digits may be upper case; eight-bit bytes written directly decode alike.
    EXPECT_EQ(textOf(R"({\rtf1\ansicpg1254 \'FD)" "\xfe}"), "ış");
    // A code page we cannot decode falls back to Windows-1252.
    EXPECT_EQ(textOf(R"({\rtf1\ansicpg932 \'e9})"), "é");
}

TEST(RtfText, AFontsCharacterSetChoosesItsCodePage) {
    const std::string rtf =
        R"({\rtf1\ansi{\fonttbl{\f0 Arial;}{\f1\fcharset162 Arial Tur;}{\f2\fcharset204 Arial Cyr;})"
        R"({\f3\cpg1250 Arial CE;}}\f0\'fd\f1\'fd\f2\'e4\f3\'9c\f0\'fd})";
    EXPECT_EQ(textOf(rtf), "ýıдśý");
}

TEST(RtfText, UnicodeCharactersSkipTheirFallback) {
    // One fallback character by default; \uc sets how many, in its group only.
    EXPECT_EQ(textOf(R"({\rtf1 \u305?\u351?x})"), "ışx");
    EXPECT_EQ(textOf(R"({\rtf1 {\uc2\u305??}\u351??})"), "ış?");
    EXPECT_EQ(textOf(R"({\rtf1\uc0\u305?})"), "ı?");
    // A \'hh or a control word is one character of the fallback.
    EXPECT_EQ(textOf(R"({\rtf1\ansicpg1254\uc1\u287\'f0x})"), "ğx");
    EXPECT_EQ(textOf(R"({\rtf1\uc1\u287\par x})"), "ğx");
    // The fallback never reaches into another group or past the end of its own.
    EXPECT_EQ(textOf(R"({\rtf1\uc3{\u305?}xyz})"), "ıxyz");
    EXPECT_EQ(textOf(R"({\rtf1\uc3\u305?{x}yz})"), "ıxyz");
    // Negative values count from 65536.
    EXPECT_EQ(textOf(R"({\rtf1 \u-3913?})"), "\uF0B7");
    EXPECT_EQ(textOf(R"({\rtf1 \u-1?})"), "\uFFFF");
}

TEST(RtfText, SurrogatePairsBecomeOneCharacterAndHalvesBecomeReplacements) {
    EXPECT_EQ(textOf(R"({\rtf1 \u-10179?\u-8704?})"), "\U0001F600");
    EXPECT_EQ(textOf(R"({\rtf1 \u55357?x})"), "\uFFFDx");
    EXPECT_EQ(textOf(R"({\rtf1 x\u56832?})"), "x\uFFFD");
    EXPECT_EQ(textOf(R"({\rtf1 \u55357?\u55357?\u56832?})"), "\uFFFD\U0001F600");
    EXPECT_EQ(textOf(R"({\rtf1 \u55357?})"), "\uFFFD");
}

TEST(RtfText, SymbolsAndNamedCharacters) {
    EXPECT_EQ(textOf(R"({\rtf1 a\~b\-c\_d\\\{\}})"), "a\u00A0bc\u2011d\\{}");
    EXPECT_EQ(textOf(R"({\rtf1 \emdash\endash\bullet\lquote\rquote\ldblquote\rdblquote})"),
              "—–•‘’“”");
    // The space after a control word ends it; a second space is text.
    EXPECT_EQ(textOf(R"({\rtf1 \ldblquote  Oynat\rdblquote  x})"), "“ Oynat” x");
}

TEST(RtfText, ParagraphsLinesAndTabs) {
    const RichText doc =
        parseRtf(R"({\rtf1 One\line two\tab three\par\par Last\par})").document;
    EXPECT_EQ(paragraphTexts(doc), (Texts{"One\ntwo\tthree", "", "Last"}));
    // Line ends in the file are not text; a backslash before one is \par.
    EXPECT_EQ(paragraphTexts(parseRtf("{\\rtf1 a\r\nb\\\nc\\\r\nd}").document),
              (Texts{"ab", "c", "d"}));
    // Control characters written as text or as \u are dropped, except tab.
    EXPECT_EQ(textOf("{\\rtf1 a\x01\tb\\u7?c\\u8232?d}"), "a\tbc\nd");
    // Sections, pages and table rows end paragraphs; cells are tabs.
    EXPECT_EQ(paragraphTexts(parseRtf(R"({\rtf1 a\cell b\row c\sect d\page e})").document),
              (Texts{"a\tb", "c", "d", "e"}));
}

TEST(RtfText, AnEmptyDocumentHasNoParagraphs) {
    EXPECT_TRUE(parseRtf(R"({\rtf1})").document.paragraphs.empty());
    EXPECT_TRUE(parseRtf(R"({\rtf1\ansi\deff0{\fonttbl{\f0 Arial;}}\pard\plain})")
                    .document.paragraphs.empty());
    EXPECT_EQ(parseRtf(R"({\rtf1 x\par})").document.paragraphs.size(), 1u);
}

}  // namespace
}  // namespace vornel
