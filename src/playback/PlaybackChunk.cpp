#include "playback/PlaybackChunk.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "midi/MidiVocabulary.h"
#include "midi/file/MidifileComponent.h"
#include "midi/output/MIDIOutputComponent.h"
#include "playback/BarMath.h"
#include "playback/ChannelTransform.h"
#include "playback/ChordChange.h"
#include "playback/ChordRule.h"
#include "playback/NoteSilencing.h"
#include "playback/TempoCursor.h"
#include "style/StyleData.h"

namespace vornel {

// The silent carrier of a cue: a velocity-0 Note On, on the channel and key
// the player window keeps free of played notes (channel 1, note 36 unless a
// MIDI keyboard plays on channel 1). The output component sends it nowhere.
void queueCarrier(Engine& s, std::int32_t tag, double ms) {
    queueMessage(s, tag, s.CarrierStatus, s.CarrierKey, 0, ms);
}

namespace {

// The style's sound setup (program changes and bank select MSB 127 with its
// LSB, all at delta 0 in track 1) again, each on the channel its source plays
// on in this part, queued at the chunk's start: the queue runs well ahead, and
// an instrument sent at once would change under the notes still sounding.
void resendSetup(Engine& s, std::int16_t PartNo) {
    MidifileComponent& f = s.Midifile1;
    f.Track(1);
    const std::int32_t count = f.EventCount();
    std::int32_t bankMsbAt = -1;  // nothing remembered yet
    const PlayedChord chord = s.Chords.at(s.QueuedMs).played();
    for (std::int32_t k = 1; k <= count; ++k) {
        f.EventIndex(k);
        const std::int16_t st = f.EvStatus();
        const std::int16_t d1 = f.EvData1();
        const std::int16_t d2 = f.EvData2();
        if (f.EvDelta() != 0) continue;
        const ChannelTable::Route route = s.style.channels.setupRoute(PartNo, midi::channelOf(st));
        if (route.dropped) continue;
        // Where a part is written twice, for major and for minor chords,
        // each version may have its own instrument: only the version the
        // chord lets sound sets the part's.
        const ChannelRecord* own = s.style.channels.forSource(PartNo, midi::channelOf(st));
        if (own && !recordSounds(*own, chord)) continue;
        const auto send = [&](std::int16_t status) {
            queueMessage(s, 0, route.record ? midi::statusOf(status, route.record->destination) : status, d1, d2,
                         s.QueuedMs);
        };
        const bool controlChange = midi::isControlChange(st);
        if (midi::isProgramChange(st)) {
            send(st);
        } else if (controlChange && d1 == midi::cc::kBankSelectMsb && d2 == 127) {
            bankMsbAt = k;
            send(st);
        } else if (controlChange && d1 == midi::cc::kBankSelectLsb && k - 1 == bankMsbAt) {
            send(st);
        }
    }
}

// Queues one chunk's messages and keeps the note lists: a Note On joins
// List1 with the key it was sent as; a switch-off goes to the key of the
// earliest sounding note of its channel and stored key, and a switch-off that
// finds no sounding note is not sent at all. In a section the style's channel
// table covers, each source channel plays by its record: on its destination,
// only under the chords its masks allow, its notes moved from its source
// chord to the one played.
//
// The chord of each moment comes from the chord timeline: where it changes
// inside the chunk, the notes sounding then meet the new chord there
// (meetChordAt), and what follows is played in it.
class ChunkWriter {
public:
    ChunkWriter(Engine& s, std::int16_t partNo, double startMs)
        : s_(s), partNo_(partNo), atMs_(startMs), chord_(s.Chords.at(startMs)), played_(chord_.played()) {}

    // Every chord change after the last one met and before `stampMs` (or at
    // it, when `inclusive`) takes effect.
    void chordsUntil(double stampMs, bool inclusive = false) {
        for (;;) {
            const double* next = s_.Chords.nextChange(atMs_, inclusive ? stampMs + 1e-9 : stampMs);
            if (!next) return;
            atMs_ = *next;
            const ChordState& chord = s_.Chords.at(atMs_);
            meetChordAt(s_, atMs_, chord);
            chord_ = chord;
            played_ = chord.played();
        }
    }

