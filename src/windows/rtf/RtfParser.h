#pragma once

#include <cstdint>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "windows/rtf/CodePages.h"
#include "windows/rtf/RichText.h"
#include "windows/rtf/RichTextBuilder.h"
#include "windows/rtf/RtfTokenizer.h"
#include "windows/rtf/RtfWords.h"

namespace vornel {

// Reads the body of a rich-text document into paragraphs of runs. It runs
// once over the tokens with an explicit stack of group states, so neither
// deep nesting nor long input costs more than a bounded amount per byte.
class RtfParser {
public:
    // Groups nested deeper than this share the state of the deepest one
    // kept; only hostile input nests this far.
    static constexpr std::size_t kMaxDepth = 4096;

    explicit RtfParser(std::string_view input) : tokenizer_(input) {}

    RichText parse();

private:
    enum class Destination { Text, FontTable, ColourTable, Skipped, UnicodePair };

    static constexpr int kDefaultFont = std::numeric_limits<int>::min();
    static constexpr int kDefaultHalfPoints = 24;
    static constexpr int kMaxHalfPoints = 3276;
    static constexpr int kMaxTwips = 31680;  // 22 inches, the widest page
    // Every run carries its font's name, so a name must stay short for the
    // document to stay in proportion to the input; real names are far shorter.
    static constexpr std::size_t kMaxFontNameBytes = 128;

    struct CharState {
        bool bold = false;
        bool italic = false;
        bool underline = false;
        bool hidden = false;
        int halfPoints = kDefaultHalfPoints;
        int colourIndex = -1;  // none: the reader's default colour
        int fontNumber = kDefaultFont;
        bool operator==(const CharState&) const = default;
    };

    // Spacing and indents are twips, as written.
    struct ParagraphState {
        ParagraphAlignment alignment = ParagraphAlignment::Left;
        int spaceBefore = 0;
        int spaceAfter = 0;
        int leftIndent = 0;
        int firstLineIndent = 0;
    };

    struct GroupState {
        Destination destination = Destination::Text;
        CharState chars;
        ParagraphState paragraph;
        std::int32_t unicodeSkip = 1;
    };

    struct Font {
        std::string name;
        int codePage = 0;  // 0: the document's
    };

    struct FontEntry {
        bool open = false;
        int number = 0;
        Font font;
    };

    struct ColourEntry {
        bool given = false;
        std::uint32_t rgb = 0;
    };

    void openGroup();
    bool closeGroup();
    void handleWord(const RtfToken& token, bool ignorable);
    void handleFontTableWord(RtfWordId id, const RtfToken& token);
    void handleColourTableWord(RtfWordId id, const RtfToken& token);
    void handleSymbol(char symbol);
    void handleText(std::string_view text);
    void emitByte(unsigned char byte);
    void emitUnicode(char32_t codePoint);
    void emitCodePoint(char32_t codePoint);
    void emitToDocument(char32_t codePoint);
    // Visible text, already UTF-8 and free of control characters, in the
    // current format.
    void appendToDocument(std::string_view utf8);
    void resolvePendingHigh();
    void endParagraph();
    void syncFormat();
    void finishFontEntry();
    void finishColourEntry();
    int currentCodePage() const;
    const Font* findFont(int number) const;
    TextFormat resolve(const CharState& chars) const;
    static Paragraph layoutOf(const ParagraphState& state);
    // A length in twips, clamped; spacing passes 0 as `lowest`, indents may
    // be negative.
    static int twips(const RtfToken& token, int lowest);

    RtfTokenizer tokenizer_;
    RichTextBuilder builder_;
    GroupState current_;
    std::vector<GroupState> stack_;
    std::size_t overflowDepth_ = 0;

    int documentCodePage_ = kDefaultCodePage;
    int defaultFont_ = 0;
    std::map<int, Font> fonts_;
    FontEntry fontEntry_;
    std::vector<std::optional<std::uint32_t>> colours_;
    ColourEntry colourEntry_;

    bool ignorableNext_ = false;
    std::int64_t fallbackToSkip_ = 0;
    char32_t pendingHigh_ = 0;
    ParagraphState lastTextParagraph_;
    bool formatSynced_ = false;
    CharState syncedChars_;
    std::string scratch_;
};

}  // namespace vornel
