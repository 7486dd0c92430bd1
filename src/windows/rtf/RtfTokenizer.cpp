#include "windows/rtf/RtfTokenizer.h"

#include <algorithm>

namespace vornel {

namespace {

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool isPlain(char c) {
    return c != '{' && c != '}' && c != '\\' && c != '\r' && c != '\n';
}

}  // namespace

char RtfTokenizer::peek(std::size_t ahead) const {
    return pos_ + ahead < input_.size() ? input_[pos_ + ahead] : '\0';
}

RtfToken RtfTokenizer::next() {
    while (!atEnd() && (peek() == '\r' || peek() == '\n')) ++pos_;
    RtfToken token;
    if (atEnd()) return token;
    const char c = input_[pos_];
    if (c == '{') {
        ++pos_;
        token.kind = RtfToken::Kind::GroupStart;
    } else if (c == '}') {
        ++pos_;
        token.kind = RtfToken::Kind::GroupEnd;
    } else if (c == '\\') {
        ++pos_;
        token = readEscape();
    } else {
        const std::size_t start = pos_;
        while (!atEnd() && isPlain(input_[pos_])) ++pos_;
        token.kind = RtfToken::Kind::Text;
        token.text = input_.substr(start, pos_ - start);
    }
    return token;
}

RtfToken RtfTokenizer::readEscape() {
    RtfToken token;
    if (atEnd()) return token;  // a lone backslash at the very end
    const char c = input_[pos_];
    if (isLetter(c)) return readWord();
    if (c == '\'') {
        const int high = hexValue(peek(1));
        const int low = hexValue(peek(2));
        if (high >= 0 && low >= 0) {
            pos_ += 3;
            token.kind = RtfToken::Kind::HexByte;
            token.byte = static_cast<unsigned char>(high * 16 + low);
            return token;
        }
        // Without two hex digits the escape means nothing; what follows is
        // read as ordinary input.
    }
    ++pos_;
    token.kind = RtfToken::Kind::Symbol;
    token.symbol = c == '\r' ? '\n' : c;
    return token;
}

RtfToken RtfTokenizer::readWord() {
    RtfToken token;
    token.kind = RtfToken::Kind::Word;
    const std::size_t start = pos_;
    while (!atEnd() && isLetter(input_[pos_])) ++pos_;
    if (pos_ - start <= kMaxWordLength) token.text = input_.substr(start, pos_ - start);

    const bool negative = peek() == '-' && isDigit(peek(1));
    if (negative) ++pos_;
    if (isDigit(peek())) {
        token.hasParameter = true;
        std::int64_t value = 0;
        // However many digits there are, they are all consumed; the value
        // stops growing at the clamp so it can never overflow.
        while (!atEnd() && isDigit(input_[pos_])) {
            value = std::min<std::int64_t>(value * 10 + (input_[pos_] - '0'), kMaxParameter);
            ++pos_;
        }
        token.parameter = static_cast<std::int32_t>(negative ? -value : value);
    }
    if (peek() == ' ') ++pos_;  // the delimiter belongs to the word

    if (token.text == "bin" && token.hasParameter && token.parameter > 0) {
        const std::size_t length =
            std::min(static_cast<std::size_t>(token.parameter), input_.size() - pos_);
        pos_ += length;
    }
    return token;
}

}  // namespace vornel
