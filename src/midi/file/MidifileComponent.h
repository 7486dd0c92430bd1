#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vornel {

// What the program sees of the MIDI file reader component (Midifile1): a
// Standard MIDI File read whole, its file-level values and one selected event
// at a time. The program holds it through this interface because the reader
// normally lives in its own loadable module (Midifl32); tests and tools use
// the in-process Midifile directly.
class MidifileComponent {
public:
    static constexpr std::int32_t kActionOpen = 1;
    static constexpr std::int32_t kActionClose = 5;

    virtual ~MidifileComponent() = default;

    virtual void FileAction(std::int32_t action) = 0;
    virtual void FileName(const std::string& path) = 0;
    virtual std::string FileName() const = 0;

    virtual std::int16_t TrackCount() const = 0;
    virtual void Track(std::int32_t track) = 0;
    virtual std::int32_t EventCount() const = 0;
    virtual void EventIndex(std::int32_t index) = 0;

    virtual std::int16_t EvStatus() const = 0;
    virtual std::int16_t EvData1() const = 0;
    virtual std::int16_t EvData2() const = 0;
    virtual std::int32_t EvDelta() const = 0;
    virtual std::string EvText() const = 0;
    virtual std::string EvSysEx() const = 0;
    // Microseconds per quarter note of the selected tempo event; 0 for any
    // other event. Tempo changes inside a section are played from it.
    virtual std::int32_t EvTempo() const = 0;

    virtual std::int16_t Resolution() const = 0;
    virtual std::int32_t Tempo() const = 0;
    virtual std::int16_t TimeSigNum() const = 0;
    virtual std::int16_t TimeSigDenExp() const = 0;

    // The bytes of the file's channel table (the body of its CASM chunk) as
    // they stand in the file; empty when it has none. One string crosses the
    // module boundary; CasmParser makes records of it.
    virtual std::string ChannelTable() const = 0;

    // Every event of the selected track in one string, kTrackEventBytes per
    // event in file order: delta (32 bits, big-endian), status, data 1,
    // data 2, 0 -- what EvDelta, EvStatus, EvData1 and EvData2 give one by
    // one. Loading reads a whole track in one call this way; texts and
    // system-exclusive data are still read per event. Empty for a track that
    // does not exist.
    static constexpr std::size_t kTrackEventBytes = 8;
    virtual std::string TrackEvents() const = 0;
};

}  // namespace vornel
