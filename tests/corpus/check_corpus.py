#!/usr/bin/env python3
"""Does the editor sound what each GUIDO file of a folder writes? For every .gmn file: notavera-cli import-gmn,
then export-midi, then the struck notes of the MIDI file are compared with the notes gmn_notes reads in the
GUIDO text: each onset and key, as multisets. Prints "right / expected" per file (with the notes struck that
the file does not write) and the totals; files the import refuses, or this reader cannot read, are listed
and skipped. Exits 1 when a file read by both does not sound as written."""

import argparse
import pathlib
import subprocess
import sys
import tempfile
from collections import defaultdict
from fractions import Fraction

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
from gmn_notes import GmnError, read_gmn_file  # noqa: E402
from midi_notes import MidiError, read_midi_file  # noqa: E402

# Tuplet lengths are rounded to whole ticks, the fraction carried to the next note: an onset may stand up to
# one tick from its exact place.
TICK_TOLERANCE = 1


def compare(expected, heard, division):
    """The notes of `expected` that find a heard note of the same key within the tolerance, and the notes of
    each side left without a partner, as (onset, key)."""
    wanted, got = defaultdict(list), defaultdict(list)
    for onset, key in expected:
        wanted[key].append(onset)
    for onset, key in heard:
        got[key].append(onset)
    right, missing, extra = 0, [], []
    tolerance = Fraction(TICK_TOLERANCE, 4 * division)
    for key in sorted(set(wanted) | set(got)):
        ours, theirs = sorted(wanted[key]), sorted(got[key])
        j = 0
        for onset in ours:
            while j < len(theirs) and theirs[j] < onset - tolerance:
                extra.append((theirs[j], key))
                j += 1
            if j < len(theirs) and abs(theirs[j] - onset) <= tolerance:
                right += 1
                j += 1
            else:
                missing.append((onset, key))
        extra += [(onset, key) for onset in theirs[j:]]
    return right, sorted(missing), sorted(extra)


def run(cli, *args):
    return subprocess.run([cli, *args], capture_output=True, text=True, timeout=300)


def check(cli, gmn, work):
    """(right, expected, heard) for one file, or the reason it is skipped."""
    try:
        expected = [note for seq in read_gmn_file(gmn) for note in seq.notes]
    except GmnError as e:
        return f"not read here: {e}"
    mus, mid = work / "piece.mus", work / "piece.mid"
    for path in (mus, mid):
        path.unlink(missing_ok=True)
    imported = run(cli, "import-gmn", str(gmn), str(mus))
    if imported.returncode != 0:
        return "import refused: " + (imported.stderr.strip().splitlines() or ["?"])[-1]
    exported = run(cli, "export-midi", str(mus), str(mid))
    if exported.returncode != 0:
        return "export failed: " + (exported.stderr.strip().splitlines() or ["?"])[-1]
    try:
        heard, division = read_midi_file(mid)
    except MidiError as e:
        return f"MIDI file unreadable: {e}"
    return (len(expected), *compare(expected, heard, division))


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--cli", required=True, help="the notavera-cli program")
    parser.add_argument("--diff", type=int, default=0, metavar="N",
                        help="for each file not exact, show up to N notes missing and N struck in excess")
    parser.add_argument("--known-inexact", nargs="*", default=[], metavar="FILE",
                        help="files known not to sound exactly: reported, but they do not fail the check")
    parser.add_argument("folder", type=pathlib.Path, help="folder of .gmn files (not searched below)")
    args = parser.parse_args(argv)
    files = sorted(args.folder.glob("*.gmn"))
    if not files:
        print(f"no .gmn file in {args.folder}")
        return 1
    total_right = total_expected = total_extra = 0
    skipped, wrong = [], []
    with tempfile.TemporaryDirectory() as tmp:
        for gmn in files:
            result = check(args.cli, gmn, pathlib.Path(tmp))
            if isinstance(result, str):
                skipped.append((gmn.name, result))
                continue
            expected, right, missing, extra = result
            total_right += right
            total_expected += expected
            total_extra += len(extra)
            print(f"{gmn.name}: {right} / {expected}" + (f", {len(extra)} struck that the file does not write"
                                                         if extra else ""))
            if missing or extra:
                wrong.append(gmn.name)
                if args.diff:
                    print("  missing (onset, key):", " ".join(f"{o},{k}" for o, k in missing[:args.diff]))
                    print("  in excess (onset, key):", " ".join(f"{o},{k}" for o, k in extra[:args.diff]))
    for name, reason in skipped:
        print(f"skipped {name}: {reason}")
    print(f"total: {total_right} / {total_expected} notes right, {total_extra} struck that the files do not "
          f"write; {len(files) - len(skipped) - len(wrong)} of {len(files) - len(skipped)} files exact, "
          f"{len(skipped)} skipped")
    unexpected = [name for name in wrong if name not in args.known_inexact]
    if unexpected != wrong:
        print("known not to sound exactly:", " ".join(name for name in wrong if name not in unexpected))
    return 1 if unexpected else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
