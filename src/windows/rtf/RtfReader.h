#pragma once

#include <string>
#include <string_view>

#include "windows/rtf/RichText.h"

namespace vornel {

// Why a document could not be read.
enum class RtfStatus { Ok, Missing, Unreadable, NotRtf };

struct RtfResult {
    RtfStatus status = RtfStatus::Ok;
    RichText document;  // empty unless status is Ok
};

// Reads rich text from bytes. Any bytes are safe: text that does not start
// with "{\rtf" is NotRtf; everything else yields a document.
RtfResult parseRtf(std::string_view bytes);

// Reads the file at `path` (UTF-8): Missing when it does not exist,
// Unreadable when it exists but cannot be read (a folder, no permission).
RtfResult readRtfFile(const std::string& path);

}  // namespace vornel
