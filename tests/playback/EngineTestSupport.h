#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <set>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "midi/file/Midifile.h"
#include "player/PlayerState.h"
#include "style/StyleData.h"
#include "support/RecordingPort.h"
#include "support/SmfBuilder.h"

namespace vornel::test {

// The file-level values the engine reads from the reader, and the sound
// setup that track 1 carries at its start.
struct FileTiming {
    int resolution = 96;
    std::uint32_t tempo = 96000;  // 1 ms per tick at 96 ticks per quarter
    int timeSigNum = 4;
    int timeSigDenExp = 2;
    // (status, data1, data2) events at delta 0 at the start of track 1.
    std::vector<std::array<int, 3>> setup;
    // An event after a delta, so it is not part of the setup.
    std::vector<std::array<int, 3>> later;
};

inline void loadTiming(Midifile& reader, const FileTiming& timing) {
    SmfBuilder file(1, timing.resolution);
    TrackBuilder& t = file.addTrack();
    t.timeSignature(0, timing.timeSigNum, timing.timeSigDenExp).tempo(0, timing.tempo);
    for (const auto& e : timing.setup) t.channelMessage(0, e[0], e[1], e[2]);
    for (const auto& e : timing.later) t.channelMessage(10, e[0], e[1], e[2]);
    t.endOfTrack(0);
    const Bytes bytes = file.build();
    ASSERT_TRUE(reader.loadFromMemory(bytes.data(), bytes.size()));
}

// One stored event of a part: status, data bytes, tick from the part's start.
struct Ev {
    int mes, d1, d2, tick;
};

// Fills part p (1..18) as loading would: its boundaries, its events in slot
// order, and its button enabled.
inline void storePart(PlayerState& s, int p, std::int32_t start, std::int32_t end, const std::vector<Ev>& events) {
    s.style.PartStart(p) = start;
    s.style.PartEnd(p) = end;
    s.style.PartEvCount(p) = 0;
    for (const Ev& e : events)
        s.style.storeEvent(p, static_cast<std::int16_t>(e.mes), static_cast<std::int16_t>(e.d1),
                           static_cast<std::int16_t>(e.d2), e.tick, "", "");
    s.Cmd_Part[static_cast<std::size_t>(p - 1)].enabled = true;
}

// The window after a successful load: Play and the chord labels and
// switches enabled, C major selected.
inline void readyAsLoaded(PlayerState& s) {
    s.Cmd_Play.enabled = true;
    for (Control& c : s.Lbl_Chord) c.enabled = true;
    for (Control& c : s.Cmd_DisCh) {
        c.enabled = true;
        c.colour = s.ColOn;
    }
    s.Lbl_Chord[0].colour = s.ColSelected;
}

// A note-on whose note marks a bar of a part: the chord rule leaves 60..70
// unchanged under C major (no B among them).
inline Ev mark(int note, int tick, int channel = 12) { return {0x90 + channel - 1, note, 100, tick}; }
inline Ev release(int note, int tick, int channel = 12) { return {0x90 + channel - 1, note, 0, tick}; }

// Note Ons with a velocity, in the order sent.
inline std::vector<SentMessage> soundingNoteOns(const std::vector<SentMessage>& sent) {
    std::vector<SentMessage> out;
    for (const SentMessage& m : sent)
        if ((m.message.status & 0xF0) == 0x90 && m.message.data2 > 0) out.push_back(m);
    return out;
}

// A sent message as (status, data1, data2).
using Triple = std::array<int, 3>;
inline Triple triple(const SentMessage& m) { return {m.message.status, m.message.data1, m.message.data2}; }
inline std::vector<Triple> triples(const std::vector<SentMessage>& sent) {
    std::vector<Triple> out;
    for (const SentMessage& m : sent) out.push_back(triple(m));
    return out;
}

// The command bar as (Play, Open, Settings, Exit, Stop) enabled.
using CommandBar = std::array<bool, 5>;
inline constexpr CommandBar kStoppedBar{true, true, true, true, false};
inline constexpr CommandBar kPlayingBar{false, false, false, false, true};
inline CommandBar commandBar(const PlayerState& s) {
    return {s.Cmd_Play.enabled, s.Cmd_Open.enabled, s.Cmd_Settings.enabled, s.Cmd_Exit.enabled, s.Cmd_Stop.enabled};
}

// Sounding Note Ons as (time, note), in the order sent.
using Notes = std::vector<std::pair<double, int>>;
inline Notes notesOf(const std::vector<SentMessage>& sent) {
    Notes out;
    for (const SentMessage& m : soundingNoteOns(sent)) out.push_back({m.atMs, m.message.data1});
    return out;
}

// Every message sent with this status.
inline std::vector<SentMessage> withStatus(const std::vector<SentMessage>& sent, int status) {
    std::vector<SentMessage> out;
    for (const SentMessage& m : sent)
        if (m.message.status == status) out.push_back(m);
    return out;
}

}  // namespace vornel::test
