#!/usr/bin/python3
"""Writes probe styles like real ones, for listening with vornel_render.

Each style has 1,920 ticks per quarter, one meter, and the sections Intro A,
Main A, Fill In AA and Ending A. Drums play on channels 9 and 10 (a B drum,
note 83, among them), a bass on 11 and an organ chord on 12 are held for the
whole bar with their note-offs on the next bar's tick (the next marker's tick
at a section's end), and a pad on 13 is held across two bars. The Ending's
last chord sounds to the section's end.

    scripts/probe_styles.py OUTDIR        # writes probe-3-8.sty ... probe-6-4.sty
"""
import os
import sys

import mido

RES = 1920
METERS = [(3, 8), (6, 8), (7, 8), (10, 8), (4, 4), (6, 4)]
SECTIONS = [("Intro A", 2), ("Main A", 2), ("Fill In AA", 1), ("Ending A", 2)]


def section_events(start, bars, bar, beat, num):
    ev = []  # (tick, order, message); order puts note-offs first on a tick
    end = start + bars * bar
    for b in range(bars):
        t0 = start + b * bar
        for k in range(num):
            tb = t0 + k * beat
            ev.append((tb, 1, mido.Message("note_on", channel=9, note=36 if k == 0 else 42, velocity=100, time=0)))
            ev.append((tb + beat // 2, 0, mido.Message("note_off", channel=9, note=36 if k == 0 else 42, time=0)))
        ev.append((t0, 1, mido.Message("note_on", channel=8, note=83, velocity=90, time=0)))
        ev.append((t0 + beat // 4, 0, mido.Message("note_on", channel=8, note=83, velocity=0, time=0)))
        ev.append((t0, 1, mido.Message("note_on", channel=10, note=36, velocity=100, time=0)))
        ev.append((t0 + bar, 0, mido.Message("note_off", channel=10, note=36, time=0)))
        for n in (60, 64, 67):
            ev.append((t0, 1, mido.Message("note_on", channel=11, note=n, velocity=90, time=0)))
            ev.append((t0 + bar, 0, mido.Message("note_on", channel=11, note=n, velocity=0, time=0)))
    for b in range(0, bars, 2):
        t0 = start + b * bar
        ev.append((t0, 1, mido.Message("note_on", channel=12, note=72, velocity=70, time=0)))
        ev.append((min(t0 + 2 * bar, end), 0, mido.Message("note_off", channel=12, note=72, time=0)))
    return ev, end


def write(path, num, den):
    bar = RES * 4 * num // den
    beat = RES * 4 // den
    mid = mido.MidiFile(type=0, ticks_per_beat=RES)
    track = mido.MidiTrack()
    mid.tracks.append(track)
    ev = [(0, 0, mido.MetaMessage("time_signature", numerator=num, denominator=den)),
          (0, 0, mido.MetaMessage("set_tempo", tempo=500000)),
          (0, 0, mido.MetaMessage("track_name", name=f"Probe {num}/{den}")),
          (0, 0, mido.Message("program_change", channel=10, program=33)),
          (0, 0, mido.Message("program_change", channel=11, program=16)),
          (0, 0, mido.Message("program_change", channel=12, program=88))]
    t = RES  # a set-up beat before the first section
    for name, bars in SECTIONS:
        ev.append((t, -1, mido.MetaMessage("marker", text=name)))
        body, t = section_events(t, bars, bar, beat, num)
        ev.extend(body)
    ev.sort(key=lambda e: (e[0], e[1]))
    last = 0
    for tick, _, msg in ev:
        track.append(msg.copy(time=tick - last))
        last = tick
    track.append(mido.MetaMessage("end_of_track", time=0))
    mid.save(path)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "."
    os.makedirs(out, exist_ok=True)
    for num, den in METERS:
        write(os.path.join(out, f"probe-{num}-{den}.sty"), num, den)


if __name__ == "__main__":
    main()
