#!/usr/bin/env python3
"""A corpus piece transposed in the editor sounds transposed: by key up a major second, every note it strikes
sounds two semitones higher at the same onset; by two diatonic degrees, every note stays in C major.
Usage: check_transposition.py --cli NOTAVERA_CLI PIECE.gmn (a piece without key signature)."""

import argparse
import json
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from midi_notes import read_midi_file  # noqa: E402

C_MAJOR = {0, 2, 4, 5, 7, 9, 11}


def run(cli, folder, *args):
    result = subprocess.run([cli, *args], cwd=folder, capture_output=True, text=True)
    if result.returncode != 0:
        raise SystemExit(f"{' '.join(args)}: {result.stderr}{result.stdout}")


def transposed_notes(cli, folder, command, answer):
    """Every staff of the piece transposed, page by page and staff by staff (the page marker on the page keeps each
    run to it); the notes it strikes then."""
    with open(os.path.join(folder, "layout.json"), encoding="utf-8") as f:
        pages = [len(page["staves"]) for page in json.load(f)["pages"]]
    script = ""
    for staves in pages:
        for line in range(1, staves + 1):
            script += f"answer PorteeNo \"Numéro de portée\"={line} ok\nchar P\ncmd 598\n"
            script += f"answer TranspHaut {answer} ok\ncmd {command}\n"
        script += "cmd 63\n"
    script += "save\n"
    name = f"t{command}"
    run(cli, folder, "import-gmn", "piece.gmn", f"{name}.mus")
    with open(os.path.join(folder, f"{name}.txt"), "w", encoding="utf-8") as f:
        f.write(script)
    run(cli, folder, "script", f"{name}.mus", f"{name}.txt")
    run(cli, folder, "export-midi", f"{name}.mus", f"{name}.mid")
    return sorted(read_midi_file(os.path.join(folder, f"{name}.mid"))[0])


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("piece")
    args = parser.parse_args()
    failures = []
    with tempfile.TemporaryDirectory() as folder:
        with open(args.piece, encoding="utf-8") as src, open(os.path.join(folder, "piece.gmn"), "w") as dst:
            dst.write(src.read())
        run(args.cli, folder, "import-gmn", "piece.gmn", "piece.mus")
        with open(os.path.join(folder, "dump.txt"), "w", encoding="utf-8") as f:
            f.write("dump layout.json\n")
        run(args.cli, folder, "script", "piece.mus", "dump.txt")
        run(args.cli, folder, "export-midi", "piece.mus", "piece.mid")
        original = sorted(read_midi_file(os.path.join(folder, "piece.mid"))[0])
        by_key = transposed_notes(args.cli, folder, 228, "252=2 Haut=1")
        expected = sorted((onset, key + 2) for onset, key in original)
        if by_key != expected:
            wrong = [(a, b) for a, b in zip(expected, by_key) if a != b][:5]
            failures.append(f"up a major second: {len(by_key)} notes for {len(expected)}, first differences {wrong}")
        diatonic = transposed_notes(args.cli, folder, 227, "252=2 Haut=1")
        outside = [(onset, key) for onset, key in diatonic if key % 12 not in C_MAJOR]
        if [onset for onset, _ in diatonic] != [onset for onset, _ in original] or outside:
            failures.append(f"up a diatonic second: notes outside the key {outside[:5]}")
    for failure in failures:
        print(failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
