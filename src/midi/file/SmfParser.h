#pragma once

#include <cstdint>
#include <vector>

#include "midi/file/SmfData.h"

namespace vornel {

class ByteCursor;

// Reads a Standard MIDI File (formats 0 and 1; format 2 is read the same way)
// from a byte buffer. It never fails: whatever it cannot make sense of ends
// the track or the file where the damage starts, and everything whole before
// it is kept. Nothing is read outside the buffer, no loop runs longer than the
// buffer is long, and the memory used stays in proportion to the buffer.
class SmfParser {
public:
    static SmfData parse(std::vector<std::uint8_t> bytes);

private:
    explicit SmfParser(SmfData& data) : data_(data) {}

    void readChunks();
    void readTrack(std::size_t begin, std::size_t end);
    bool readEvent(ByteCursor& in, SmfEvent& ev);
    bool readStoredBytes(ByteCursor& in, SmfEvent& ev);
    void findFileValues();

    SmfData& data_;
    std::uint8_t runningStatus_ = 0;
};

}  // namespace vornel
