#!/usr/bin/env python3
"""Cross-checks our MIDI file reader against mido, an independent parser.

Writes a corpus into a temporary folder (the builder-made seed files of the
reader's fuzz target, and random valid files written by mido), then compares,
file by file, what midifile_dump prints from our reader with what mido_dump
makes of mido's reading. Stops at the first file that differs and shows the
difference.

Seed files that mido rejects are skipped: the damaged ones, and those whose
running status goes on after a sysex event (mido takes the sysex status as
the running status and reads a new sysex there). A file that mido wrote
itself and cannot read back is a fault of this check and fails it.

Exit codes: 0 all compared files agree, 1 a mismatch or a fault of the check,
77 mido cannot be imported (the test is reported as skipped).

Usage: crosscheck.py --dump <midifile_dump> --seed-writer <writer>
                     [--random N] [--seed S] [--keep FOLDER]
"""

import argparse
import difflib
import os
import subprocess
import sys
import tempfile

SKIPPED = 77


def run_dump(dump, path):
    result = subprocess.run([dump, path], capture_output=True, text=True,
                            encoding="ascii", timeout=30)
    if result.returncode != 0:
        raise RuntimeError("%s %s exited with %d: %s"
                           % (dump, path, result.returncode, result.stderr.strip()))
    return result.stdout.splitlines()


def write_seeds(writer, folder):
    result = subprocess.run([writer, folder], capture_output=True, text=True, timeout=30)
    if result.returncode != 0:
        raise RuntimeError("%s exited with %d: %s"
                           % (writer, result.returncode, result.stderr.strip()))
    return sorted(os.path.join(folder, name) for name in os.listdir(folder))


def show_mismatch(path, ours, theirs):
    print("MISMATCH in %s" % path)
    print("(- mido, + our reader; sysex lines of our reader folded to what mido can tell apart)")
    diff = difflib.unified_diff(theirs, ours, fromfile="mido", tofile="Midifile",
                                lineterm="", n=3)
    for number, line in enumerate(diff):
        if number == 60:
            print("... (diff cut)")
            break
        print(line)


def compare(files, dump, mido_dump, may_skip):
    """Compares every file; returns (compared, skipped, mismatching path or
    None). skipped lists (path, reason) for files mido rejects when may_skip."""
    compared = 0
    skipped = []
    for path in files:
        try:
            midi = mido_dump.read(path)
        except Exception as error:  # mido raises many kinds on damaged input
            if not may_skip:
                raise RuntimeError("mido cannot read back its own file %s: %r" % (path, error))
            skipped.append((path, "%s: %s" % (type(error).__name__, error)))
            continue
        # Outside the try: a fault of the mapping must fail, not skip.
        theirs = mido_dump.dump_midi(midi)
        ours = [mido_dump.as_mido_sees(line) for line in run_dump(dump, path)]
        compared += 1
        if ours != theirs:
            show_mismatch(path, ours, theirs)
            return compared, skipped, path
    return compared, skipped, None


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--dump", required=True, help="the midifile_dump program")
    parser.add_argument("--seed-writer", required=True, help="writes the seed corpus")
    parser.add_argument("--random", type=int, default=100, help="random files to write")
    parser.add_argument("--seed", type=int, default=20240607, help="random seed")
    parser.add_argument("--keep", help="write the corpus here and keep it")
    args = parser.parse_args()

    try:
        import mido
    except ImportError as error:
        print("SKIPPED: %s cannot import mido (%s); install the Debian package python3-mido"
              % (sys.executable, error))
        return SKIPPED
    # Only now: both modules import mido themselves. They sit in the source
    # tree, which gets no bytecode cache.
    sys.dont_write_bytecode = True
    import mido_dump
    import random_corpus

    with tempfile.TemporaryDirectory(prefix="vornel-crosscheck-") as temp:
        folder = args.keep or temp
        seeds = write_seeds(args.seed_writer, os.path.join(folder, "seeds"))
        randoms = random_corpus.write_corpus(os.path.join(folder, "mido"), args.random, args.seed)

        seeds_compared, skipped, bad = compare(seeds, args.dump, mido_dump, may_skip=True)
        for path, reason in skipped:
            print("skipped %s, mido rejects it (%s)" % (os.path.basename(path), reason))
        random_compared = 0
        if bad is None:
            random_compared, _, bad = compare(randoms, args.dump, mido_dump, may_skip=False)
        if bad is not None:
            if not args.keep:
                print("Run %s with --keep <folder> to keep the files." % sys.argv[0])
            return 1

    # A check that compared nothing would pass for the wrong reason.
    if seeds_compared == 0 or random_compared != args.random:
        print("FAILED: compared %d seed and %d of %d random files"
              % (seeds_compared, random_compared, args.random))
        return 1
    print("OK: %d files agree (%d seed files, %d written by mido %s, seed %d); %d skipped"
          % (seeds_compared + random_compared, seeds_compared, random_compared,
             mido.__version__, args.seed, len(skipped)))
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except (RuntimeError, OSError, subprocess.SubprocessError) as error:
        print("FAILED: %s" % error)
        sys.exit(1)
