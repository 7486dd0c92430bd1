#pragma once

#include <string>
#include <vector>

#include "windows/rtf/RichText.h"
#include "windows/rtf/RtfReader.h"

namespace vornel::test {

// The text of each paragraph, runs joined.
inline std::vector<std::string> paragraphTexts(const RichText& document) {
    std::vector<std::string> out;
    for (const Paragraph& p : document.paragraphs) {
        std::string text;
        for (const TextRun& run : p.runs) text += run.text;
        out.push_back(text);
    }
    return out;
}

// All text of the document, paragraphs separated by '|'.
inline std::string allText(const RichText& document) {
    std::string out;
    for (const std::string& p : paragraphTexts(document)) {
        if (!out.empty()) out += '|';
        out += p;
    }
    return out;
}

// Parses `rtf`, which must be accepted, and gives its text.
inline std::string textOf(const std::string& rtf) {
    return allText(parseRtf(rtf).document);
}

inline TextFormat bold() {
    TextFormat f;
    f.bold = true;
    return f;
}

}  // namespace vornel::test
