#!/usr/bin/python3
"""Checks the message stream that `vornel_render --events FILE` wrote.

    scripts/check_events.py EVENTS [--fixed CH:KEY] [--triads CH]

Always: every Note On is switched off on its channel and key, and no key is
struck twice on a channel while it sounds (what a listener hears as a cut or
stuck note). With --fixed, every note on channel CH (1..16) is KEY (an effect
that keeps its key). With --triads, the notes that sound together on channel
CH are always one major or minor triad: never a major and a minor third at
once. Prints what it found and exits 1 on a fault.
"""
import sys
from collections import defaultdict


def read(path):
    """The stream in time order. Queued messages are handed to the synthesizer
    ahead of their time; those due after the render's final Stop (the last
    messages sent at once) were discarded with the queue and are left out."""
    events, stop = [], None
    for order, line in enumerate(open(path)):
        parts = line.split()
        if not parts:
            continue
        now = parts[0] == "now"
        if now:
            ms, status, d1, d2 = float(parts[1]), *map(int, parts[2:5])
            stop = ms if stop is None else max(stop, ms)
        else:
            ms, status, d1, d2 = float(parts[0]), *map(int, parts[1:4])
        events.append((ms, order, status, d1, d2, now))
    events = [e[:5] for e in events if e[5] or stop is None or e[0] <= stop]
    events.sort()
    return events


def is_off(status, d2):
    kind = status & 0xF0
    return kind == 0x80 or (kind == 0x90 and d2 == 0)


def main():
    args = sys.argv[1:]
    if not args:
        print(__doc__)
        return 2
    fixed, triads = {}, set()
    for i, a in enumerate(args):
        if a == "--fixed":
            ch, key = args[i + 1].split(":")
            fixed[int(ch)] = int(key)
        elif a == "--triads":
            triads.add(int(args[i + 1]))
    events = read(args[0])
    faults = []
    sounding = defaultdict(int)  # (channel, key) -> count
    struck = defaultdict(int)  # channel -> Note Ons
    chords_seen = defaultdict(set)
    for ms, _, status, d1, d2 in events:
        kind, ch = status & 0xF0, (status & 0x0F) + 1
        if kind not in (0x80, 0x90) or (ch == 1 and d1 in (0, 36) and d2 == 0):
            continue  # not a note, or a cue carrier
        if is_off(status, d2):
            if sounding[(ch, d1)] > 0:
                sounding[(ch, d1)] -= 1
            continue
        struck[ch] += 1
        if sounding[(ch, d1)] > 0:
            faults.append(f"{ms:.1f} ms: key {d1} struck again on channel {ch} while it sounds")
        sounding[(ch, d1)] += 1
        if ch in fixed and d1 != fixed[ch]:
            faults.append(f"{ms:.1f} ms: channel {ch} played key {d1}, not {fixed[ch]}")
        if ch in triads:
            classes = {k % 12 for (c, k), n in sounding.items() if c == ch and n > 0}
            for root in classes:
                if {(root + 3) % 12, (root + 4) % 12} <= classes and (root + 7) % 12 in classes:
                    faults.append(f"{ms:.1f} ms: channel {ch} sounds a major and a minor third over {root}")
            chords_seen[ch].add(tuple(sorted(classes)))
    for (ch, key), n in sorted(sounding.items()):
        if n > 0:
            faults.append(f"channel {ch} key {key}: {n} Note On without a switch-off")
    for ch in sorted(struck):
        print(f"channel {ch}: {struck[ch]} notes")
    for ch in sorted(chords_seen):
        print(f"channel {ch} pitch-class sets: {sorted(chords_seen[ch])}")
    for f in faults[:20]:
        print("FAULT", f)
    print(f"{len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
