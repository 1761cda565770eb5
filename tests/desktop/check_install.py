#!/usr/bin/env python3
"""Does an install land where the desktop finds it? The build is installed into a scratch prefix; the programs, the
user guide, the fonts and the icons must be there, desktop-file-validate must accept the menu entry, and with the
prefix's file types registered, xdg-mime must name a score's type and the entry must open it. Exits 77 (skipped)
when a desktop tool is missing."""

import argparse
import os
import pathlib
import shutil
import subprocess
import sys
import tempfile

SKIP = 77
SCORE_TYPE = "application/x-notavera-score"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", type=pathlib.Path, required=True)
    parser.add_argument("--cli", required=True, help="notavera-cli, which makes the score to recognise")
    args = parser.parse_args()
    tools = ["desktop-file-validate", "update-mime-database", "xdg-mime"]
    missing = [t for t in tools if shutil.which(t) is None]
    if missing:
        print(f"skipped: {', '.join(missing)} not installed")
        return SKIP
    with tempfile.TemporaryDirectory() as prefix:
        prefix = pathlib.Path(prefix)
        # A staged install, as a package would make it: the caches are then the check's to build.
        env = dict(os.environ, DESTDIR="")
        result = subprocess.run(["cmake", "--install", str(args.build), "--prefix", str(prefix)], capture_output=True,
                                text=True, env=env, timeout=300)
        if result.returncode != 0:
            print(f"install failed: {result.stderr}")
            return 1
        share = prefix / "share"
        expected = [prefix / "bin" / "notavera", prefix / "bin" / "notavera-cli", share / "notavera" / "notavera.hlp",
                    share / "notavera" / "fonts" / "bravura" / "bravura.otf",
                    share / "notavera" / "fonts" / "leland" / "metadata.json",
                    share / "applications" / "notavera.desktop", share / "mime" / "packages" / "notavera.xml",
                    share / "icons" / "hicolor" / "scalable" / "apps" / "notavera.svg",
                    share / "icons" / "hicolor" / "48x48" / "apps" / "notavera.png"]
        failures = [f"missing {p.relative_to(prefix)}" for p in expected if not p.exists()]
        entry = share / "applications" / "notavera.desktop"
        if entry.exists():
            result = subprocess.run(["desktop-file-validate", str(entry)], capture_output=True, text=True)
            if result.returncode != 0 or result.stdout.strip():
                failures.append(f"desktop-file-validate: {result.stdout}{result.stderr}")
            if SCORE_TYPE not in entry.read_text(encoding="utf-8"):
                failures.append("the menu entry does not open scores")
        subprocess.run(["update-mime-database", str(share / "mime")], capture_output=True, check=False)
        score = prefix / "Menuet.mus"
        subprocess.run([args.cli, "new", str(score)], capture_output=True, check=False)
        env = dict(os.environ, XDG_DATA_DIRS=f"{share}:/usr/share", XDG_DATA_HOME=str(prefix / "home"))
        result = subprocess.run(["xdg-mime", "query", "filetype", str(score)], capture_output=True, text=True, env=env)
        if result.stdout.strip() != SCORE_TYPE:
            failures.append(f"xdg-mime names {result.stdout.strip()!r} for a score ({result.stderr.strip()[:200]})")
        for f in failures:
            print(f)
        return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
