#include "playback/ChordChange.h"

#include <algorithm>
#include <cmath>

#include "midi/output/MIDIOutputComponent.h"
#include "playback/BarMath.h"
#include "playback/ChannelTransform.h"
#include "playback/ChordRule.h"
#include "playback/NoteSilencing.h"
#include "playback/PartSequencing.h"
#include "playback/PlaybackChunk.h"
#include "style/StyleData.h"

namespace vornel {

namespace {

constexpr double kAfterNowMs = 0.001;

constexpr int kStops = -1;
constexpr int kFallsSilent = -2;

// The key `e` should sound at under `to`: kStops when it must stop, or
// kFallsSilent when the chord mutes its part.
int keyUnder(const Engine& s, const NoteEntry& e, const ChordState& to, double atMs) {
    const bool graced = e.onMs >= atMs - kChordGraceMs;
    if (!e.routed) return chordNote(e.status, e.stored, to.Transpose, to.IsMinor);
    const ChannelRecord* record = s.style.channels.forSource(e.part, e.source);
    if (!record) return kStops;
    if (!recordSounds(*record, to.played())) return kFallsSilent;
    if (graced) return transformNote(*record, e.stored, to.played());
    const ChordChange change = atChordChange(*record, e.stored, e.note, to.played());
    // A pitch shift is struck again at its new key: see meetChord at a bar line.
    return change.action == ChordChangeAction::Stop ? kStops : change.key;
}

// The first beat at or after `ms` of the chunks queued, or QueuedMs. A chord
// a little behind a beat (within the grace window) is meant for that beat:
// it is heard at once, and the notes of the beat are struck again in it.
double nextBeat(const Engine& s, double ms) {
    for (const ChunkMark& c : s.Chunks) {
        for (double beat : c.beatsMs) {
            if (beat >= ms) return beat;
            if (ms - beat <= kChordGraceMs) return ms;
        }
    }
    return std::max(ms, s.QueuedMs);
}

}  // namespace

ChordState chosenChord(const Engine& s) {
    return ChordState{s.Transpose, s.ChordIdx, s.IsMinor, s.ChordTypeNo};
}

void meetChordAt(Engine& s, double atMs, const ChordState& to) {
    // Every switch-off of the moment comes before any strike, so that a note
    // moving onto a key another one leaves is not cut.
    std::vector<std::pair<std::vector<NoteEntry>*, std::size_t>> moved;
    for (std::vector<NoteEntry>* list : {&s.List2, &s.List1}) {
        std::size_t kept = 0;
        for (std::size_t i = 0; i < list->size(); ++i) {
            NoteEntry e = (*list)[i];
            if (!e.pending && (e.routed || e.followsChord)) {
                const int key = keyUnder(s, e, to, atMs);
                e.chord = to.ChordIdx;
                e.played = to.played();
                if (key != e.note) {
                    queueSwitchOff(s, e, atMs);
                    if (key == kFallsSilent) s.Muted.push_back(e);  // held on unheard
                    if (key == kStops || key == kFallsSilent) continue;
                    e.note = static_cast<std::int16_t>(key);
                    moved.push_back({list, kept});
                }
            }
            (*list)[kept++] = e;
        }
        list->resize(kept);
    }
    for (const auto& [list, index] : moved) queueStrike(s, (*list)[index], atMs);
    // A part the chord lets sound comes in at once with the notes it holds,
    // as if it had sounded all along: the other version of a part written
    // for major and for minor chords takes over without a silent gap.
    std::size_t kept = 0;
    for (std::size_t i = 0; i < s.Muted.size(); ++i) {
        NoteEntry e = s.Muted[i];
        const ChannelRecord* record = s.style.channels.forSource(e.part, e.source);
        if (!record || !recordSounds(*record, to.played())) {
            s.Muted[kept++] = e;
            continue;
        }
        e.note = static_cast<std::int16_t>(transformNote(*record, e.stored, to.played()));
        e.played = to.played();
        e.chord = to.ChordIdx;
        s.List1.push_back(e);
        queueStrike(s, s.List1.back(), atMs);
    }
    s.Muted.resize(kept);
}

std::int16_t soundingPart(const Engine& s) {
    const double now = s.MIDIOutput1.QueueTime();
    for (const ChunkMark& c : s.Chunks)
        if (c.startMs <= now && now < c.endMs) return c.part;
    return 0;
}

void requeueFrom(Engine& s, double fromMs) {
    auto first = std::find_if(s.Chunks.begin(), s.Chunks.end(), [&](const ChunkMark& c) { return c.endMs > fromMs; });
    if (first == s.Chunks.end()) return;
    const std::string partName = s.PartName;
    restoreLists(s, *first);
    for (auto c = first; c != s.Chunks.end(); ++c) {
        if (c != first) keepLists(*c, s);  // a later chunk now starts from the lists queued again
        restoreCounters(s, c->before);
        s.PartName = c->partName;
        s.SendFromMs = fromMs;
        queueChunk(s, c->part);
        s.SendFromMs = kQueueEverything;
    }
    s.PartName = partName;
}

namespace {

// The first chunk boundary at least the chord lead (real time) ahead of now:
// where a part, or a chord heard from the next bar line, takes over. Past
// everything queued when no queued chunk ends that late.
double nextBoundary(const Engine& s) {
    const double lead = s.LeadMs * std::exp2(s.TempoShift / 100.0);
    const double earliest = s.MIDIOutput1.QueueTime() + lead;
    for (const ChunkMark& c : s.Chunks)
        if (c.endMs >= earliest && c.endMs < s.QueuedMs) return c.endMs;
    return s.QueuedMs;
}

void withdrawFrom(Engine& s, double fromMs) {
    s.MIDIOutput1.CueTime(fromMs);
    s.MIDIOutput1.PortCommand(MIDIOutputComponent::WithdrawQueued);
}

}  // namespace

void ChangePart(Engine& s) {
    if (s.Playing == 0) return;
    s.ChoicePending = true;  // shown waiting until the part's first chunk starts
    if (s.Chunks.empty()) return;
    const double at = nextBoundary(s);
    if (at >= s.QueuedMs) return;  // the next chunk to be queued starts there and reads the part
    const auto ending =
        std::find_if(s.Chunks.begin(), s.Chunks.end(), [&](const ChunkMark& c) { return c.endMs == at; });
    if (ending == s.Chunks.end() || std::next(ending) == s.Chunks.end()) return;
    withdrawFrom(s, at);
    // As the moment that chunk's cue came: its counters, and the lists the
    // chunk after it started from.
    restoreLists(s, *std::next(ending));
    restoreCounters(s, ending->after);
    const std::int32_t cue = ending->cueTag;
    s.Chunks.erase(std::next(ending), s.Chunks.end());
    // What was taken back was never heard: the part to return to after an
    // Ending is the last one kept.
    const auto kept = std::find_if(s.Chunks.rbegin(), s.Chunks.rend(),
                                   [](const ChunkMark& c) { return returnsAfterEnding(c.partName); });
    if (kept != s.Chunks.rend()) s.ReturnPart = kept->part;
    MIDIOutput1_CueReached(s, cue);
}

void ChangeChord(Engine& s) {
    if (s.Playing == 0) return;
    // From the next bar line the chord is shown waiting until then.
    if (s.ChordChange == ChordChangeMode::NextBarLine) s.ChoicePending = true;
    // After a Panic nothing is queued before the next chunk: it starts in the
    // chord chosen.
    if (s.Chunks.empty()) {
        s.Chords.set(s.QueuedMs, chosenChord(s));
        return;
    }
    if (s.ChordChange == ChordChangeMode::NextBarLine) {
        const double at = nextBoundary(s);
        if (at >= s.QueuedMs) return;  // the next chunk to be queued reads the chord
        s.Chords.set(at, chosenChord(s));
        withdrawFrom(s, at);
        requeueFrom(s, at);
        return;
    }
    MIDIOutputComponent& out = s.MIDIOutput1;
    // Just after now: what is stamped now may be on the wire already.
    const double now = out.QueueTime() + kAfterNowMs;
    const double at = s.ChordChange == ChordChangeMode::NextBeat ? nextBeat(s, now) : now;
    s.Chords.set(at, chosenChord(s));
    if (at >= s.QueuedMs) return;  // the next chunk to be queued starts in it
    withdrawFrom(s, at);
    requeueFrom(s, at);
}

}  // namespace vornel
