#!/usr/bin/env python3
"""Writes what mido reads from a MIDI file in the text form midifile_dump
prints from our reader, so the two can be compared line by line:

  tracks=<n> resolution=<r> tempo=<us> timesig=<num>/<den exp>
  track <t> events=<n>
  t=<absolute tick> st=<status, hex> d1=<data 1> d2=<data 2>[ text="<text>"][ sysex=<hex>]

mido's message model is mapped onto the reader's properties. Where the two
models differ by design, the mapping below says so where it happens. The one
difference that cannot be mapped from mido's side (mido folds F7 escapes into
sysex) is folded on our side instead, by as_mido_sees().

Usage: mido_dump.py <MIDI file>
"""

import math
import re
import sys

import mido

# mido names meta messages; the reader reports a meta event's type byte as its
# data 1. Types mido does not know come as unknown_meta with their type_byte.
META_TYPE = {
    "sequence_number": 0x00,
    "text": 0x01,
    "copyright": 0x02,
    "track_name": 0x03,
    "instrument_name": 0x04,
    "lyrics": 0x05,
    "marker": 0x06,
    "cue_marker": 0x07,
    "device_name": 0x09,
    "channel_prefix": 0x20,
    "midi_port": 0x21,
    "end_of_track": 0x2F,
    "set_tempo": 0x51,
    "smpte_offset": 0x54,
    "time_signature": 0x58,
    "key_signature": 0x59,
    "sequencer_specific": 0x7F,
}

# Text-type metas whose words mido keeps in .name rather than .text.
NAME_ATTRIBUTE = {"track_name", "instrument_name", "device_name"}

# What the reader reports for a file without a tempo or time signature.
DEFAULT_TEMPO = 500000
DEFAULT_TIME_SIG = (4, 2)  # 4/4, the denominator as a power of two


def escaped_text(raw):
    """Printable ASCII as it is (but for the quote and the backslash), every
    other byte as \\xHH: the same escaping as midifile_dump."""
    out = []
    for b in raw:
        if 0x20 <= b <= 0x7E and b not in (0x22, 0x5C):
            out.append(chr(b))
        else:
            out.append("\\x%02X" % b)
    return "".join(out)


def hex_bytes(raw):
    return " ".join("%02X" % b for b in raw)


def meta_type(msg):
    # mido (1.2.10 at least) gives an unknown meta delta 0 whatever the file
    # says, and nothing here can restore it: a file with such an event at a
    # later tick than the one before it does not compare.
    if msg.type == "unknown_meta":
        return msg.type_byte
    return META_TYPE[msg.type]


def meta_text(msg, type_byte, charset):
    """The reader shows the text of meta types 1..15 only, cut at the first
    NUL (style files pad their names with NULs); mido keeps the whole text,
    decoded with the file's charset, which is undone here to compare bytes."""
    if not 0x01 <= type_byte <= 0x0F:
        return b""
    if msg.type == "unknown_meta":
        raw = bytes(msg.data)
    elif msg.type in NAME_ATTRIBUTE:
        raw = msg.name.encode(charset)
    else:
        raw = msg.text.encode(charset)
    return raw.split(b"\0", 1)[0]


def event_line(tick, msg, charset):
    text = b""
    sysex = b""
    if msg.is_meta:
        # A meta event reads status FF, its type as data 1, 0 as data 2.
        status, d1, d2 = 0xFF, meta_type(msg), 0
        text = meta_text(msg, d1, charset)
    elif msg.type == "sysex":
        # mido drops the F0 before and the F7 after the data; the reader
        # shows F0 and the stored bytes, which normally end with F7. F7
        # escapes mido reads as sysex too; see as_mido_sees().
        status, d1, d2 = 0xF0, 0, 0
        sysex = bytes([0xF0]) + bytes(msg.data) + bytes([0xF7])
    else:
        # Channel messages go back to their bytes; a note-on with velocity 0
        # stays a note-on in both. One data byte: the reader shows 0 as data 2.
        raw = msg.bytes() + [0, 0]
        status, d1, d2 = raw[0], raw[1], raw[2]
    line = "t=%d st=%02X d1=%d d2=%d" % (tick, status, d1, d2)
    if text:
        line += ' text="%s"' % escaped_text(text)
    if sysex:
        line += " sysex=" + hex_bytes(sysex)
    return line


