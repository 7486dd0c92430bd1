// Formats: groups, character and paragraph properties, font and colour tables.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "rtf/RtfTestText.h"
#include "windows/rtf/RtfReader.h"

namespace vornel {
namespace {

using test::bold;
using test::textOf;

std::vector<TextRun> runsOf(const std::string& rtf) {
    const RichText doc = parseRtf(rtf).document;
    EXPECT_EQ(doc.paragraphs.size(), 1u) << rtf;
    return doc.paragraphs.empty() ? std::vector<TextRun>{} : doc.paragraphs.front().runs;
}

TextFormat with(bool b, bool i, bool u) {
    TextFormat f;
    f.bold = b;
    f.italic = i;
    f.underline = u;
    return f;
}

TEST(RtfFormat, NestedGroupsRestoreTheFormatAround) {
    EXPECT_EQ(runsOf(R"({\rtf1 a{\b b{\i c{\ul d}}e}f})"),
              (std::vector<TextRun>{{"a", with(false, false, false)},
                                    {"b", with(true, false, false)},
                                    {"c", with(true, true, false)},
                                    {"d", with(true, true, true)},
                                    {"e", with(true, false, false)},
                                    {"f", with(false, false, false)}}));
}

TEST(RtfFormat, AdjacentTextInOneFormatIsOneRun) {
    EXPECT_EQ(runsOf(R"({\rtf1 {\b x}{\b y}\b z\b0 w{}v})"),
              (std::vector<TextRun>{{"xyz", bold()}, {"wv", TextFormat{}}}));
    // A format switched on and off again before any text leaves no trace.
    EXPECT_EQ(runsOf(R"({\rtf1 a\i\i0 b})"), (std::vector<TextRun>{{"ab", TextFormat{}}}));
}

TEST(RtfFormat, SwitchesTurnOffWithZeroAndPlainResetsAll) {
    EXPECT_EQ(runsOf(R"({\rtf1\b\i\ul a\b0\i0\ul0 b\ul c\ulnone d\uldb e})"),
              (std::vector<TextRun>{{"a", with(true, true, true)},
                                    {"b", with(false, false, false)},
                                    {"c", with(false, false, true)},
                                    {"d", with(false, false, false)},
                                    {"e", with(false, false, true)}}));
    const auto runs = runsOf(
        R"({\rtf1{\fonttbl{\f0 Arial;}{\f1 Courier;}}{\colortbl;\red9\green8\blue7;})"
        R"(\f1\cf1\fs40\b\i\ul a\plain b})");
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[1].text, "b");
    TextFormat plain;
    plain.fontFamily = "Arial";  // the default font, \deff0
    EXPECT_EQ(runs[1].format, plain);
}

TEST(RtfFormat, FontSizesAreHalfPoints) {
    const auto runs = runsOf(R"({\rtf1 a\fs36 b\fs21 c\fs0 d\fs99999 e})");
    ASSERT_EQ(runs.size(), 5u);
    EXPECT_DOUBLE_EQ(runs[0].format.pointSize, 12.0);
    EXPECT_DOUBLE_EQ(runs[1].format.pointSize, 18.0);
    EXPECT_DOUBLE_EQ(runs[2].format.pointSize, 10.5);
    EXPECT_DOUBLE_EQ(runs[3].format.pointSize, 12.0);   // no size: the default
    EXPECT_DOUBLE_EQ(runs[4].format.pointSize, 1638.0); // the largest we keep
}

TEST(RtfFormat, ColoursComeFromTheColourTable) {
    const auto runs = runsOf(
        R"({\rtf1{\colortbl;\red255\green0\blue0;\red0\green128\blue255;\red300\blue7;})"
        R"(n\cf1 r\cf2 b\cf3 c\cf0 d\cf9 e})");
    ASSERT_EQ(runs.size(), 5u);
    EXPECT_EQ(runs[0].text, "n");
    EXPECT_FALSE(runs[0].format.colour.has_value());
    EXPECT_EQ(runs[1].format.colour, 0xFF0000u);
    EXPECT_EQ(runs[2].format.colour, 0x0080FFu);
    EXPECT_EQ(runs[3].format.colour, 0xFF0007u);  // components are clamped
    // The empty first entry and an index past the table are the default colour.
    EXPECT_EQ(runs[4].text, "de");
    EXPECT_FALSE(runs[4].format.colour.has_value());
    // The last entry may end with the table instead of a semicolon.
    EXPECT_EQ(runsOf(R"({\rtf1{\colortbl;\red1\green2\blue3}\cf1 x})").front().format.colour,
              0x010203u);
}

TEST(RtfFormat, FontFamiliesComeFromTheFontTable) {
    const auto runs = runsOf(
        R"({\rtf1\deff1{\fonttbl{\f0\froman\fcharset162{\*\panose 02020603050405020304}Times New Roman;})"
        R"({\f1\fswiss  Arial ;}\f2\fmodern Courier New;}a\f0 b\f2 c\f7 d})");
    ASSERT_EQ(runs.size(), 4u);
    EXPECT_EQ(runs[0].format.fontFamily, "Arial");  // \deff1, trimmed
    EXPECT_EQ(runs[1].format.fontFamily, "Times New Roman");
    EXPECT_EQ(runs[2].format.fontFamily, "Courier New");
    EXPECT_EQ(runs[3].format.fontFamily, "");  // not in the table
    // An entry may end with its group instead of a semicolon.
    EXPECT_EQ(runsOf(R"({\rtf1{\fonttbl{\f0 Arial}{\f1 Courier}}\f1 x})").front().format.fontFamily,
              "Courier");
    // A document without a font table names no font.
    EXPECT_EQ(runsOf(R"({\rtf1 x})").front().format.fontFamily, "");
}

TEST(RtfFormat, ParagraphsTakeTheAlignmentInForceAtTheirEnd) {
    const RichText doc = parseRtf(
        R"({\rtf1\pard\qc Title\par\pard Body\par\qr R\par\qj J\par\pard{\qc c\par}l\par{\qc last}})")
                             .document;
    ASSERT_EQ(doc.paragraphs.size(), 7u);
    const ParagraphAlignment expected[] = {
        ParagraphAlignment::Centre, ParagraphAlignment::Left,   ParagraphAlignment::Right,
        ParagraphAlignment::Justify, ParagraphAlignment::Centre, ParagraphAlignment::Left,
        ParagraphAlignment::Centre};
    for (std::size_t i = 0; i < doc.paragraphs.size(); ++i)
        EXPECT_EQ(doc.paragraphs[i].alignment, expected[i]) << i;
    // The last paragraph has no \par: it keeps the alignment of its text,
    // though the group that set it has closed.
    EXPECT_EQ(test::allText(doc), "Title|Body|R|J|c|l|last");
}

TEST(RtfFormat, SpacingAndIndentsAreTwipsGivenInPoints) {
    const RichText doc = parseRtf(
        R"({\rtf1\sb240\sa120\li720\fi-360 a\par\pard b\par{\sa99999\li99999 c\par})"
        R"(\sb-5\li-99999\fi d})")
                             .document;
    ASSERT_EQ(doc.paragraphs.size(), 4u);
    const auto& a = doc.paragraphs[0];
    EXPECT_DOUBLE_EQ(a.spaceBefore, 12.0);
    EXPECT_DOUBLE_EQ(a.spaceAfter, 6.0);
    EXPECT_DOUBLE_EQ(a.leftIndent, 36.0);
    EXPECT_DOUBLE_EQ(a.firstLineIndent, -18.0);
    // \pard starts the next paragraph from nothing.
    const auto& b = doc.paragraphs[1];
    EXPECT_EQ(b.spaceBefore + b.spaceAfter + b.leftIndent + b.firstLineIndent, 0.0);
    // Lengths stop at 22 inches; spacing is never negative, an indent may be.
    EXPECT_DOUBLE_EQ(doc.paragraphs[2].spaceAfter, 1584.0);
    EXPECT_DOUBLE_EQ(doc.paragraphs[2].leftIndent, 1584.0);
    const auto& d = doc.paragraphs[3];
    EXPECT_DOUBLE_EQ(d.spaceBefore, 0.0);
    EXPECT_DOUBLE_EQ(d.spaceAfter, 0.0);  // the group that set it has closed
    EXPECT_DOUBLE_EQ(d.leftIndent, -1584.0);
    EXPECT_DOUBLE_EQ(d.firstLineIndent, 0.0);
}

TEST(RtfFormat, DestinationsDoNotLeakText) {
    const std::string rtf =
        R"({\rtf1\ansi{\fonttbl{\f0\fswiss Helvetica;}}{\colortbl;\red255\green0\blue0;})"
        R"({\stylesheet{\s0 Normal;}{\*\cs10 Default Paragraph Font;}})"
        R"({\info{\title Secret}{\author Me}{\creatim\yr2024}})"
        R"({\*\generator Writer 7;}{\*\unknownthing hidden {nested} text})"
        R"({\header Head}{\footer Foot}{\pict\pngblip 89504e47}{\object{\objdata 0102}{\result Shown?}})"
        R"({\footnote note}{\*\bkmkstart mark}A{\field{\*\fldinst HYPERLINK "http://x"}{\fldrslt B}})"
        R"({\v hidden}C{\upr{ansi}{\*\ud{D}}}{\*\bad\par E}F})";
    EXPECT_EQ(textOf(rtf), "ABCDF");
}

}  // namespace
}  // namespace vornel
