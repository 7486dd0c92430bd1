#pragma once

#include <string>
#include <string_view>

#include "windows/rtf/RichText.h"

namespace vornel {

// Collects text into paragraphs of runs. Text arrives in small pieces; it is
// held until the format changes, so a run is built in one go and adjacent
// text in the same format always ends up in one run.
class RichTextBuilder {
public:
    // The format of the text appended from now on.
    void setFormat(const TextFormat& format);
    void append(std::string_view utf8);
    // Ends the paragraph with the alignment, spacing and indents of `layout`
    // (whose runs are not looked at).
    void endParagraph(const Paragraph& layout);
    // The document so far; a last paragraph without text is left out.
    RichText finish(const Paragraph& lastLayout);

private:
    void flush();

    RichText document_;
    Paragraph paragraph_;
    TextFormat format_;
    std::string pending_;
};

}  // namespace vornel
