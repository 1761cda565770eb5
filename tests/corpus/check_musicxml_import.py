#!/usr/bin/env python3
"""Does MusicXML written by another program come in with every note? Each file of the folder is imported with
notavera-cli import-musicxml (an error box fails it) and exported with export-midi; the MIDI file it was made from,
named in the folder's SOURCES.md and read here without the editor, must sound the same keys note for note: as many
notes, each heard at its key within the writer's quantisation of its onset, and none more."""

import argparse
import pathlib
import re
import subprocess
import sys
import tempfile
from fractions import Fraction

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
from check_midi_import import heard_within_grid  # noqa: E402
from midi_notes import read_midi_file  # noqa: E402

# The writer rounds the MIDI file's onsets to its own grid, finer than a sixty-fourth.
TOLERANCE = Fraction(1, 64)


def sources(folder):
    """MusicXML file name -> the MIDI file it was made from, from the table of SOURCES.md."""
    table = {}
    for line in (folder / "SOURCES.md").read_text(encoding="utf-8").splitlines():
        m = re.match(r"\|\s*(\S+\.musicxml)\s*\|\s*(\S+\.mid)\s*\|", line)
        if m:
            table[m.group(1)] = m.group(2)
    return table


def run(cli, *args):
    return subprocess.run([cli, *args], capture_output=True, text=True, timeout=300)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("--midi", type=pathlib.Path, required=True, help="the folder of the MIDI sources")
    parser.add_argument("folder", type=pathlib.Path)
    args = parser.parse_args()
    failures = 0
    table = sources(args.folder)
    if not table:
        print("SOURCES.md names no file")
        return 1
    with tempfile.TemporaryDirectory() as work:
        work = pathlib.Path(work)
        for name, midi in sorted(table.items()):
            mus, out = work / "import.mus", work / "export.mid"
            result = run(args.cli, "import-musicxml", str(args.folder / name), str(mus))
            if result.returncode != 0 or "MESSAGE Erreur " in result.stderr:
                print(f"{name}: import failed ({result.returncode}) {result.stderr[:200]}")
                failures += 1
                continue
            result = run(args.cli, "export-midi", str(mus), str(out))
            if result.returncode != 0:
                print(f"{name}: export failed {result.stderr[:200]}")
                failures += 1
                continue
            played, _ = read_midi_file(args.midi / midi)
            heard, _ = read_midi_file(out)
            missing = heard_within_grid(played, heard, TOLERANCE)
            extra = heard_within_grid(heard, played, TOLERANCE)
            print(f"{name}: {len(played) - len(missing)} / {len(played)} notes of {midi} heard, {len(extra)} more")
            if missing or extra:
                print(f"  first missing: {[(float(o), k) for o, k in missing[:5]]}")
                print(f"  first extra: {[(float(o), k) for o, k in extra[:5]]}")
                failures += 1
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