    // The events of one tick. Where one note ends and another begins on the
    // same key (a chord struck again), the ending goes first, whatever the
    // stored order. A switch-off that finds no earlier note is taken in slot
    // order: after a Note On of this tick it ends that note (a note of no
    // length); before any, it is the note-off of a note this part never
    // started (a section's first tick holds the last section's note-offs) and
    // is not sent.
    void tick(const std::vector<std::int32_t>& slots, double stampMs) {
        const StyleData& style = s_.style;
        handled_.assign(slots.size(), false);
        chordsUntil(stampMs);
        for (std::size_t i = 0; i < slots.size(); ++i) {
            const std::int32_t slot = slots[i];
            const std::int16_t m = style.PartMes(partNo_, slot);
            const std::int16_t d2 = style.PartD2(partNo_, slot);
            if (midi::isSwitchOff(m, d2))
                handled_[i] = switchOff(m, style.PartD1(partNo_, slot), d2, stampMs, true, 0, s_.List1.size());
        }
        chordsUntil(stampMs, true);  // after the notes that end here: they are not struck again for nothing
        const std::size_t fresh = s_.List1.size();  // the notes of this tick follow
        for (std::size_t i = 0; i < slots.size(); ++i) {
            const std::int32_t slot = slots[i];
            const std::int16_t m = style.PartMes(partNo_, slot);
            const std::int16_t d1 = style.PartD1(partNo_, slot);
            const std::int16_t d2 = style.PartD2(partNo_, slot);
            if (midi::isSwitchOff(m, d2)) {
                if (!handled_[i] && !switchOff(m, d1, d2, stampMs, false, fresh, s_.List1.size()))
                    forgetMuted(m, d1);
                continue;
            }
            const ChannelTable::Route route =
                midi::isChannelMessage(m) ? style.channels.route(partNo_, midi::channelOf(m)) : ChannelTable::Route{};
            if (route.dropped) continue;
            std::int16_t status = m;
            std::int16_t key = chordNote(m, d1, chord_.Transpose, chord_.IsMinor);
            if (route.record) {
                const RoutedMessage r = routeMessage(*route.record, &played_, static_cast<std::uint8_t>(m),
                                                     static_cast<std::uint8_t>(d1), static_cast<std::uint8_t>(d2));
                status = r.status;
                key = r.data1;
                if (!r.send) {  // a part the chord mutes: it holds the note unheard
                    if (midi::isNoteOn(m, d2)) s_.Muted.push_back(entry(m, d1, d2, status, key, true, stampMs));
                    continue;
                }
            }
            const bool noteOn = midi::kindOf(m) == midi::kNoteOn;
            if (noteOn) {
                s_.List1.push_back(entry(m, d1, d2, status, key, route.record != nullptr, stampMs));
                s_.Strikes.strike(status, key);
            }
            queueMessage(s_, noteOn ? meterTag(status, d2) : 0, status, key, d2, stampMs);
        }
    }

    // The notes a chord change switched off at this chunk's bar line and
    // that go on under the new chord, struck again at their new keys. Called
    // once the bar line's own switch-offs are queued: a note whose written
    // end is the bar line is not struck again for nothing.
    void strikePending(double stampMs) {
        for (NoteEntry& e : s_.List2) {
            if (!e.pending) continue;
            e.pending = false;
            queueStrike(s_, e, stampMs);
        }
    }

private:
    NoteEntry entry(std::int16_t m, std::int16_t d1, std::int16_t d2, std::int16_t status, std::int16_t key, bool routed,
                    double stampMs) const {
        NoteEntry e;
        e.status = status;
        e.note = key;
        e.stored = d1;
        e.part = partNo_;
        e.passStart = s_.PartOffset;
        e.followsChord = followsChord(m) && !routed;
        e.chord = chord_.ChordIdx;
        e.source = static_cast<std::int16_t>(midi::channelOf(m));
        e.velocity = d2;
        e.routed = routed;
        e.played = played_;
        e.onMs = stampMs;
        return e;
    }

