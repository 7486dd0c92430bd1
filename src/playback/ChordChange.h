#pragma once

#include "playback/ChordTimeline.h"
#include "playback/Engine.h"

namespace vornel {

// A chord played a little late, just after a beat where notes of the old
// chord began, still gets those notes: notes that began up to this long
// before a chord change are struck again at their new key, whatever their
// channel's rule says. A left hand that means the beat lands on it or up to
// some tens of milliseconds behind; 60 ms takes that in without reaching back
// to the sixteenth before a beat at any tempo up to 200 bpm (75 ms there).
inline constexpr double kChordGraceMs = 60.0;

// The chord chosen last (Transpose, ChordIdx, IsMinor, ChordTypeNo) as the
// engine plays it.
ChordState chosenChord(const Engine& s);

// Once the window has chosen a chord while playing: the accompaniment takes
// it at once, from the next beat, or from the next bar line not yet queued,
// by ChordChange. What is queued from that moment on is taken back and
// queued again in the new chord. Nothing happens while stopped.
void ChangeChord(Engine& s);

// Once the window has chosen another part while playing: it is heard from
// the first bar line (chunk boundary) at least the chord lead ahead, as
// before; what is queued beyond that line is taken back and queued again.
void ChangePart(Engine& s);

// The part (1..18) of the chunk sounding now, or 0 when none does.
std::int16_t soundingPart(const Engine& s);

// Queues again everything queued from `fromMs` on, after the output
// component has taken it back: the chunks it falls in are walked through
// again from the counters and note lists they started with, under the chord
// timeline as it now stands.
void requeueFrom(Engine& s, double fromMs);

// The notes sounding at `atMs` meet the chord `to` there. With a channel
// table a note does what its channel's RTR says (a part the chord mutes
// stops); without one, a note the chord rule moves is struck again at its new
// key and one it leaves in place sounds on. A note struck within
// kChordGraceMs before is struck again at its new key whatever its RTR.
// Drums and root-fixed channels are never touched. The switch-offs all come
// before the new strikes.
void meetChordAt(Engine& s, double atMs, const ChordState& to);

}  // namespace vornel
