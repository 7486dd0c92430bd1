#pragma once

#include <string>
#include <string_view>

namespace vornel {

// Appends the UTF-8 form of `codePoint`; a surrogate or a value beyond
// U+10FFFF is written as U+FFFD, so the result is always valid UTF-8.
void appendUtf8(std::string& out, char32_t codePoint);

// True when `text` is well-formed UTF-8 (shortest forms, no surrogates).
bool isValidUtf8(std::string_view text);

}  // namespace vornel
