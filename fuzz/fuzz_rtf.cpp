// libFuzzer target for the help documents' rich-text reader. Every input is
// read twice: as it is, and behind a rich-text header so that the parser
// itself sees every input. Besides the sanitizers' findings it stops on any
// document the reader promises never to give.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "rtf/RtfTestText.h"
#include "windows/rtf/RtfReader.h"

namespace {

void check(bool ok) {
    if (!ok) std::abort();
}

void checkDocument(const vornel::RichText& doc, std::size_t inputSize) {
    check(vornel::test::wellFormedProblem(doc, inputSize).empty());
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
