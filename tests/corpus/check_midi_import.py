#!/usr/bin/env python3
"""Does the editor import every MIDI file of the corpus, and sound what the reference files play? Every file of
good/ is imported with notavera-cli import-midi (a crash, a hang or an error box fails it). For the files that
expected/ gives a reference note list for, the import is exported with export-midi and each note the file strikes
(read here, without the editor) must sound at its key within one grid unit of the import's rounding from its onset;
the reference list's note count must match the file's, so that this reading of the file is the reference's."""

import argparse
import pathlib
import subprocess
import sys
import tempfile
from collections import defaultdict
from fractions import Fraction

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
from midi_notes import read_midi_file  # noqa: E402

ROUNDING = 64


def reference_count(path):
    return sum(1 for line in path.read_text().splitlines() if line and not line.startswith("track"))


def heard_within_grid(expected, heard, tolerance):
    """The expected (onset, key) notes with no heard note of their key within the tolerance, each heard note
    answering one expected note."""
    got = defaultdict(list)
    for onset, key in heard:
        got[key].append(onset)
    for onsets in got.values():
        onsets.sort()
    missing = []
    used = defaultdict(set)
    for onset, key in sorted(expected):
        found = None
        for i, t in enumerate(got[key]):
            if t > onset + tolerance:
                break
            if i not in used[key] and abs(t - onset) <= tolerance:
                found = i
                break
        if found is None:
            missing.append((onset, key))
        else:
            used[key].add(found)
    return missing


def run(cli, *args):
    return subprocess.run([cli, *args], capture_output=True, text=True, timeout=300)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("corpus", type=pathlib.Path)
    args = parser.parse_args()
    failures = 0
    references = {p.name.split(".")[0]: p for p in (args.corpus / "expected").glob("*.txt")}
    with tempfile.TemporaryDirectory() as work:
        work = pathlib.Path(work)
        for mid in sorted((args.corpus / "good").glob("*.mid")):
            mus, out = work / "import.mus", work / "export.mid"
            result = run(args.cli, "import-midi", str(mid), str(mus))
            if result.returncode != 0 or "MESSAGE Erreur " in result.stderr:
                print(f"{mid.name}: import failed ({result.returncode}) {result.stderr[:200]}")
                failures += 1
                continue
            reference = references.get(mid.stem)
            if reference is None:
                continue
            played, division = read_midi_file(mid)
            if len(played) != reference_count(reference):
                print(f"{mid.name}: {len(played)} notes read here, {reference_count(reference)} in the reference")
                failures += 1
                continue
            result = run(args.cli, "export-midi", str(mus), str(out))
            if result.returncode != 0:
                print(f"{mid.name}: export failed {result.stderr[:200]}")
                failures += 1
                continue
            heard, _ = read_midi_file(out)
            # Within one grid unit, and the tick the export rounds each tuplet to.
            tolerance = Fraction(1, ROUNDING) + Fraction(1, 1024)
            missing = heard_within_grid(played, heard, tolerance)
            print(f"{mid.name}: {len(played) - len(missing)} / {len(played)} notes sound within the grid")
            if missing:
                print(f"  first missing: {[(float(o), k) for o, k in missing[:5]]}")
                failures += 1
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
