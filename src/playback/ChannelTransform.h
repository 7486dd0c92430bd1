#pragma once

#include <cstdint>

#include "midi/file/ChannelRecord.h"
#include "style/ChordType.h"

namespace vornel {

// What a style's channel table does to one stored message: pure functions of
// the section's record for the message's source channel and the chord that
// is played. The engine calls them; they hold no state.

// Whether the record's part plays under the chord: its chord-type bit and the
// bit of the chord's root are both set.
bool recordSounds(const ChannelRecord& record, const PlayedChord& chord);
// Whether it plays while no chord has been given yet (drums that start a
// style before the first chord): its auto-start bit.
bool soundsBeforeFirstChord(const ChannelRecord& record);

// The key a note written on the source channel is played at under the chord:
// moved from the record's source chord to the played one by its NTR and NTT,
// placed by its High Key and folded by whole octaves into its note limits.
// Always 0..127.
int transformNote(const ChannelRecord& record, int note, const PlayedChord& chord);

struct RoutedMessage {
    bool send = false;
    std::uint8_t status = 0;
    std::uint8_t data1 = 0;
    std::uint8_t data2 = 0;
    friend bool operator==(const RoutedMessage&, const RoutedMessage&) = default;
};

// A channel message of the record's source channel as it is to be sent:
// on the record's destination channel, its key transformed when it is a note
// message. A note-on or key pressure is not sent while the part is muted by
// its masks; `chord` is nullptr before the first chord. Note-offs always go
// (the engine switches a note off at the key it sounded at); every other
// channel message goes too, so the part's instrument and controllers are set
// whether it sounds now or later. Anything that is not a channel message is
// returned as it is.
RoutedMessage routeMessage(const ChannelRecord& record, const PlayedChord* chord, std::uint8_t status,
                           std::uint8_t data1, std::uint8_t data2);

enum class ChordChangeAction {
    Keep,       // the note goes on at its key
    Stop,       // switch it off
    Shift,      // move it to `key` without a new attack
    Retrigger,  // switch it off and strike `key` with the same velocity
};

struct ChordChange {
    ChordChangeAction action = ChordChangeAction::Keep;
    int key = 0;
    friend bool operator==(const ChordChange&, const ChordChange&) = default;
};

// What becomes of a note that sounds at `soundingKey` (written as
// `storedNote`) when the chord changes to `next`, by the record's RTR. A part
// that the new chord mutes is stopped whatever its RTR says (our proposal; a
// part that becomes audible joins with its next note-on).
ChordChange atChordChange(const ChannelRecord& record, int storedNote, int soundingKey, const PlayedChord& next);

}  // namespace vornel
