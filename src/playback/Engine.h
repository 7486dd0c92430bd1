#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "playback/ChordTimeline.h"
#include "playback/ChunkHistory.h"
#include "playback/EngineWindow.h"
#include "playback/NoteEntry.h"
#include "playback/StrikeCounts.h"
#include "style/ChordType.h"

namespace vornel {

class MidifileComponent;
class MIDIOutputComponent;
class StyleData;

// How long before a bar line the engine queues that bar, in real
// milliseconds. A chord or part chosen up to this lead before a bar line is
// heard from it. It must cover the cue's way back to the UI thread (one audio
// period of the built-in synthesizer, up to 23 ms at 1024 frames, plus the
// scheduler's 5 ms look and the dispatcher), the longest handler or repaint
// that can run while playing, and the hand-over of the bar's messages to the
// device before they are due. 150 ms covers all of them several times over
// while still feeling immediate to a player who changes chords just before
// the bar line.
inline constexpr double kChordLeadMs = 150.0;
// How far ahead of the music the engine keeps the queue filled, in real ms:
// a window that stalls this long (a slow repaint, a dialog, a file list)
// makes no note late. A change takes back what it makes wrong.
inline constexpr double kQueueAheadMs = 1500.0;
inline constexpr double kQueueEverything = -1.0e300;

// The playback engine's own state: what it plays (the part and chord chosen,
// the tempo shift), where it stands (the bar counters), what sounds (the note
// lists), what it has queued (the chunks, the chord of each moment, the cue
// that queues what follows) and where its silent carriers go. The window
// writes the choices and reads what it shows; the engine reaches the window
// only through `window`.
//
// Every engine procedure runs on the UI thread, one at a time, where the
// window's handlers and the output component's cues run: nothing here is
// shared with the audio thread except through the output component's queue.
struct Engine {
    Engine(MidifileComponent& reader, MIDIOutputComponent& output, const StyleData& styleData, EngineWindow& win)
        : Midifile1(reader), MIDIOutput1(output), style(styleData), window(win) {}
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    MidifileComponent& Midifile1;
    MIDIOutputComponent& MIDIOutput1;
    const StyleData& style;
    EngineWindow& window;

    // The part chosen: 1..18 (button + 1), or -1 for none, and its caption,
    // whose first word tells the part's kind (Main, End, ...).
    std::int16_t CurPart = -1;
    std::string PartName;

    // The chord chosen: its label 0..23, transposition and kind, and its
    // channel-table type (Maj or min from a chord label, anything a MIDI
    // keyboard's left hand recognises).
    std::int16_t Transpose = 0;
    std::int16_t ChordIdx = 0;
    std::int16_t IsMinor = 0;
    int ChordTypeNo = chord::kMaj;
    // When a chord chosen while playing is heard.
    ChordChangeMode ChordChange = ChordChangeMode::AtOnce;

    // The tempo shift, -100..+100: the tempo is scaled by 2^(shift / 100).
    // The leads below are real time, so they scale with it.
    int TempoShift = 0;

    // Bar counters.
    std::int16_t Playing = 0;
    std::int32_t QueuedTicks = 0;
    double QueuedMs = 0.0;  // the stamp of QueuedTicks: where the next chunk starts
    double LeadMs = kChordLeadMs;
    double QueueAheadMs = kQueueAheadMs;
    std::int32_t PartOffset = 0;
    std::int16_t CurBar = 0;
    std::int16_t LastPart = 0;
    std::int16_t ClosedChord = 0;
    double PartBars = 0.0;
    // The cue that queues what follows the last chunk queued, and its stamp:
    // a Panic that drops the queue puts it back, so playback goes on.
    std::int32_t NextCueTag = 0;
    double NextCueMs = 0.0;
    // A part or chord chosen is waiting to be heard (and the window shows it
    // waiting): the next chunk queued carries a chunk-start cue, at which the
    // window shows it chosen.
    bool ChoicePending = false;
    // The Main or Intro part queued last (0: none since Play): once an
    // Ending has played out, the window's choice goes back to it, so that
    // Play starts the song again instead of its Ending.
    std::int16_t ReturnPart = 0;

    // The note lists: List1 the most recent chunk's Note Ons, List2 those of
    // earlier chunks; in both, only notes whose switch-off has not been
    // queued yet.
    std::vector<NoteEntry> List1;
    std::vector<NoteEntry> List2;
    // The notes a part holds unheard because the chord mutes it (a version
    // of a part written for the other kind of chord): a chord that lets the
    // part sound brings them in at once.
    std::vector<NoteEntry> Muted;
    // The strikes of the listed notes per channel and key, as they go out.
    StrikeCounts Strikes;
    // The chord of each moment of what is queued.
    ChordTimeline Chords;
    // The chunks queued that have not ended, oldest first, to queue again
    // from a chord change on.
    std::vector<ChunkMark> Chunks;
    // While a chunk is queued again from a chord change: what is stamped
    // before this is queued already, and only its effect on the lists is
    // taken again.
    double SendFromMs = kQueueEverything;

    // Where the cue carriers (velocity-0 Note Ons) go: a channel and key
    // that no played note uses, so a carrier can never end a note the
    // player holds.
    std::int16_t CarrierStatus = 144;
    std::int16_t CarrierKey = 36;
};

}  // namespace vornel
