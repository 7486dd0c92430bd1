#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vornel {

// One lexical piece of rich text.
struct RtfToken {
    enum class Kind { End, GroupStart, GroupEnd, Word, Symbol, HexByte, Text };
    Kind kind = Kind::End;
    // Word: its letters, empty when the word is longer than any real one.
    // Text: a stretch of plain bytes without braces, backslashes or line ends.
    std::string_view text;
    bool hasParameter = false;
    std::int32_t parameter = 0;  // Word: clamped to +-kMaxParameter
    char symbol = 0;             // Symbol: the character after the backslash
    unsigned char byte = 0;      // HexByte: the value of \'hh
};

// Splits rich text into tokens. Line ends between tokens are not content
// and are dropped; a backslash before a line end is the symbol '\n'. The
// data of \binN is skipped here (as far as the input reaches), so that its
// bytes are never read as braces or text.
class RtfTokenizer {
public:
    static constexpr std::size_t kMaxWordLength = 32;
    static constexpr std::int32_t kMaxParameter = 1'000'000'000;

    explicit RtfTokenizer(std::string_view input) : input_(input) {}

    RtfToken next();

private:
    RtfToken readEscape();
    RtfToken readWord();
    bool atEnd() const { return pos_ >= input_.size(); }
    char peek(std::size_t ahead = 0) const;

    std::string_view input_;
    std::size_t pos_ = 0;
};

}  // namespace vornel
