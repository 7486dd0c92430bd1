"""Random valid MIDI files written by mido, for the cross-check of our reader.

The same seed gives the same files, so a mismatch found once is found again.
The files hold what the reader must get right on valid input: several tracks,
running status (mido writes it for repeated channel statuses), every kind of
channel message, text metas with NULs, high bytes and lengths beyond one
length byte, unknown metas either side of the text types 1..15, sysex of many
lengths, large delta times, and tempos and time signatures spread over the
tracks, some on the same tick in several tracks.
"""

import os
import random

import mido
from mido.midifiles.meta import UnknownMetaMessage

TEXT_METAS = ["text", "copyright", "track_name", "instrument_name", "lyrics",
              "marker", "cue_marker", "device_name"]
NAME_METAS = {"track_name", "instrument_name", "device_name"}
# Types mido does not know: 0x08 and 0x0A..0x0F are text types to the reader,
# 0x10 is the first that is not.
UNKNOWN_TEXT_TYPES = [0x08, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F]
UNKNOWN_OTHER_TYPES = [0x10, 0x4B, 0x60, 0x7E]
KEYS = ["C", "G", "F#", "Cb", "Am", "Ebm", "A#m"]
DIVISIONS = [24, 96, 120, 192, 384, 480, 960, 1920, 32767]
SMPTE_FPS = [24, 25, 29, 30]
SMPTE_TICKS = [4, 8, 10, 40, 80, 100]


def random_text(rng):
    roll = rng.random()
    if roll < 0.3:
        words = rng.choice(["Main A", "Fill In AA", "Intro B", "SFF1", "SInt", "fn:Main A"])
        return words + "\0" * rng.randint(0, 8)  # padded as style files pad them
    if roll < 0.45:
        return ""
    if roll < 0.6:
        # Longer than 127 bytes: a two-byte length.
        return "".join(chr(rng.randint(0x20, 0x7E)) for _ in range(rng.randint(128, 400)))
    # Any byte, NULs and bytes above 127 included (latin1 keeps them as bytes).
    return "".join(chr(rng.randint(0, 255)) for _ in range(rng.randint(1, 40)))


def random_delta(rng):
    roll = rng.random()
    if roll < 0.45:
        return 0
    if roll < 0.85:
        return rng.randint(1, 480)
    if roll < 0.97:
        return rng.randint(481, 50000)
    return rng.randint(50001, 0x0FFFFFFF)  # the largest four-byte delta


def channel_message(rng, kind, channel):
    if kind in ("note_on", "note_off"):
        velocity = 0 if kind == "note_on" and rng.random() < 0.3 else rng.randint(0, 127)
        return mido.Message(kind, channel=channel, note=rng.randint(0, 127), velocity=velocity)
    if kind == "polytouch":
        return mido.Message(kind, channel=channel, note=rng.randint(0, 127),
                            value=rng.randint(0, 127))
    if kind == "control_change":
        return mido.Message(kind, channel=channel, control=rng.randint(0, 127),
                            value=rng.randint(0, 127))
    if kind == "program_change":
        return mido.Message(kind, channel=channel, program=rng.randint(0, 127))
    if kind == "aftertouch":
        return mido.Message(kind, channel=channel, value=rng.randint(0, 127))
    return mido.Message("pitchwheel", channel=channel, pitch=rng.randint(-8192, 8191))


CHANNEL_KINDS = ["note_on", "note_off", "polytouch", "control_change",
                 "program_change", "aftertouch", "pitchwheel"]


def tempo_message(rng):
    return mido.MetaMessage("set_tempo", tempo=rng.choice([rng.randint(1, 0xFFFFFF), 500000]))


def time_signature_message(rng):
    return mido.MetaMessage("time_signature", numerator=rng.randint(1, 255),
                            denominator=2 ** rng.randint(0, 7),
                            clocks_per_click=rng.randint(0, 255),
                            notated_32nd_notes_per_beat=rng.randint(0, 255))


