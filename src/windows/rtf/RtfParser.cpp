#include "windows/rtf/RtfParser.h"

#include <algorithm>
#include <utility>

#include "windows/rtf/Utf8.h"

namespace vornel {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool isHighSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

bool isLowSurrogate(char32_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

bool isPrintableAscii(char c) {
    return c >= 0x20 && c <= 0x7E;
}

// A switch word without a number, or with any number but 0, turns it on.
bool switchValue(const RtfToken& token) {
    return !token.hasParameter || token.parameter != 0;
}

std::string trimmed(const std::string& s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    const auto last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

}  // namespace

RichText RtfParser::parse() {
    for (;;) {
        RtfToken token = tokenizer_.next();
        if (token.kind == RtfToken::Kind::End) break;
        const bool ignorable = std::exchange(ignorableNext_, false);

        // The fallback text after \u never reaches into another group or
        // past the end of its own.
        if (token.kind == RtfToken::Kind::GroupStart) {
            fallbackToSkip_ = 0;
            openGroup();
            continue;
        }
        if (token.kind == RtfToken::Kind::GroupEnd) {
            fallbackToSkip_ = 0;
            if (!closeGroup()) break;  // the document's own group has ended
            continue;
        }
        if (fallbackToSkip_ > 0) {
            // Each byte of text, each \'hh and each control word or symbol
            // counts as one character of the fallback.
            if (token.kind != RtfToken::Kind::Text) {
                --fallbackToSkip_;
                continue;
            }
            const auto skipped =
                static_cast<std::size_t>(std::min<std::int64_t>(fallbackToSkip_, token.text.size()));
            fallbackToSkip_ -= static_cast<std::int64_t>(skipped);
            token.text.remove_prefix(skipped);
            if (token.text.empty()) continue;
        }

        switch (token.kind) {
            case RtfToken::Kind::Word: handleWord(token, ignorable); break;
            case RtfToken::Kind::Symbol: handleSymbol(token.symbol); break;
            case RtfToken::Kind::HexByte: emitByte(token.byte); break;
            case RtfToken::Kind::Text: handleText(token.text); break;
            default: break;
        }
    }
    resolvePendingHigh();
    // A paragraph takes the properties in force at its \par; the last one,
    // which often has none, takes those of its last text, since the groups
    // around it have closed by the end of the input.
    return builder_.finish(layoutOf(lastTextParagraph_));
}

void RtfParser::openGroup() {
    if (stack_.size() < kMaxDepth)
        stack_.push_back(current_);
    else
        ++overflowDepth_;
}

bool RtfParser::closeGroup() {
    if (overflowDepth_ > 0) {
        --overflowDepth_;
        return true;
    }
    // A font entry or colour may end with its group instead of a semicolon.
    if (current_.destination == Destination::FontTable) finishFontEntry();
    if (current_.destination == Destination::ColourTable && colourEntry_.given) finishColourEntry();
    if (stack_.empty()) return false;
    current_ = stack_.back();
    stack_.pop_back();
    return !stack_.empty();
}

void RtfParser::handleWord(const RtfToken& token, bool ignorable) {
    if (current_.destination == Destination::Skipped) return;
    const RtfWord word = lookUpRtfWord(token.text);
    // \* marks a destination that a reader may skip when it does not know
    // it; the only one we read is the Unicode half of \upr.
    if (ignorable && word.id != RtfWordId::UnicodeVersion) {
        current_.destination = Destination::Skipped;
        return;
    }
    switch (word.id) {
        case RtfWordId::Skipped:
            current_.destination = Destination::Skipped;
            return;
        case RtfWordId::UnicodeChar: {
            if (!token.hasParameter) return;
            // Values are signed 16-bit: -1 is U+FFFF.
            const std::int64_t value =
                token.parameter < 0 ? std::int64_t{token.parameter} + 65536 : token.parameter;
            emitUnicode(value < 0 ? kReplacement : static_cast<char32_t>(value));
            fallbackToSkip_ = current_.unicodeSkip;
            return;
        }
        case RtfWordId::UnicodeSkipCount:
            current_.unicodeSkip = token.hasParameter ? std::max(0, token.parameter) : 1;
            return;
        case RtfWordId::AnsiCodePage:
            // Multi-byte and other pages we cannot decode read as Windows-1252.
            documentCodePage_ = token.hasParameter && isSupportedCodePage(token.parameter)
                                    ? token.parameter
                                    : kDefaultCodePage;
            return;
        case RtfWordId::DefaultFont:
            defaultFont_ = token.hasParameter ? token.parameter : 0;
            formatSynced_ = false;
            return;
        default: break;
    }
    if (current_.destination == Destination::FontTable) return handleFontTableWord(word.id, token);
    if (current_.destination == Destination::ColourTable)
        return handleColourTableWord(word.id, token);

    CharState& chars = current_.chars;
    switch (word.id) {
        case RtfWordId::FontTable:
            current_.destination = Destination::FontTable;
            fontEntry_ = FontEntry{};
            break;
        case RtfWordId::ColourTable:
            current_.destination = Destination::ColourTable;
            colours_.clear();
            colourEntry_ = ColourEntry{};
            formatSynced_ = false;
            break;
        case RtfWordId::UnicodePair: current_.destination = Destination::UnicodePair; break;
        case RtfWordId::UnicodeVersion:
            if (current_.destination == Destination::UnicodePair)
                current_.destination = Destination::Text;
            break;
        case RtfWordId::Font: chars.fontNumber = token.hasParameter ? token.parameter : 0; break;
        case RtfWordId::Bold: chars.bold = switchValue(token); break;
        case RtfWordId::Italic: chars.italic = switchValue(token); break;
        case RtfWordId::Underline: chars.underline = switchValue(token); break;
        case RtfWordId::UnderlineNone: chars.underline = false; break;
        case RtfWordId::Hidden: chars.hidden = switchValue(token); break;
        case RtfWordId::FontSize:
            // Sizes are half-points; a size that cannot be is the default.
            chars.halfPoints = token.hasParameter && token.parameter > 0
                                   ? std::min(token.parameter, kMaxHalfPoints)
                                   : kDefaultHalfPoints;
            break;
        case RtfWordId::ColourIndex:
            chars.colourIndex = token.hasParameter ? std::max(-1, token.parameter) : 0;
            break;
        case RtfWordId::Plain: chars = CharState{}; break;
        case RtfWordId::ParagraphDefault: current_.paragraph = ParagraphState{}; break;
        case RtfWordId::AlignLeft: current_.paragraph.alignment = ParagraphAlignment::Left; break;
        case RtfWordId::AlignCentre: current_.paragraph.alignment = ParagraphAlignment::Centre; break;
        case RtfWordId::AlignRight: current_.paragraph.alignment = ParagraphAlignment::Right; break;
        case RtfWordId::AlignJustify: current_.paragraph.alignment = ParagraphAlignment::Justify; break;
        case RtfWordId::SpaceBefore: current_.paragraph.spaceBefore = twips(token, 0); break;
        case RtfWordId::SpaceAfter: current_.paragraph.spaceAfter = twips(token, 0); break;
        case RtfWordId::LeftIndent: current_.paragraph.leftIndent = twips(token, -kMaxTwips); break;
        case RtfWordId::FirstLineIndent:
            current_.paragraph.firstLineIndent = twips(token, -kMaxTwips);
            break;
        case RtfWordId::ParagraphEnd: endParagraph(); break;
        case RtfWordId::LineBreak: emitCodePoint('\n'); break;
        case RtfWordId::Tab: emitCodePoint('\t'); break;
        case RtfWordId::Character: emitCodePoint(word.character); break;
        default: break;
    }
}

void RtfParser::handleFontTableWord(RtfWordId id, const RtfToken& token) {
    switch (id) {
        case RtfWordId::Font:
            finishFontEntry();
            fontEntry_.open = true;
            fontEntry_.number = token.hasParameter ? token.parameter : 0;
            break;
        case RtfWordId::FontCharset:
            if (token.hasParameter) fontEntry_.font.codePage = codePageForCharset(token.parameter);
            break;
        case RtfWordId::FontCodePage:
            if (token.hasParameter && isSupportedCodePage(token.parameter))
                fontEntry_.font.codePage = token.parameter;
            break;
        default: break;
    }
}

void RtfParser::handleColourTableWord(RtfWordId id, const RtfToken& token) {
    int shift = 0;
    switch (id) {
        case RtfWordId::Red: shift = 16; break;
        case RtfWordId::Green: shift = 8; break;
        case RtfWordId::Blue: shift = 0; break;
        default: return;
    }
    const auto value = static_cast<std::uint32_t>(std::clamp(token.hasParameter ? token.parameter : 0, 0, 255));
    colourEntry_.rgb = (colourEntry_.rgb & ~(0xFFu << shift)) | (value << shift);
    colourEntry_.given = true;
}

void RtfParser::handleSymbol(char symbol) {
    if (current_.destination == Destination::Skipped) return;
    switch (symbol) {
        case '\\':
        case '{':
        case '}': emitByte(static_cast<unsigned char>(symbol)); break;
        case '~': emitCodePoint(0x00A0); break;  // no-break space
        case '_': emitCodePoint(0x2011); break;  // non-breaking hyphen
        case '*': ignorableNext_ = true; break;
        case '\n': endParagraph(); break;         // a backslash before a line end
        default: break;  // \- (optional hyphen) and the index symbols show nothing
    }
}

void RtfParser::handleText(std::string_view text) {
    switch (current_.destination) {
        case Destination::Text: {
            std::size_t i = 0;
            while (i < text.size()) {
                std::size_t end = i;
                while (end < text.size() && isPrintableAscii(text[end])) ++end;
                if (end > i && !current_.chars.hidden) {
                    resolvePendingHigh();
                    appendToDocument(text.substr(i, end - i));
                }
                if (end < text.size()) emitByte(static_cast<unsigned char>(text[end++]));
                i = end;
            }
            break;
        }
        case Destination::FontTable:
            for (const char c : text) {
                if (c == ';')
                    finishFontEntry();
                else
                    emitByte(static_cast<unsigned char>(c));
            }
            break;
        case Destination::ColourTable:
            for (const char c : text)
                if (c == ';') finishColourEntry();
            break;
        default: break;
    }
}

void RtfParser::emitByte(unsigned char byte) {
    emitCodePoint(decodeCodePageByte(currentCodePage(), byte));
}

void RtfParser::emitUnicode(char32_t c) {
    // UTF-16 pairs written as two \u words become one character; a half
    // without its partner becomes U+FFFD.
    if (isHighSurrogate(c)) {
        resolvePendingHigh();
        pendingHigh_ = c;
    } else if (isLowSurrogate(c)) {
        if (pendingHigh_ != 0) {
            const char32_t combined = 0x10000 + ((pendingHigh_ - 0xD800) << 10) + (c - 0xDC00);
            pendingHigh_ = 0;
            emitCodePoint(combined);
        } else {
            emitCodePoint(kReplacement);
        }
    } else {
        emitCodePoint(c);
    }
}

void RtfParser::resolvePendingHigh() {
    if (pendingHigh_ == 0) return;
    pendingHigh_ = 0;
    emitCodePoint(kReplacement);
}

void RtfParser::emitCodePoint(char32_t c) {
    resolvePendingHigh();
    switch (current_.destination) {
        case Destination::Text: emitToDocument(c); break;
        case Destination::FontTable:
            if (fontEntry_.open && c >= 0x20 && !(c >= 0x7F && c <= 0x9F) &&
                fontEntry_.font.name.size() + 4 <= kMaxFontNameBytes)
                appendUtf8(fontEntry_.font.name, c);
            break;
        default: break;
    }
}

void RtfParser::emitToDocument(char32_t c) {
    if (current_.chars.hidden) return;
    // Within a paragraph only two control characters remain: a tab and a
    // line break ('\n'); the other ways of writing a break become '\n'.
    if (c == 0x0A || c == 0x0B || c == 0x2028 || c == 0x2029) {
        c = '\n';
    } else if (c != '\t' && (c < 0x20 || (c >= 0x7F && c <= 0x9F))) {
        return;
    }
    scratch_.clear();
    appendUtf8(scratch_, c);
    appendToDocument(scratch_);
}

void RtfParser::appendToDocument(std::string_view utf8) {
    syncFormat();
    builder_.append(utf8);
    lastTextParagraph_ = current_.paragraph;
}

void RtfParser::endParagraph() {
    if (current_.destination != Destination::Text) return;
    resolvePendingHigh();
    builder_.endParagraph(layoutOf(current_.paragraph));
}

void RtfParser::syncFormat() {
    if (formatSynced_ && syncedChars_ == current_.chars) return;
    builder_.setFormat(resolve(current_.chars));
    syncedChars_ = current_.chars;
    formatSynced_ = true;
}

void RtfParser::finishFontEntry() {
    if (!fontEntry_.open) return;
    fontEntry_.font.name = trimmed(fontEntry_.font.name);
    fonts_[fontEntry_.number] = std::move(fontEntry_.font);
    fontEntry_ = FontEntry{};
    formatSynced_ = false;
}

void RtfParser::finishColourEntry() {
    // An entry without components is "auto": the reader's default colour.
    colours_.push_back(colourEntry_.given ? std::optional(colourEntry_.rgb) : std::nullopt);
    colourEntry_ = ColourEntry{};
    formatSynced_ = false;
}

const RtfParser::Font* RtfParser::findFont(int number) const {
    const auto it = fonts_.find(number == kDefaultFont ? defaultFont_ : number);
    return it == fonts_.end() ? nullptr : &it->second;
}

int RtfParser::currentCodePage() const {
    int page = 0;
    if (current_.destination == Destination::FontTable) {
        page = fontEntry_.font.codePage;
    } else if (const Font* font = findFont(current_.chars.fontNumber)) {
        page = font->codePage;
    }
    return page != 0 ? page : documentCodePage_;
}

int RtfParser::twips(const RtfToken& token, int lowest) {
    return token.hasParameter ? std::clamp(token.parameter, lowest, kMaxTwips) : 0;
}

Paragraph RtfParser::layoutOf(const ParagraphState& state) {
    Paragraph layout;
    layout.alignment = state.alignment;
    layout.spaceBefore = state.spaceBefore / 20.0;
    layout.spaceAfter = state.spaceAfter / 20.0;
    layout.leftIndent = state.leftIndent / 20.0;
    layout.firstLineIndent = state.firstLineIndent / 20.0;
    return layout;
}

TextFormat RtfParser::resolve(const CharState& chars) const {
    TextFormat format;
    format.bold = chars.bold;
    format.italic = chars.italic;
    format.underline = chars.underline;
    format.pointSize = chars.halfPoints / 2.0;
    // An index past the colour table is the default colour, as no \cf is.
    if (chars.colourIndex >= 0 && static_cast<std::size_t>(chars.colourIndex) < colours_.size())
        format.colour = colours_[static_cast<std::size_t>(chars.colourIndex)];
    if (const Font* font = findFont(chars.fontNumber)) format.fontFamily = font->name;
    return format;
}

}  // namespace vornel
