#pragma once

#include <string>
#include <vector>

#include "windows/rtf/RichText.h"
#include "windows/rtf/RtfReader.h"
#include "windows/rtf/Utf8.h"

namespace vornel::test {

// A document of one plain paragraph.
inline RichText documentOf(const std::string& text) {
    RichText doc;
    doc.paragraphs.push_back({{{text, {}}}, ParagraphAlignment::Left});
    return doc;
}

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

// What every document the reader gives must satisfy, whatever it was fed
// (`inputSize` bytes): the first promise it breaks, or "" when it keeps them
// all. The tests and the fuzz target hold the reader to the same promises.
inline std::string wellFormedProblem(const RichText& doc, std::size_t inputSize) {
    std::size_t textBytes = 0;
    std::size_t runCount = 0;
    if (doc.paragraphs.size() > inputSize) return "more paragraphs than input bytes";
    for (const Paragraph& paragraph : doc.paragraphs) {
        const TextRun* previous = nullptr;
        for (const TextRun& run : paragraph.runs) {
            if (run.text.empty()) return "an empty run";
            if (!isValidUtf8(run.text)) return "a run that is not UTF-8";
            for (const char c : run.text)
                if (static_cast<unsigned char>(c) < 0x20 && c != '\n' && c != '\t')
                    return "a control character other than a line break or a tab";
            if (!(run.format.pointSize >= 0.5 && run.format.pointSize <= 1638.0)) return "a size out of range";
            if (run.format.colour && *run.format.colour > 0xFFFFFF) return "a colour out of range";
            if (previous != nullptr && previous->format == run.format) return "two neighbouring runs alike";
            previous = &run;
            textBytes += run.text.size();
            ++runCount;
        }
    }
    // No byte of input turns into more than three bytes of text, and every
    // run costs at least one byte.
    if (textBytes > 3 * inputSize) return "more text than the input can give";
    if (runCount > inputSize) return "more runs than input bytes";
    return {};
}

inline TextFormat bold() {
    TextFormat f;
    f.bold = true;
    return f;
}

}  // namespace vornel::test