def other_message(rng):
    roll = rng.random()
    if roll < 0.35:
        name = rng.choice(TEXT_METAS)
        text = random_text(rng)
        return mido.MetaMessage(name, **({"name": text} if name in NAME_METAS else {"text": text}))
    if roll < 0.45:
        type_byte = rng.choice(UNKNOWN_TEXT_TYPES + UNKNOWN_OTHER_TYPES)
        return UnknownMetaMessage(type_byte, random_text(rng).encode("latin1"))
    if roll < 0.7:
        length = rng.choice([0, rng.randint(1, 12), rng.randint(126, 300)])
        return mido.Message("sysex", data=[rng.randint(0, 127) for _ in range(length)])
    if roll < 0.78:
        return tempo_message(rng)
    if roll < 0.84:
        return time_signature_message(rng)
    choice = rng.randrange(6)
    if choice == 0:
        return mido.MetaMessage("key_signature", key=rng.choice(KEYS))
    if choice == 1:
        return mido.MetaMessage("smpte_offset", frame_rate=rng.choice([24, 25, 29.97, 30]),
                                hours=rng.randint(0, 23), minutes=rng.randint(0, 59),
                                seconds=rng.randint(0, 59), frames=rng.randint(0, 29),
                                sub_frames=rng.randint(0, 99))
    if choice == 2:
        return mido.MetaMessage("sequence_number", number=rng.randint(0, 0xFFFF))
    if choice == 3:
        return mido.MetaMessage("channel_prefix", channel=rng.randint(0, 15))
    if choice == 4:
        return mido.MetaMessage("midi_port", port=rng.randint(0, 127))
    return mido.MetaMessage("sequencer_specific",
                            data=[rng.randint(0, 255) for _ in range(rng.randint(0, 20))])


def random_track(rng):
    """A track as (absolute tick, message) pairs in order."""
    events = []
    tick = 0
    kind, channel = rng.choice(CHANNEL_KINDS), rng.randint(0, 15)
    if rng.random() < 0.4:
        events.append((0, tempo_message(rng)))
    if rng.random() < 0.4:
        events.append((0, time_signature_message(rng)))
    for _ in range(rng.randint(0, 80)):
        if rng.random() < 0.75:
            # The same status again most of the time, so running status is
            # written; mido writes it whenever a channel status repeats.
            if rng.random() < 0.35:
                kind, channel = rng.choice(CHANNEL_KINDS), rng.randint(0, 15)
            msg = channel_message(rng, kind, channel)
        else:
            msg = other_message(rng)
        # mido (1.2.10 at least) reads an unknown meta with delta 0 whatever
        # the file says, so those go on the tick of the event before them.
        if msg.type != "unknown_meta":
            tick += random_delta(rng)
        events.append((tick, msg))
    return events


def insert_at(events, tick, msg):
    """Puts msg after every event at or before tick."""
    position = len(events)
    while position > 0 and events[position - 1][0] > tick:
        position -= 1
    events.insert(position, (tick, msg))


def random_file(rng):
    midi_type = rng.choices([0, 1, 2], weights=[15, 75, 10])[0]
    track_count = 1 if midi_type == 0 else rng.randint(1, 6)
    if rng.random() < 0.06:
        # SMPTE time division, written as the signed 16-bit number it is.
        fps, ticks = rng.choice(SMPTE_FPS), rng.choice(SMPTE_TICKS)
        division = (((256 - fps) << 8) | ticks) - 0x10000
    else:
        division = rng.choice(DIVISIONS + [rng.randint(1, 32767)])
    tracks = [random_track(rng) for _ in range(track_count)]
    if track_count > 1 and rng.random() < 0.5:
        # The same tick in several tracks: the lower track's value counts.
        shared = rng.choice([0, rng.randint(0, 2000)])
        for events in rng.sample(tracks, rng.randint(2, track_count)):
            insert_at(events, shared, tempo_message(rng))
            insert_at(events, shared, time_signature_message(rng))

    midi = mido.MidiFile(type=midi_type, ticks_per_beat=division)
    for events in tracks:
        track = mido.MidiTrack()
        previous = 0
        for tick, msg in events:
            # Set in place: copy() cannot rebuild an unknown meta message.
            msg.time = tick - previous
            track.append(msg)
            previous = tick
        midi.tracks.append(track)
    return midi


def write_corpus(folder, count, seed):
    """Writes count files into folder; returns their paths."""
    rng = random.Random(seed)
    os.makedirs(folder, exist_ok=True)
    paths = []
    for number in range(count):
        path = os.path.join(folder, "mido-%03d.mid" % number)
        random_file(rng).save(path)
        paths.append(path)
    return paths
