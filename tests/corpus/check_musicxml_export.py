#!/usr/bin/env python3
"""Is the MusicXML export of every laid-out corpus score valid, and does it come back? Each GUIDO and MIDI file is
imported (import-gmn, import-midi) and exported with notavera-cli export-musicxml; every export must validate against
the MusicXML 4.0 schema (xmllint, many files a call, so the schema is read once). With --round-trip, each export is
imported again (import-musicxml) and exported a second time: both exports must hold the same notes, onset by onset
and key by key, in the same parts."""

import argparse
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET
from fractions import Fraction

STEPS = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}
BATCH = 40


def run(cli, *args):
    return subprocess.run([cli, *args], capture_output=True, text=True, timeout=300)


def part_notes(path):
    """Part id -> sorted (onset in quarters, key) of every sounding note; grace notes at their written place."""
    parts = {}
    for part in ET.parse(path).getroot().iter("part"):
        divisions, cursor, last_onset, notes = 1, Fraction(0), Fraction(0), []
        for measure in part.iter("measure"):
            for e in measure:
                if e.tag == "attributes" and e.find("divisions") is not None:
                    divisions = int(e.find("divisions").text)
                elif e.tag in ("backup", "forward"):
                    d = Fraction(int(e.find("duration").text), divisions)
                    cursor += -d if e.tag == "backup" else d
                elif e.tag == "note":
                    d = e.find("duration")
                    length = Fraction(int(d.text), divisions) if d is not None else Fraction(0)
                    onset = last_onset if e.find("chord") is not None else cursor
                    pitch = e.find("pitch")
                    tied_on = any(t.get("type") == "stop" for t in e.findall("tie"))
                    if pitch is not None and not tied_on:
                        alter = pitch.find("alter")
                        key = (int(pitch.find("octave").text) + 1) * 12 + STEPS[pitch.find("step").text]
                        key += round(float(alter.text)) if alter is not None else 0
                        notes.append((onset, key))
                    if e.find("chord") is None:
                        last_onset = cursor
                        cursor += length
        parts[part.get("id")] = sorted(notes)
    return parts


def validate(schema, files):
    """The files xmllint refuses, with its first complaint about each."""
    refused = {}
    for i in range(0, len(files), BATCH):
        batch = [str(f) for f in files[i:i + BATCH]]
        result = subprocess.run(["xmllint", "--noout", "--schema", str(schema), *batch], capture_output=True,
                                text=True, timeout=600)
        for line in result.stderr.splitlines():
            m = re.match(r"(.+?):\d+: .*", line)
            if m and m.group(1) in batch and m.group(1) not in refused:
                refused[m.group(1)] = line
            m = re.match(r"(.+) fails to validate$", line)
            if m and m.group(1) not in refused:
                refused[m.group(1)] = line
    return refused


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("--schema", type=pathlib.Path, required=True)
    parser.add_argument("--round-trip", action="store_true")
    parser.add_argument("inputs", type=pathlib.Path, nargs="+", help="folders of .gmn and .mid files, or files")
    args = parser.parse_args()
    if shutil.which("xmllint") is None:
        print("xmllint is not installed")
        return 1
    files = []
    for p in args.inputs:
        files += sorted(p.glob("*.gmn")) + sorted(p.glob("*.mid")) if p.is_dir() else [p]
    failures = 0
    with tempfile.TemporaryDirectory() as work:
        work = pathlib.Path(work)
        exports = {}
        for n, source in enumerate(files):
            mus, xml = work / f"{n}.mus", work / f"{n}.musicxml"
            verb = "import-gmn" if source.suffix == ".gmn" else "import-midi"
            if run(args.cli, verb, str(source), str(mus)).returncode != 0:
                continue  # a file the import refuses has no score to export; the import's own checks judge it
            result = run(args.cli, "export-musicxml", str(mus), str(xml))
            if result.returncode != 0:
                print(f"{source.name}: export failed {result.stderr[:200]}")
                failures += 1
                continue
            exports[str(xml)] = source
        refused = validate(args.schema, [pathlib.Path(x) for x in exports])
        for xml, complaint in refused.items():
            print(f"{exports[xml].name}: not valid: {complaint}")
        failures += len(refused)
        print(f"{len(exports) - len(refused)} / {len(exports)} exports valid")
        if args.round_trip:
            for xml, source in exports.items():
                again, xml2 = work / "again.mus", work / "again.musicxml"
                result = run(args.cli, "import-musicxml", xml, str(again))
                if result.returncode != 0 or run(args.cli, "export-musicxml", str(again), str(xml2)).returncode != 0:
                    print(f"{source.name}: round trip failed {result.stderr[:200]}")
                    failures += 1
                    continue
                first, second = part_notes(xml), part_notes(xml2)
                if first != second:
                    diff = [p for p in first if first[p] != second.get(p)]
                    print(f"{source.name}: notes differ after a round trip in parts {diff[:5]} "
                          f"({len(first)} parts, then {len(second)})")
                    failures += 1
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
