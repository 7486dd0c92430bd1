#include "windows/rtf/RichTextBuilder.h"

#include <utility>

namespace vornel {

void RichTextBuilder::setFormat(const TextFormat& format) {
    if (format == format_) return;
    flush();
    format_ = format;
}

void RichTextBuilder::append(std::string_view utf8) {
    pending_.append(utf8);
}

void RichTextBuilder::flush() {
    if (pending_.empty()) return;
    // The format only changes just before new text arrives, so the run before
    // this one always differs from it: no merging is needed here.
    paragraph_.runs.push_back(TextRun{std::move(pending_), format_});
    pending_.clear();
}

void RichTextBuilder::endParagraph(const Paragraph& layout) {
    flush();
    Paragraph done = layout;
    done.runs = std::move(paragraph_.runs);
    document_.paragraphs.push_back(std::move(done));
    paragraph_ = Paragraph{};
}

RichText RichTextBuilder::finish(const Paragraph& lastLayout) {
    flush();
    if (!paragraph_.runs.empty()) endParagraph(lastLayout);
    return std::move(document_);
}

}  // namespace vornel
