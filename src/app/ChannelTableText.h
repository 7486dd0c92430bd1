#pragma once

#include <string>

#include "midi/file/ChannelRecord.h"
#include "style/ChannelTable.h"

namespace vornel {

// A style's channel table in words, section by section, for vornel_render
// --info: source -> destination channel (1-based), name, masks as chord-type
// and root names, NTR/NTT, High Key, note limits and RTR.
std::string channelTableText(const ChannelTable& table);

// One record on one line, without a line end.
std::string channelRecordText(const ChannelRecord& record);

}  // namespace vornel
