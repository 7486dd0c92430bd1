#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "midi/file/CasmTable.h"

namespace vornel {

class ByteCursor;

// Reads the body of a style's CASM chunk (Midifile::ChannelTable) into
// records. Every nested chunk is walked by its declared length. Damage costs
// as little as possible: a record of a size no layout has, or with a value out
// of its range, is left out and the next one read; a CSEG without section
// names, and every chunk whose length runs past its parent, are left out with
// what follows them in that parent; so is a CSEG left without a record.
// Nothing is read outside the bytes.
class CasmParser {
public:
    static CasmTable parse(std::string_view casm);

private:
    static void readSegment(const std::uint8_t* bytes, ByteCursor segment, CasmTable& table);
    static bool readRecord(const std::uint8_t* body, std::size_t length, bool sff2, ChannelRecord& out);
};

}  // namespace vornel
