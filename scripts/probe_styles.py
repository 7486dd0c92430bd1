#!/usr/bin/python3
"""Writes probe styles like real ones, for listening with vornel_render.

Each style has 1,920 ticks per quarter, one meter, and the sections Intro A,
Main A, Fill In AA and Ending A. Drums play on channels 9 and 10 (a B drum,
note 83, among them), set up as real styles do: GM System On, then a kit by
bank MSB 127 on both. A bass on 11 and an organ chord on 12 are held for the
whole bar with their note-offs on the next bar's tick (the next marker's tick
at a section's end), and a pad on 13 is held across two bars. The Ending's
last chord sounds to the section's end.

With --table the styles carry a channel table (CASM, SFF2 records), the way
most real styles are written: the bass and the chord are written twice, a
major version (channels 11 and 12, over C major 7) and a minor one (channels 2
and 3, over C minor 7), each routed to the bass (11) and chord (12) parts and
muted under the other kind of chord; an effect on channel 14 (key 84 on every
bar line) keeps its key under every chord.

    scripts/probe_styles.py OUTDIR [--table]   # probe-3-8.sty ... (probe-table-3-8.sty ...)
"""
import os
import struct
import sys

import mido

RES = 1920
METERS = [(3, 8), (6, 8), (7, 8), (10, 8), (4, 4), (6, 4)]
SECTIONS = [("Intro A", 2), ("Main A", 2), ("Fill In AA", 1), ("Ending A", 2)]


MINOR_TYPES = sum(1 << t for t in range(8, 19))
ALL_TYPES = (1 << 34) - 1
AUTO_START = 1 << 34


def ctb2(source, name, dest, chord_mask, source_type, ntr, ntt, high_key, low=0, high=127, rtr=1):
    """A Ctb2 record body: the three transposition blocks alike, no special feature."""
    block = bytes([ntr, ntt, high_key, low, high, rtr])
    body = bytes([source]) + name.ljust(8)[:8].encode("ascii") + bytes([dest, 1])
    body += struct.pack(">H", 0x0FFF) + chord_mask.to_bytes(5, "big") + bytes([0, source_type])
    body += bytes([0, 127]) + block * 3 + bytes(6) + bytes([0])
    assert len(body) == 47
    return body


def chunk(cid, body):
    return cid.encode("ascii") + struct.pack(">I", len(body)) + body


def casm():
    records = [
        ctb2(8, "SubRhy", 8, ALL_TYPES | AUTO_START, 2, 1, 0, 11),
        ctb2(9, "Rhythm", 9, ALL_TYPES | AUTO_START, 2, 1, 0, 11),
        ctb2(10, "Bass M", 10, ALL_TYPES & ~MINOR_TYPES, 2, 0, 0, 5, 28, 127, 2),
        ctb2(1, "Bass m", 10, MINOR_TYPES, 10, 0, 0, 5, 28, 127, 2),
        ctb2(11, "Chord M", 11, ALL_TYPES & ~MINOR_TYPES, 2, 1, 2, 7),
        ctb2(2, "Chord m", 11, MINOR_TYPES, 10, 1, 2, 7),
        ctb2(13, "Phrase", 13, ALL_TYPES, 2, 1, 0, 11),
    ]
    sections = ",".join(name for name, _ in SECTIONS)
    seg = chunk("Sdec", sections.encode("ascii")) + b"".join(chunk("Ctb2", r) for r in records)
    return chunk("CASM", chunk("CSEG", seg))


def table_events(start, bars, bar, beat, num):
    """The two versions of the bass and the chord, and the effect."""
    ev = []
    for b in range(bars):
        t0 = start + b * bar
        for k in range(num):
            tb = t0 + k * beat
            for channel, third in ((10, 40), (1, 39)):
                note = (36, third, 43)[k % 3]
                ev.append((tb, 1, mido.Message("note_on", channel=channel, note=note, velocity=90, time=0)))
                ev.append((tb + beat, 0, mido.Message("note_on", channel=channel, note=note, velocity=0, time=0)))
        for channel, third in ((11, 64), (2, 63)):
            for n in (60, third, 67):
                ev.append((t0, 1, mido.Message("note_on", channel=channel, note=n, velocity=80, time=0)))
                ev.append((t0 + bar, 0, mido.Message("note_on", channel=channel, note=n, velocity=0, time=0)))
        ev.append((t0, 1, mido.Message("note_on", channel=13, note=84, velocity=70, time=0)))
        ev.append((t0 + beat, 0, mido.Message("note_off", channel=13, note=84, time=0)))
    return ev


def section_events(start, bars, bar, beat, num, table=False):
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
        if table:
            continue
        ev.append((t0, 1, mido.Message("note_on", channel=10, note=36, velocity=100, time=0)))
        ev.append((t0 + bar, 0, mido.Message("note_off", channel=10, note=36, time=0)))
        for n in (60, 64, 67):
            ev.append((t0, 1, mido.Message("note_on", channel=11, note=n, velocity=90, time=0)))
            ev.append((t0 + bar, 0, mido.Message("note_on", channel=11, note=n, velocity=0, time=0)))
    if table:
        return ev + table_events(start, bars, bar, beat, num), end
    for b in range(0, bars, 2):
        t0 = start + b * bar
        ev.append((t0, 1, mido.Message("note_on", channel=12, note=72, velocity=70, time=0)))
        ev.append((min(t0 + 2 * bar, end), 0, mido.Message("note_off", channel=12, note=72, time=0)))
    return ev, end


def write(path, num, den, table=False):
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
    if table:
        ev = ev[:3] + [(0, 0, mido.MetaMessage("marker", text="SFF2"))]
        for channel, program in ((10, 33), (1, 33), (11, 16), (2, 19), (13, 98)):
            ev.append((0, 0, mido.Message("program_change", channel=channel, program=program)))
    # The drum set-up of a real style: GM System On, then both drum parts on
    # kits by bank MSB 127 (the Sub Rhythm on channel 9 is no drum channel of
    # its own in General MIDI).
    drums = [(0, 0, mido.Message("sysex", data=[0x7E, 0x7F, 0x09, 0x01]))]
    for channel in (8, 9):
        drums += [(0, 0, mido.Message("control_change", channel=channel, control=0, value=127)),
                  (0, 0, mido.Message("control_change", channel=channel, control=32, value=0)),
                  (0, 0, mido.Message("program_change", channel=channel, program=0))]
    ev = ev[:3] + drums + ev[3:]
    t = RES  # a set-up beat before the first section
    for name, bars in SECTIONS:
        ev.append((t, -1, mido.MetaMessage("marker", text=name)))
        body, t = section_events(t, bars, bar, beat, num, table)
        ev.extend(body)
    ev.sort(key=lambda e: (e[0], e[1]))
    last = 0
    for tick, _, msg in ev:
        track.append(msg.copy(time=tick - last))
        last = tick
    track.append(mido.MetaMessage("end_of_track", time=0))
    mid.save(path)
    if table:
        with open(path, "ab") as f:
            f.write(casm())


def main():
    args = [a for a in sys.argv[1:] if a != "--table"]
    table = "--table" in sys.argv[1:]
    out = args[0] if args else "."
    os.makedirs(out, exist_ok=True)
    for num, den in METERS:
        name = f"probe-table-{num}-{den}.sty" if table else f"probe-{num}-{den}.sty"
        write(os.path.join(out, name), num, den, table)


if __name__ == "__main__":
    main()
