#pragma once

#include <cstdint>

#include "playback/Engine.h"

namespace vornel {

// Puts one message on the wire at once, outside the queue.
void SendMessage(Engine& s, std::int16_t Mes, std::int16_t D1, std::int16_t D2);

// Queues one message at `stampMs`, unless it lies before SendFromMs: then it
// was queued when its chunk was first queued.
void queueMessage(Engine& s, std::int32_t tag, int status, int d1, int d2, double stampMs);

// Queues a Note On of velocity 0 to the key that `e` sounded, at `stampMs`,
// unless another strike of that key still sounds (StrikeCounts).
void queueSwitchOff(Engine& s, const NoteEntry& e, double stampMs);

// Strikes `e` at its key, with its velocity and meter cue, at `stampMs`.
void queueStrike(Engine& s, NoteEntry& e, double stampMs);

// The meter cue a Note On carries: channel 1..16 × 1000 + velocity.
std::int32_t meterTag(int status, int velocity);

// Before the chunk of part PartNo's pass that starts at PartOffset is
// queued: every listed note whose own end will not come in that chunk is
// switched off at the chunk's first bar line (QueuedMs), queued ahead of the
// chunk's own messages. Those are the notes of another part or another pass
// (a change of part, a loop wrap), and the notes that the chord rule moved
// under another chord (a chord change). Drums and notes that the chunk goes
// on with keep sounding to their own note-off. Records the chord in
// ClosedChord. Nothing sounding is cut before its bar line.
void CloseActiveNotes(Engine& s, std::int16_t PartNo);

// Note On velocity 0 then Note Off velocity 0 for every note of every channel.
void CloseAllSounds(Engine& s);

// The Panic command: every note of every channel off, at once. While playing,
// what is queued and not yet sounded is dropped first, so that nothing struck
// just before the Panic sounds after it; playback goes on from the next
// chunk (the next bar line, or the end of an intro or fill), on time, and an
// ending still stops at its end.
void PanicRitm(Engine& s);

// Ends playback: the queue is discarded, every note is switched off and the
// window shows it stopped.
void StopRitm(Engine& s);

}  // namespace vornel