    // The note-off of a note its part held unheard.
    void forgetMuted(std::int16_t m, std::int16_t stored) {
        const auto it = std::find_if(s_.Muted.begin(), s_.Muted.end(), [&](const NoteEntry& e) {
            return e.source == midi::channelOf(m) && e.stored == stored;
        });
        if (it != s_.Muted.end()) s_.Muted.erase(it);
    }

    // Ends the earliest sounding note of the source channel and stored key:
    // in List2 when `older`, then in List1's entries [from1, to1), at the key
    // and on the channel it sounds. False when there is none. A note waiting
    // to be struck again is already off: it is only forgotten. While another
    // strike of the same key sounds on, nothing goes out (StrikeCounts).
    bool switchOff(std::int16_t m, std::int16_t stored, std::int16_t d2, double stampMs, bool older,
                   std::size_t from1, std::size_t to1) {
        const int channel = midi::channelOf(m);
        const auto same = [&](const NoteEntry& e) { return e.source == channel && e.stored == stored; };
        const auto end = [&](const NoteEntry& e) {
            if (!e.pending && s_.Strikes.release(e.status, e.note))
                queueMessage(s_, 0, midi::statusOf(midi::kindOf(m), midi::channelOf(e.status)), e.note, d2, stampMs);
        };
        if (older) {
            const auto it = std::find_if(s_.List2.begin(), s_.List2.end(), same);
            if (it != s_.List2.end()) {
                end(*it);
                s_.List2.erase(it);
                return true;
            }
        }
        const auto first = s_.List1.begin() + static_cast<std::ptrdiff_t>(from1);
        const auto last = s_.List1.begin() + static_cast<std::ptrdiff_t>(to1);
        const auto it = std::find_if(first, last, same);
        if (it == last) return false;
        end(*it);
        s_.List1.erase(it);
        return true;
    }

