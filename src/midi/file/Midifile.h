#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "midi/file/MidifileComponent.h"
#include "midi/file/SmfData.h"

namespace vornel {

// The MIDI file reader component (instance Midifile1 of the player window).
// It reads a Standard MIDI File whole and shows its file-level values and one
// selected event at a time as properties. Tracks and events are numbered from
// 1. Nothing here throws, and the interface holds only integers and strings,
// so it can stand behind a narrow C entry point unchanged.
//
// A selection outside the file (track 0 or past TrackCount, event 0 or past
// EventCount) is kept as written and describes no event: EventCount of such
// a track is 0, and the event properties read 0 and empty strings. A loaded
// or closed file starts with track 1, event 1 selected.
class Midifile final : public MidifileComponent {
public:
    // 1 reads the file named by FileName (a file that cannot be read leaves
    // zero tracks and the default file values), 5 closes the current file;
    // other codes change nothing.
    void FileAction(std::int32_t action) noexcept override;
    void FileName(const std::string& path) override;
    std::string FileName() const override;

    std::int16_t TrackCount() const noexcept override;
    void Track(std::int32_t track) noexcept override;
    std::int32_t EventCount() const noexcept override;
    void EventIndex(std::int32_t index) noexcept override;

    // The selected event. A meta event reads status 255, its type as data 1
    // and 0 as data 2; a system-exclusive event status 240 (F7 escapes 247)
    // and 0 for both data bytes; a channel message with one data byte 0 as
    // data 2.
    std::int16_t EvStatus() const noexcept override;
    std::int16_t EvData1() const noexcept override;
    std::int16_t EvData2() const noexcept override;
    std::int32_t EvDelta() const noexcept override;
    // Text of a text-type meta event (types 1..15) up to its first NUL.
    std::string EvText() const override;
    // F0 and the stored bytes of a system-exclusive event; the stored bytes of
    // an F7 escape; empty for every other event.
    std::string EvSysEx() const override;
    std::int32_t EvTempo() const noexcept override;

    std::int16_t Resolution() const noexcept override;
    std::int32_t Tempo() const noexcept override;
    std::int16_t TimeSigNum() const noexcept override;
    std::int16_t TimeSigDenExp() const noexcept override;
    std::string ChannelTable() const override;
    std::string TrackEvents() const override;

    // Generic access by dispatch number (MidifileDispatch). Reading a property
    // that is not readable as a number (or as a string), and writing one that
    // is not writable with that type, reads 0 / empty and changes nothing.
    std::int32_t getNumber(int dispId) const noexcept;
    std::string getString(int dispId) const;
    void set(int dispId, std::int32_t value) noexcept;
    void set(int dispId, const std::string& value);

    // Reads a file from memory as FileAction = 1 reads it from disk; false
    // when the bytes are not a MIDI file (no tracks then).
    bool loadFromMemory(const std::uint8_t* bytes, std::size_t size) noexcept;

private:
    void loadFromDisk() noexcept;
    void close() noexcept;
    const SmfEvent* selected() const noexcept;

    std::string fileName_;
    SmfData data_;
    std::int32_t track_ = 1;
    std::int32_t eventIndex_ = 1;
};

}  // namespace vornel
