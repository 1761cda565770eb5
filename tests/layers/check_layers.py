#!/usr/bin/env python3
"""Refuses an include that points up the core's layers (src/layers.txt): a file may include headers of its
own layer and of lower layers only. Prints one line per fault and exits 1 when there is any."""

import argparse
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile

INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"', re.MULTILINE)
# The platform folder holds the interfaces the core calls; its subfolders are the implementations, built
# above the whole core, so they stand in no layer.
INTERFACES_ONLY = "platform"
ABOVE_CORE = float("inf")


def read_layers(table):
    """Folder -> rank (0 for the lowest layer) from the layer table."""
    ranks = {}
    rank = 0
    for line in table.read_text(encoding="utf-8").splitlines():
        words = line.split()
        if not words or words[0].startswith("#"):
            continue
        for folder in words[1:]:
            ranks[folder] = rank
        rank += 1
    return ranks


def rank_of(relative, ranks):
    """The layer of a path relative to the source root, ABOVE_CORE outside the core, None when unknown."""
    parts = pathlib.PurePosixPath(relative).parts
    if len(parts) < 2 or parts[0] not in ranks:
        return None
    if parts[0] == INTERFACES_ONLY and len(parts) > 2:
        return ABOVE_CORE
    return ranks[parts[0]]


def faults(root, ranks):
    found = []
    for path in sorted(root.rglob("*")):
        if path.suffix not in (".h", ".cpp") or not path.is_file():
            continue
        relative = path.relative_to(root).as_posix()
        own = rank_of(relative, ranks)
        if own is None or own == ABOVE_CORE:
            continue
        text = path.read_text(encoding="utf-8", errors="replace")
        for header in INCLUDE.findall(text):
            target = rank_of(header, ranks)
            if target is not None and target > own:
                found.append(f"{relative}: includes higher layer header {header}")
    return found


def self_test(root, table):
    """Plants an upward include in a copy of the tree and expects the check to name that file."""
    planted = "score/records.h"
    with tempfile.TemporaryDirectory() as scratch:
        copy = pathlib.Path(scratch) / "src"
        shutil.copytree(root, copy, ignore=shutil.ignore_patterns("*.o", "*.a"))
        target = copy / planted
        target.write_text('#include "shell/dispatch.h"\n' + target.read_text(encoding="utf-8"), encoding="utf-8")
        run = subprocess.run([sys.executable, __file__, "--root", str(copy), "--layers", str(table)],
                             capture_output=True, text=True, check=False)
    named = any(line.startswith(planted + ":") for line in run.stdout.splitlines())
    if run.returncode == 1 and named:
        print(f"the planted include in {planted} was refused")
        return 0
    print(f"the planted include in {planted} was not refused (exit {run.returncode})")
    print(run.stdout, end="")
    return 1


def main():
    here = pathlib.Path(__file__).resolve().parent
    default_root = here.parent.parent / "src"
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--root", type=pathlib.Path, default=default_root, help="source root (default: src/)")
    parser.add_argument("--layers", type=pathlib.Path, help="layer table (default: ROOT/layers.txt)")
    parser.add_argument("--self-test", action="store_true",
                        help="check that an include planted in a copy of the tree is refused")
    args = parser.parse_args()
    table = args.layers or args.root / "layers.txt"
    if args.self_test:
        return self_test(args.root, table)
    found = faults(args.root, read_layers(table))
    for line in found:
        print(line)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
