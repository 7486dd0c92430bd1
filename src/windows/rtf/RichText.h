#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vornel {

// A rich-text document as the help window shows it: paragraphs of runs, each
// run one stretch of text in one format. Text is UTF-8; inside a paragraph
// a line break is '\n' and a tab '\t', and no other control character occurs.
struct TextFormat {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    double pointSize = 12.0;
    // Red, green, blue; none means the reader's default colour.
    std::optional<std::uint32_t> colour;  // 0xRRGGBB
    std::string fontFamily;               // empty: the default font
    friend bool operator==(const TextFormat&, const TextFormat&) = default;
};

struct TextRun {
    std::string text;
    TextFormat format;
    friend bool operator==(const TextRun&, const TextRun&) = default;
};

enum class ParagraphAlignment { Left, Centre, Right, Justify };

struct Paragraph {
    std::vector<TextRun> runs;
    ParagraphAlignment alignment = ParagraphAlignment::Left;
    // Spacing and indents in points. The first line starts firstLineIndent
    // after leftIndent (negative: it hangs to the left of the other lines).
    double spaceBefore = 0.0;
    double spaceAfter = 0.0;
    double leftIndent = 0.0;
    double firstLineIndent = 0.0;
    friend bool operator==(const Paragraph&, const Paragraph&) = default;
};

struct RichText {
    std::vector<Paragraph> paragraphs;
    friend bool operator==(const RichText&, const RichText&) = default;
};

}  // namespace vornel
