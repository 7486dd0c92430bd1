#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "midi/MidiVocabulary.h"
#include "midi/file/Midifile.h"
#include "support/SmfBuilder.h"

namespace vornel::test {

// One event as the reader's properties show it.
struct ReadEvent {
    int status = 0;
    int data1 = 0;
    int data2 = 0;
    std::int32_t delta = 0;
    std::string text;
    std::string sysEx;
    friend bool operator==(const ReadEvent&, const ReadEvent&) = default;
};

inline void PrintTo(const ReadEvent& e, std::ostream* os) {
    *os << "{status " << e.status << ", " << e.data1 << ", " << e.data2 << ", delta " << e.delta;
    if (!e.text.empty()) *os << ", text \"" << e.text << "\"";
    if (!e.sysEx.empty()) *os << ", sysex " << e.sysEx.size() << " bytes";
    *os << "}";
}

inline ReadEvent channel(int status, int data1, int data2, std::int32_t delta = 0) {
    return {status, data1, data2, delta, {}, {}};
}
inline ReadEvent metaEvent(int type, std::int32_t delta = 0, std::string text = {}) {
    return {midi::kMeta, type, 0, delta, std::move(text), {}};
}
inline ReadEvent endOfTrack(std::int32_t delta = 0) {
    return metaEvent(0x2F, delta);
}
inline std::string str(const Bytes& b) {
    return std::string(b.begin(), b.end());
}

inline Midifile loaded(const Bytes& bytes) {
    Midifile file;
    file.loadFromMemory(bytes.data(), bytes.size());
    return file;
}
inline Midifile loaded(const SmfBuilder& builder) {
    return loaded(builder.build());
}

// The selected event (Track and EventIndex already written).
inline ReadEvent selectedEvent(const Midifile& f) {
    return {f.EvStatus(), f.EvData1(), f.EvData2(), f.EvDelta(), f.EvText(), f.EvSysEx()};
}

// Every event of a track, read the way the loading code reads them.
inline std::vector<ReadEvent> readTrack(Midifile& f, int track) {
    std::vector<ReadEvent> events;
    f.Track(track);
    for (std::int32_t e = 1, n = f.EventCount(); e <= n; ++e) {
        f.EventIndex(e);
        events.push_back(selectedEvent(f));
    }
    return events;
}

// Every event of one track of a file.
inline std::vector<ReadEvent> eventsOf(const SmfBuilder& builder, int track = 1) {
    Midifile f = loaded(builder);
    return readTrack(f, track);
}

}  // namespace vornel::test
