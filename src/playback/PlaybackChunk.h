#pragma once

#include <cstdint>
#include <vector>

#include "playback/ChunkHistory.h"
#include "playback/Engine.h"

namespace vornel {

// Cue tags carried by the silent carrier message (Note On, channel 1, note 36,
// velocity 0) or by queued Note Ons (the meter cue: channel × 1000 + velocity).
inline constexpr std::int32_t CueNextBar = 1;
inline constexpr std::int32_t CueNextPart = -4;
inline constexpr std::int32_t CueEnding = -3;
inline constexpr std::int32_t CueChunkStart = -2;

// Queues one chunk of part PartNo (1..18): one bar of a Main part, or the
// whole of an Intro, Fill In or Ending, stamped in milliseconds from Play,
// transposed to the current chord, with its cue carriers; then starts the
// queue. The chunk's first cue comes the lead (LeadMs) before its end, so the
// next chunk is queued just before its bar line.
void PlayRitm(Engine& s, std::int16_t PartNo);

// Queues the silent carrier of cue `tag` at `ms`.
void queueCarrier(Engine& s, std::int32_t tag, double ms);

// PlayRitm's work without its record of the chunk: queues the chunk of
// PartNo that the counters point at, sending only what lies at or after
// SendFromMs (the rest was queued before and is only walked through again
// for the note lists). False, with nothing queued, for a part without data.
// Fills `beatsMs` with the chunk's beats.
bool queueChunk(Engine& s, std::int16_t PartNo, std::vector<double>* beatsMs = nullptr);

// The counters a chunk starts from, and putting them back.
EngineCounters countersOf(const Engine& s);
void restoreCounters(Engine& s, const EngineCounters& c);
// The note lists and strike counts a chunk starts from, kept in its record
// and put back.
void keepLists(ChunkMark& mark, const Engine& s);
void restoreLists(Engine& s, const ChunkMark& mark);

}  // namespace vornel