    Engine& s_;
    std::int16_t partNo_;
    double atMs_;  // the last chord change met
    ChordState chord_;
    PlayedChord played_;
    std::vector<bool> handled_;
};

// Milliseconds per tick of a tempo event; a tempo of 0 keeps the pace.
double msPerTickOf(std::int32_t usPerQuarter, std::int32_t resolution, double current) {
    if (usPerQuarter <= 0 || resolution <= 0) return current;
    return usPerQuarter / 1000.0 / resolution;
}

// The stamps of the beats of a chunk [first, end) that starts at QueuedMs,
// counted from the part's first tick, through the part's tempo changes.
std::vector<double> beatStamps(const Engine& s, std::int16_t PartNo, std::int64_t first, std::int64_t end,
                               double pace) {
    std::vector<double> beats;
    const std::int64_t beat = ticksPerBeat(s.Midifile1);
    if (beat <= 0) return beats;
    const std::int32_t resolution = s.Midifile1.Resolution();
    const std::vector<TempoChange>& tempos = s.style.PartTempos(PartNo);
    auto next = std::find_if(tempos.begin(), tempos.end(), [&](const TempoChange& c) { return c.tick > first; });
    TempoCursor time(s.QueuedMs, first, pace);
    for (std::int64_t t = (first + beat - 1) / beat * beat; t < end; t += beat) {
        for (; next != tempos.end() && next->tick <= t; ++next)
            time.change(next->tick, msPerTickOf(next->usPerQuarter, resolution, pace));
        beats.push_back(time.at(t));
    }
    return beats;
}

}  // namespace

EngineCounters countersOf(const Engine& s) {
    return {s.Playing,  s.QueuedTicks, s.QueuedMs,    s.PartOffset, s.CurBar,
            s.LastPart, s.ClosedChord, s.PartBars, s.NextCueTag, s.NextCueMs};
}

void keepLists(ChunkMark& mark, const Engine& s) {
    mark.list1 = s.List1;
    mark.list2 = s.List2;
    mark.muted = s.Muted;
    mark.strikes = s.Strikes;
}

void restoreLists(Engine& s, const ChunkMark& mark) {
    s.List1 = mark.list1;
    s.List2 = mark.list2;
    s.Muted = mark.muted;
    s.Strikes = mark.strikes;
}

void restoreCounters(Engine& s, const EngineCounters& c) {
    s.Playing = c.Playing;
    s.QueuedTicks = c.QueuedTicks;
    s.QueuedMs = c.QueuedMs;
    s.PartOffset = c.PartOffset;
    s.CurBar = c.CurBar;
    s.LastPart = c.LastPart;
    s.ClosedChord = c.ClosedChord;
    s.PartBars = c.PartBars;
    s.NextCueTag = c.NextCueTag;
    s.NextCueMs = c.NextCueMs;
}

void PlayRitm(Engine& s, std::int16_t PartNo) {
    // A chord heard from the next bar line is the one chosen when that bar
    // line's chunk is queued.
    if (s.ChordChange == ChordChangeMode::NextBarLine)
        s.Chords.set(s.QueuedMs, ChordState{s.Transpose, s.ChordIdx, s.IsMinor, s.ChordTypeNo});
    ChunkMark mark;
    mark.part = PartNo;
    mark.partName = s.PartName;
    mark.before = countersOf(s);
    keepLists(mark, s);
    if (!queueChunk(s, PartNo, &mark.beatsMs)) return;
    mark.startMs = mark.before.QueuedMs;
    mark.endMs = s.QueuedMs;
    mark.after = countersOf(s);
    mark.cueTag = s.NextCueTag;
    // A chunk that has ended cannot change any more.
    const double now = s.MIDIOutput1.QueueTime();
    while (!s.Chunks.empty() && s.Chunks.front().endMs <= now) s.Chunks.erase(s.Chunks.begin());
    s.Chunks.push_back(std::move(mark));
    s.Chords.forgetBefore(s.Chunks.front().startMs);
    if (returnsAfterEnding(s.PartName)) s.ReturnPart = PartNo;
}

bool queueChunk(Engine& s, std::int16_t PartNo, std::vector<double>* beatsMs) {
    MIDIOutputComponent& out = s.MIDIOutput1;
    const StyleData& style = s.style;
    const bool fresh = s.SendFromMs == kQueueEverything;

    const std::int16_t wasPlaying = s.Playing;
    s.Playing = 1;

    // Timing of this chunk.
    const std::int64_t TicksPerBar = ticksPerBar(s.Midifile1);
    s.Midifile1.Track(1);
    const std::int64_t L = partLength(style, PartNo);

    // Kind of chunk and its window [first, end) of the part's ticks. A bar
    // chunk takes the part's bar CurBar; the last bar of a part whose length
    // is not whole bars is the part's tail, so the part loops without a rest.
    const bool barChunk = partNameBegins(s.PartName, "Main");
    std::int32_t firstTag = CueNextBar;
    if (!barChunk) {
        s.CurBar = 1;
        s.PartOffset = s.QueuedTicks;
        firstTag = partNameBegins(s.PartName, "End") ? CueEnding : CueNextPart;
    }
    const std::int64_t first = barChunk ? TicksPerBar * (s.CurBar - 1) : 0;
    const std::int64_t end = std::max(first, barChunk ? std::min(TicksPerBar * s.CurBar, L) : L);

    // Checked before anything is queued: cue carriers of a chunk that is
    // never started would come due later and, each time, queue this empty
    // part again at the same moment, so the cues would never end. Nothing is
    // queued, so playback that runs runs out and stops by itself.
    const std::int32_t count = style.PartEvCount(PartNo);
    if (count <= 0) {
        // Nothing was started: a stopped window stays stopped (and closable).
        s.Playing = wasPlaying;
        if (fresh) s.window.reportNoData();
        return false;
    }

    // The notes that this chunk does not go on with end at its first bar line.
    CloseActiveNotes(s, PartNo);

    // A pass of a part starts at the file's tempo; the part's own tempo
    // events apply from their tick on.
    const std::int32_t resolution = s.Midifile1.Resolution();
    double pace = msPerTick(s.Midifile1);
    for (const TempoChange& c : style.PartTempos(PartNo))
        if (c.tick <= first) pace = msPerTickOf(c.usPerQuarter, resolution, pace);
    TempoCursor time(s.QueuedMs, first, pace);

    // Every chunk queued while a choice waits to be heard carries the cue
    // that shows it chosen; the first one played ends the wait.
    if (s.ChoicePending) queueCarrier(s, CueChunkStart, s.QueuedMs);

    // The events of the window, a tick at a time. A file without a
    // resolution gives its ticks no length: its events cannot be placed in
    // time and none is queued (they would all sound at once).
    const bool timed = resolution > 0;
    const std::vector<TempoChange>& tempos = style.PartTempos(PartNo);
    auto nextTempo = std::find_if(tempos.begin(), tempos.end(), [&](const TempoChange& c) { return c.tick > first; });
    ChunkWriter writer(s, PartNo, s.QueuedMs);
    std::vector<std::int32_t> group;
    std::int64_t groupTick = -1;
    bool bankSelectSeen = false;
    const auto flush = [&] {
        if (group.empty()) return;
        if (groupTick > first) writer.strikePending(s.QueuedMs);
        for (; nextTempo != tempos.end() && nextTempo->tick <= groupTick; ++nextTempo)
            time.change(nextTempo->tick, msPerTickOf(nextTempo->usPerQuarter, resolution, pace));
        writer.tick(group, time.at(groupTick));
        if (groupTick == first) writer.strikePending(s.QueuedMs);
        group.clear();
    };
    for (std::int32_t slot = 1; slot <= count; ++slot) {
        const std::int16_t m = style.PartMes(PartNo, slot);
        const std::int32_t t = style.PartTick(PartNo, slot);
        if (midi::isControlChange(m) && style.PartD1(PartNo, slot) == midi::cc::kBankSelectLsb) bankSelectSeen = true;
        if (t >= end) break;  // events are in time order: the rest lie beyond the chunk
        if (t < first || !timed) continue;
        if (t != groupTick) flush();
        groupTick = t;
        group.push_back(slot);
    }
    flush();
    writer.strikePending(s.QueuedMs);
    for (; nextTempo != tempos.end() && nextTempo->tick < end; ++nextTempo)
        time.change(nextTempo->tick, msPerTickOf(nextTempo->usPerQuarter, resolution, pace));
    const double endMs = time.at(end);
    writer.chordsUntil(endMs);
    if (beatsMs) *beatsMs = beatStamps(s, PartNo, first, end, pace);

    // The next chunk is queued QueueAheadMs before this one ends (real
    // time, so it grows in queue time as the tempo rises); a cue that falls
    // before now comes at once, so the queue always reaches that far ahead.
    // Nothing follows an ending, so it needs no lead: its cue is its written
    // end, and the queue runs out no sooner, even when its last notes end
    // before it.
    const double ahead = s.QueueAheadMs * std::exp2(s.TempoShift / 100.0);
    s.NextCueTag = firstTag;
    s.NextCueMs = firstTag == CueEnding ? endMs : endMs - ahead;
    queueCarrier(s, firstTag, s.NextCueMs);

    // The style's sound set-up again, at the chunk's start.
    if (!bankSelectSeen) resendSetup(s, PartNo);

    s.QueuedTicks = toTicks(s.QueuedTicks + (end - first));
    s.QueuedMs = endMs;

    // Nothing follows an ending: what still sounds ends at its written end
    // (part 0 continues no note), so the queue runs out after the last note.
    if (firstTag == CueEnding) CloseActiveNotes(s, 0);

    out.PortCommand(MIDIOutputComponent::StartQueue);
    s.window.showPlaying();
    return true;
}

}  // namespace vornel
