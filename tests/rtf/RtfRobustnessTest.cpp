// Input that is damaged, hostile or simply not rich text.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "rtf/RtfTestText.h"
#include "windows/rtf/RtfReader.h"

namespace vornel {
namespace {

using test::paragraphTexts;
using test::textOf;
using Texts = std::vector<std::string>;

TEST(RtfRobustness, OnlyTextStartingWithTheRtfGroupIsRichText) {
    for (const std::string bad :
         {"", "{", "{\\rt", "{\\RTF1 x}", " {\\rtf1 x}", "\xEF\xBB\xBF", "\xEF\xBB\xBFhello", "hello"}) {
        const RtfResult result = parseRtf(bad);
        EXPECT_EQ(result.status, RtfStatus::NotRtf) << bad;
        EXPECT_TRUE(result.document.paragraphs.empty());
    }
    EXPECT_EQ(parseRtf("{\\rtf").status, RtfStatus::Ok);
    // A byte-order mark some editors write first is passed over.
    const RtfResult marked = parseRtf("\xEF\xBB\xBF{\\rtf1 x}");
    EXPECT_EQ(marked.status, RtfStatus::Ok);
    EXPECT_EQ(paragraphTexts(marked.document), (Texts{"x"}));
}

TEST(RtfRobustness, UnbalancedBracesAreTolerated) {
    // Groups left open end with the input, their text kept.
    const RichText open = parseRtf(R"({\rtf1 a{\b b{\i c)").document;
    EXPECT_EQ(paragraphTexts(open), (Texts{"abc"}));
    ASSERT_EQ(open.paragraphs[0].runs.size(), 3u);
    EXPECT_TRUE(open.paragraphs[0].runs[2].format.italic);
    // The document ends where its own group closes; whatever follows is not read.
    EXPECT_EQ(textOf(R"({\rtf1 a}}}b{c)"), "a");
    EXPECT_EQ(textOf(R"({\rtf1 a{\fonttbl{\f0 Arial;)"), "a");
}

TEST(RtfRobustness, BinaryDataIsSkippedAndBoundedByTheInput) {
    // The four bytes after "\bin4 " are data, braces and backslashes included.
    EXPECT_EQ(textOf("{\\rtf1 a\\bin4 }{\\\\b}"), "ab");
    EXPECT_EQ(textOf("{\\rtf1 a{\\*\\blip\\bin3 }}}x}b}"), "ab");
    // A length past the end swallows the rest and nothing more.
    EXPECT_EQ(textOf("{\\rtf1 a\\bin999999999 xyz"), "a");
    EXPECT_EQ(textOf("{\\rtf1 a\\bin99999999999999999999999 xyz"), "a");
    // A negative or missing length skips nothing.
    EXPECT_EQ(textOf("{\\rtf1 a\\bin-5 b\\bin c}"), "abc");
}

TEST(RtfRobustness, HugeNumbersAreClamped) {
    const RichText doc = parseRtf(
        R"({\rtf1{\colortbl;\red99999999999999999999\green-5\blue0;})"
        R"(\fs99999999999999999999999 a\cf99999999999999 b\cf-99999999999 c\f99999999999 d})")
                             .document;
    ASSERT_EQ(paragraphTexts(doc), (Texts{"abcd"}));
    const auto& runs = doc.paragraphs[0].runs;
    ASSERT_EQ(runs.size(), 1u);  // colour and font indexes out of range change nothing
    EXPECT_DOUBLE_EQ(runs[0].format.pointSize, 1638.0);
    // Characters out of Unicode's range are replaced; a huge \uc skips to the group end.
    EXPECT_EQ(textOf(R"({\rtf1 \u99999999999999?x{\uc99999999999\u65 abc}y})"), "\uFFFDxAy");
    EXPECT_EQ(textOf(R"({\rtf1\u-99999999?x})"), "\uFFFDx");
}

TEST(RtfRobustness, AnOverlongFontNameIsCut) {
    // Each run carries its font's name: a huge name must not be copied into
    // every one of many runs.
    const std::string name(100000, 'x');
    std::string rtf = "{\\rtf1{\\fonttbl{\\f0 " + name + ";}}";
    for (int i = 0; i < 1000; ++i) rtf += "\\b a\\b0 a";
    const RichText doc = parseRtf(rtf + "}").document;
    ASSERT_EQ(doc.paragraphs.size(), 1u);
    ASSERT_EQ(doc.paragraphs[0].runs.size(), 2000u);
    const std::string& family = doc.paragraphs[0].runs[0].format.fontFamily;
    EXPECT_GT(family.size(), 30u);
    EXPECT_LE(family.size(), 128u);
    EXPECT_EQ(family.find_first_not_of('x'), std::string::npos);
}

TEST(RtfRobustness, OverlongControlWordsAreIgnored) {
    const std::string longWord(40, 'b');
    EXPECT_EQ(textOf("{\\rtf1 \\" + longWord + " x\\" + std::string(32, 'z') + " y}"), "xy");
    // A long run of digits is read whole and clamped.
    EXPECT_EQ(textOf("{\\rtf1 \\b" + std::string(5000, '9') + " x}"), "x");
}

TEST(RtfRobustness, DeepNestingNeedsNoRecursion) {
    const std::size_t depth = 200000;
    const std::string deep =
        "{\\rtf1 " + std::string(depth, '{') + "\\b x" + std::string(depth, '}') + "y}";
    const RichText doc = parseRtf(deep).document;
    ASSERT_EQ(paragraphTexts(doc), (Texts{"xy"}));
    ASSERT_EQ(doc.paragraphs[0].runs.size(), 2u);
    EXPECT_TRUE(doc.paragraphs[0].runs[0].format.bold);
    EXPECT_FALSE(doc.paragraphs[0].runs[1].format.bold);
    // Never closed at all.
    EXPECT_EQ(textOf("{\\rtf1 " + std::string(depth, '{') + "z"), "z");
}

TEST(RtfRobustness, StrayEscapesAreHarmless) {
    EXPECT_EQ(textOf(R"({\rtf1 a\'zzb\'4})"), "azzb4");
    EXPECT_EQ(textOf("{\\rtf1 a\\"), "a");
    EXPECT_EQ(textOf(R"({\rtf1 a\|\:\*b\#\ c})"), "abc");
    EXPECT_EQ(textOf(std::string("{\\rtf1 a\x00\x7F\x01z}", 13)), "az");
}

TEST(RtfRobustness, RandomBytesAlwaysGiveAWellFormedDocument) {
    // Fixed seeds: the same inputs on every run. The alphabet leans on the
    // bytes that mean something to the reader, so the inputs go deep.
    const std::string alphabet = "{}\\\\\\'*;0123456789-abfiulqcrstvp \r\n?\x80\xfd\xff";
    const std::vector<std::string> words = {"\\u",     "\\uc",   "\\bin",  "\\fonttbl", "\\colortbl",
                                            "\\f",     "\\cf",   "\\fs",   "\\par",     "\\upr",
                                            "\\ud",    "\\*",    "\\pict", "\\red",     "\\fcharset",
                                            "\\'",     "\\plain", "\\v",   "\\qc",      "\\line"};
    std::mt19937 random(20240601);
    for (int round = 0; round < 300; ++round) {
        std::string input = "{\\rtf1";
        const int length = static_cast<int>(random() % 3000);
        for (int i = 0; i < length; ++i) {
            if (random() % 5 == 0)
                input += words[random() % words.size()];
            else if (random() % 9 == 0)
                input += static_cast<char>(random() % 256);
            else
                input += alphabet[random() % alphabet.size()];
        }
        const RtfResult result = parseRtf(input);
        ASSERT_EQ(result.status, RtfStatus::Ok);
        ASSERT_EQ(test::wellFormedProblem(result.document, input.size()), "") << input;
        // Reading is a pure function of the bytes.
        ASSERT_EQ(parseRtf(input).document, result.document);
    }
}

}  // namespace
}  // namespace vornel
