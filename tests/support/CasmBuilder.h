#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/SmfBuilder.h"

namespace vornel::test {

// The fields of one channel record as a style writer sets them. The default
// is a bass line that follows every chord.
struct RecordFields {
    int source = 10;  // 0-based channel
    std::string name = "Bass";
    int destination = 10;
    int noteMask = 0x0FFF;
    std::uint64_t chordMask = (std::uint64_t{1} << 34) - 1;  // every chord type, no auto-start
    int sourceRoot = 0;
    int sourceType = 2;  // Maj7
    int ntr = 0;
    int ntt = 0;  // in the numbering of the record kind it is written into
    int highKey = 11;
    int lowLimit = 0;
    int highLimit = 127;
    int rtr = 1;
    int featureId = 0;  // non-zero adds the four bytes of the extra break drum
    int drumNote = 49;
    int drumVolume = 100;
};

// Record bodies as they stand in a file: Ctab 27 bytes (31 with a feature),
// Ctb2 47 (51), its three blocks equal and the middle range 0..127.
Bytes ctabBody(const RecordFields& fields);
Bytes ctb2Body(const RecordFields& fields);

// The body of a CASM chunk, CSEG by CSEG; add it to a file with
// SmfBuilder::chunk("CASM", casm.body()).
class CasmBuilder {
public:
    // Starts a CSEG with its Sdec ("Main A,Main B"); omitSdec leaves it out.
    CasmBuilder& segment(const std::string& sections, bool omitSdec = false);
    CasmBuilder& ctab(const RecordFields& fields);
    CasmBuilder& ctb2(const RecordFields& fields);
    CasmBuilder& cntt(int channel, int ntt);
    // Any chunk inside the current CSEG; declaredLength overrides its length.
    CasmBuilder& child(const std::string& id, const Bytes& body);
    CasmBuilder& child(const std::string& id, const Bytes& body, std::uint32_t declaredLength);

    Bytes body() const;

private:
    std::vector<Bytes> segments_;
};

}  // namespace vornel::test
