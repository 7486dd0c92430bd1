#!/usr/bin/python3
"""Writes a generated accompaniment style (a format 0 Standard MIDI File with
section markers) for the developer scripts: the README's screenshots and the
level measurement. Not a test fixture: tests build their files in C++.

    scripts/make-style.py OUT.sty [--dense] [--seed N] [--truncate BYTES]

--dense plays all eight accompaniment channels as a busy real style does
(sixteenth-note drums, full chords on every eighth, a held pad, two phrase
lines, at the velocities of a busy real style): the case the built-in synthesizer's level is set
for. --seed picks other instruments and velocities. --truncate cuts the
written file to BYTES bytes, as a broken download would.
"""
import argparse
import random

import mido

TICKS = 480
SECTIONS = ["Intro A", "Main A", "Fill In AA", "Main B", "Fill In BB", "Ending A"]
# Accompaniment channels 9..16 (0-based 8..15): the instruments a seed may
# pick from, the notes of one C chord voicing, the channel volume a busy real
# style gives it, and the steps per beat it plays.
PARTS = [
    (8, [0], [36, 38, 42], 100, 4),              # Sub Rhythm: drums, sixteenths
    (9, [0, 16, 25], [36, 38, 46, 49], 100, 2),  # Main Rhythm: drums, eighths
    (10, [33, 34, 38], [36], 100, 2),            # Bass
    (11, [0, 4, 5], [60, 64, 67, 72], 85, 2),    # Chord 1: pianos
    (12, [24, 25, 27], [55, 60, 64, 67], 80, 2), # Chord 2: guitars
    (13, [48, 49, 89], [48, 55, 60, 64], 75, 0), # Pad: strings, sustained
    (14, [61, 62, 65], [72, 76, 79], 85, 1),     # Phrase 1: brass, saxes
    (15, [56, 71, 73], [84, 88], 80, 1),         # Phrase 2: trumpet, winds
]

# Velocities a busy real style plays each channel with: accented drums, a
# firm bass, chords and pad below the melody lines.
VELOCITIES = {8: (70, 120), 9: (70, 120), 10: (90, 110), 11: (70, 100), 12: (70, 100), 13: (60, 85),
              14: (80, 105), 15: (80, 105)}


def section_events(rng, dense):
    events = []  # (tick within the section, message)
    bar = 4 * TICKS
    for channel, _, notes, _, steps in PARTS:
        if not dense and channel >= 12:
            continue
        for b in range(2):
            if steps == 0:  # held for the whole bar
                starts, length = [b * bar], bar - 20
            else:
                step = TICKS // steps
                starts, length = [b * bar + t for t in range(0, bar, step)], step - 20
            for start in starts:
                played = notes if dense else notes[:1]
                for note in played:
                    low, high = VELOCITIES[channel]
                    velocity = rng.randint(low, high) if dense else rng.randint(60, 90)
                    events.append((start, mido.Message("note_on", channel=channel, note=note, velocity=velocity)))
                    events.append((start + length, mido.Message("note_on", channel=channel, note=note, velocity=0)))
    return events


def build(rng, dense):
    track = mido.MidiTrack()
    timeline = [(0, mido.MetaMessage("track_name", name="Vornel Demo"))]
    timeline.append((0, mido.MetaMessage("copyright", text="generated for Vornel's screenshots")))
    timeline.append((0, mido.MetaMessage("time_signature", numerator=4, denominator=4)))
    timeline.append((0, mido.MetaMessage("set_tempo", tempo=mido.bpm2tempo(112))))
    timeline.append((0, mido.MetaMessage("marker", text="SFF1")))
    timeline.append((0, mido.MetaMessage("marker", text="SInt")))
    for channel, programs, _, volume, _ in PARTS:
        drums = channel in (8, 9)
        timeline.append((0, mido.Message("control_change", channel=channel, control=0, value=127 if drums else 0)))
        timeline.append((0, mido.Message("program_change", channel=channel, program=rng.choice(programs))))
        timeline.append((0, mido.Message("control_change", channel=channel, control=7, value=volume)))
    at = 4 * TICKS
    for name in SECTIONS:
        timeline.append((at, mido.MetaMessage("marker", text=name)))
        for tick, message in section_events(rng, dense):
            timeline.append((at + tick, message))
        at += 8 * TICKS
    timeline.sort(key=lambda item: item[0])  # stable: each tick keeps its order
    now = 0
    for tick, message in timeline:
        track.append(message.copy(time=tick - now))
        now = tick
    track.append(mido.MetaMessage("end_of_track", time=0))
    song = mido.MidiFile(type=0, ticks_per_beat=TICKS)
    song.tracks.append(track)
    return song


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("out")
    parser.add_argument("--dense", action="store_true")
    parser.add_argument("--truncate", type=int)
    parser.add_argument("--seed", type=int, default=1)
    args = parser.parse_args()
    build(random.Random(args.seed), args.dense).save(args.out)
    if args.truncate:
        with open(args.out, "r+b") as f:
            f.truncate(args.truncate)


if __name__ == "__main__":
    main()
