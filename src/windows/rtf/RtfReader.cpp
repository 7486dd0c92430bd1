#include "windows/rtf/RtfReader.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "windows/rtf/RtfParser.h"

namespace vornel {

namespace fs = std::filesystem;

namespace {

// A help document is a few kilobytes; anything past this is not one, and
// is refused rather than read into memory.
// Reading builds a record per run of text, so a hostile file of this size can
// still take a few hundred megabytes: the cap stays near what a document needs.
constexpr std::uintmax_t kMaxFileBytes = 4u * 1024 * 1024;

RtfResult withStatus(RtfStatus status) {
    RtfResult result;
    result.status = status;
    return result;
}

}  // namespace

RtfResult parseRtf(std::string_view bytes) {
    // Some editors put a UTF-8 byte-order mark before the document.
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    if (!bytes.starts_with("{\\rtf")) return withStatus(RtfStatus::NotRtf);
    RtfResult result;
    result.document = RtfParser(bytes).parse();
    return result;
}

RtfResult readRtfFile(const std::string& path) {
    const fs::path file(std::u8string(path.begin(), path.end()));
    std::error_code error;
    const fs::file_status status = fs::status(file, error);
    if (status.type() == fs::file_type::not_found) return withStatus(RtfStatus::Missing);
    // A folder, a device or a pipe is there but is no document to read.
    if (error || !fs::is_regular_file(status)) return withStatus(RtfStatus::Unreadable);
    const std::uintmax_t size = fs::file_size(file, error);
    if (error || size > kMaxFileBytes) return withStatus(RtfStatus::Unreadable);

    std::ifstream in(file, std::ios::binary);
    if (!in) return withStatus(RtfStatus::Unreadable);
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(size));
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) return withStatus(RtfStatus::Unreadable);
    return parseRtf(bytes);
}

}  // namespace vornel
