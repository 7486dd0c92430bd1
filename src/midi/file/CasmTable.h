#pragma once

#include <string>
#include <vector>

#include "midi/file/ChannelRecord.h"

namespace vornel {

// One CSEG of a channel table: the sections it applies to (its Sdec names, as
// written) and one record per source channel.
struct CasmSegment {
    std::vector<std::string> sections;
    std::vector<ChannelRecord> records;
};

// A style's channel table as read from its CASM chunk; empty when the file has
// none or it could not be read.
struct CasmTable {
    std::vector<CasmSegment> segments;
};

}  // namespace vornel
