// libFuzzer target for the help documents' rich-text reader. Every input is
// read twice: as it is, and behind a rich-text header so that the parser
// itself sees every input. Besides the sanitizers' findings it stops on any
// document the reader promises never to give.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "windows/rtf/RtfReader.h"
#include "windows/rtf/Utf8.h"

namespace {

void check(bool ok) {
    if (!ok) std::abort();
}

void checkDocument(const vornel::RichText& doc, std::size_t inputSize) {
    std::size_t textBytes = 0;
    std::size_t runCount = 0;
    check(doc.paragraphs.size() <= inputSize);
    for (const vornel::Paragraph& paragraph : doc.paragraphs) {
        const vornel::TextRun* previous = nullptr;
        for (const vornel::TextRun& run : paragraph.runs) {
            check(!run.text.empty());
            check(vornel::isValidUtf8(run.text));
            for (const char c : run.text)
                check(static_cast<unsigned char>(c) >= 0x20 || c == '\n' || c == '\t');
            check(run.format.pointSize >= 0.5 && run.format.pointSize <= 1638.0);
            check(!run.format.colour || *run.format.colour <= 0xFFFFFF);
            check(previous == nullptr || !(previous->format == run.format));
            previous = &run;
            textBytes += run.text.size();
            ++runCount;
        }
    }
    // No byte of input turns into more than three bytes of text, and every
    // run costs at least one byte.
    check(textBytes <= 3 * inputSize);
    check(runCount <= inputSize);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const vornel::RtfResult asIs = vornel::parseRtf(bytes);
    // A leading UTF-8 byte-order mark is passed over.
    const std::string_view body = bytes.starts_with("\xEF\xBB\xBF") ? bytes.substr(3) : bytes;
    if (body.starts_with("{\\rtf")) {
        check(asIs.status == vornel::RtfStatus::Ok);
        checkDocument(asIs.document, size);
    } else {
        check(asIs.status == vornel::RtfStatus::NotRtf && asIs.document.paragraphs.empty());
    }

    const std::string wrapped = "{\\rtf1 " + std::string(bytes);
    const vornel::RtfResult inside = vornel::parseRtf(wrapped);
    check(inside.status == vornel::RtfStatus::Ok);
    checkDocument(inside.document, wrapped.size());
    return 0;
}