def read_tracks(midi):
    """Each track as (absolute tick, message) pairs, ended where the reader
    ends it:
    - at its End-of-Track event; mido reads on to the end of the chunk;
    - before a system common or real-time message (status F1..FE but F7 and
      FF): mido reads them, while the reader takes them for damage (they
      cannot stand in a file, and their length is unknown there) and keeps
      the events before them."""
    tracks = []
    for track in midi.tracks:
        tick = 0
        events = []
        for msg in track:
            if not msg.is_meta and msg.type != "sysex" and msg.bytes()[0] > 0xF0:
                break
            tick += msg.time
            events.append((tick, msg))
            if msg.type == "end_of_track":
                break
        tracks.append(events)
    return tracks


def first_meta(tracks, name):
    """The first meta of that name by absolute tick; on equal ticks the one in
    the lower track. None when no track has one."""
    best = None
    for events in tracks:
        for tick, msg in events:
            if msg.type == name:
                if best is None or tick < best[0]:
                    best = (tick, msg)
                break
    return None if best is None else best[1]


def resolution(division, tempo):
    """mido hands the header's division over as it is (read as a signed
    16-bit number). With SMPTE time division (top bit set: minus the frames
    per second in the high byte, ticks per frame in the low byte) the reader
    reports the ticks in one quarter note at the file's tempo instead, with
    code 29 standing for 29.97 frames per second; that is worked out here in
    the same order of double operations, rounding halves away from zero and
    keeping to 0..32767."""
    division &= 0xFFFF
    if not division & 0x8000:
        return division
    fps = 256 - (division >> 8)
    exact = 29.97 if fps == 29 else float(fps)
    per_quarter = exact * (division & 0xFF) * tempo / 1e6
    whole = math.floor(per_quarter)
    rounded = whole + 1 if per_quarter - whole >= 0.5 else whole
    return max(0, min(32767, rounded))


def read(path):
    """mido's reading of a file; raises whatever mido raises for a file it
    rejects."""
    # clip=False: mido then refuses a data byte of 128 or more, where the
    # reader ends the track; with clip=True mido would read on with the byte
    # changed, and the two would differ on a file that is damaged anyway.
    return mido.MidiFile(path, clip=False)


def dump_midi(midi):
    """The lines for a file mido has read."""
    tracks = read_tracks(midi)

    tempo_msg = first_meta(tracks, "set_tempo")
    tempo = DEFAULT_TEMPO if tempo_msg is None else tempo_msg.tempo
    sig_msg = first_meta(tracks, "time_signature")
    if sig_msg is None:
        num, den_exp = DEFAULT_TIME_SIG
    else:
        # mido turns the stored power of two into the denominator itself.
        num, den_exp = sig_msg.numerator, sig_msg.denominator.bit_length() - 1

    lines = ["tracks=%d resolution=%d tempo=%d timesig=%d/%d"
             % (len(tracks), resolution(midi.ticks_per_beat, tempo), tempo, num, den_exp)]
    for number, events in enumerate(tracks, start=1):
        lines.append("track %d events=%d" % (number, len(events)))
        lines.extend(event_line(tick, msg, midi.charset) for tick, msg in events)
    return lines


def dump(path):
    return dump_midi(read(path))


_SYSEX_LINE = re.compile(r"^(t=\d+) st=(F0|F7) d1=0 d2=0(?: sysex=([0-9A-F ]+))?$")


def as_mido_sees(line):
    """Folds one line of midifile_dump into what mido can tell apart. mido
    reads both F0 events and F7 escapes as sysex, and strips from the stored
    bytes one leading F0 and one trailing F7. The reader reports escapes as
    status F7 with their stored bytes, and sysex as F0 plus its stored bytes.
    So both become F0 with mido's data between F0 and F7. Every other line is
    left as it is."""
    match = _SYSEX_LINE.match(line)
    if not match:
        return line
    tick, status, hex_text = match.groups()
    stored = bytes.fromhex(hex_text or "")
    if status == "F0":
        stored = stored[1:]  # the F0 the reader puts in front
    if stored[:1] == b"\xF0":
        stored = stored[1:]
    if stored[-1:] == b"\xF7":
        stored = stored[:-1]
    return "%s st=F0 d1=0 d2=0 sysex=%s" % (tick, hex_bytes(b"\xF0" + stored + b"\xF7"))


def main(argv):
    if len(argv) != 2:
        print("usage: mido_dump.py <MIDI file>", file=sys.stderr)
        return 2
    print("\n".join(dump(argv[1])))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
