#!/usr/bin/env python3
"""Are the laid-out pages of a GUIDO file engraved as an engraver would have them? For every .gmn file given:
notavera-cli import-gmn, then info --elements for the document and render --out page.json for the drawing
calls of each page. Per page it reports
  - bars: a system whose staves' bar lines do not all stand at one x;
  - beyond: an element standing, or inking, beyond the line length;
  - line end: a system other than the piece's last whose last element does not end at the line length (within
    LINE_END_STEPS step units, a step unit being half a staff space);
  - collision: music-font glyphs of different elements whose ink boxes overlap by more than a tenth of a staff
    space both ways (lines, stems and beams are not glyphs and are left out).
Ink boxes come from the SMuFL metadata of the font that drew each glyph (a SMuFL em is four staff spaces).
Which element drew a glyph is read from the order of the calls: a staff's elements draw one after the other, so
the glyphs are cut into consecutive runs, one per element, each matched to the elements' x (see assign).
Prints one line per problem and a summary per file and in total; exits 1 when any file has a problem."""

import argparse
import json
import pathlib
import subprocess
import sys
import tempfile
from collections import Counter

LINE_END_STEPS = 3
OVERLAP_SPACES = 0.1
BEYOND_SPACES = 0.1
SKIP_SPACES = 2
KINDS = ("bars", "beyond", "line end", "collision")

# SMuFL code points of the glyphs a score page holds, by their standard names (the metadata is keyed by name).
SMUFL_NAMES = {
    0xE000: "brace", 0xE003: "bracketTop", 0xE004: "bracketBottom", 0xE043: "repeatDots",
    0xE050: "gClef", 0xE052: "gClef8vb", 0xE05C: "cClef", 0xE062: "fClef", 0xE069: "unpitchedPercussionClef1",
    0xE07A: "gClefChange", 0xE07B: "cClefChange", 0xE07C: "fClefChange",
    0xE08A: "timeSigCommon", 0xE08B: "timeSigCutCommon",
    0xE0A0: "noteheadDoubleWhole", 0xE0A2: "noteheadWhole", 0xE0A3: "noteheadHalf", 0xE0A4: "noteheadBlack",
    0xE0A5: "noteheadNull", 0xE0A9: "noteheadXBlack", 0xE0AA: "noteheadXOrnate", 0xE0B3: "noteheadCircleX",
    0xE0BE: "noteheadTriangleUpBlack", 0xE0D9: "noteheadDiamondHalf", 0xE0DB: "noteheadDiamondBlack",
    0xE0F5: "noteheadParenthesisLeft", 0xE0F6: "noteheadParenthesisRight", 0xE0FA: "noteheadWholeFilled",
    0xE240: "flag8thUp", 0xE241: "flag8thDown", 0xE242: "flag16thUp", 0xE243: "flag16thDown",
    0xE260: "accidentalFlat", 0xE261: "accidentalNatural", 0xE262: "accidentalSharp",
    0xE263: "accidentalDoubleSharp", 0xE264: "accidentalDoubleFlat",
    0xE280: "accidentalQuarterToneFlatStein", 0xE282: "accidentalQuarterToneSharpStein",
    0xE4A0: "articAccentAbove", 0xE4A1: "articAccentBelow", 0xE4A2: "articStaccatoAbove",
    0xE4A3: "articStaccatoBelow", 0xE4A4: "articTenutoAbove", 0xE4A5: "articTenutoBelow",
    0xE4A8: "articStaccatissimoWedgeAbove", 0xE4A9: "articStaccatissimoWedgeBelow",
    0xE4AC: "articMarcatoAbove", 0xE4AD: "articMarcatoBelow",
    0xE4E3: "restWhole", 0xE4E4: "restHalf", 0xE4E5: "restQuarter", 0xE4E6: "rest8th", 0xE4E7: "rest16th",
    0xE4E8: "rest32nd", 0xE4E9: "rest64th", 0xE4EA: "rest128th", 0xE4EB: "rest256th",
    0xE520: "dynamicPiano", 0xE521: "dynamicMezzo", 0xE522: "dynamicForte", 0xE523: "dynamicRinforzando",
    0xE524: "dynamicSforzando", 0xE525: "dynamicZ", 0xE526: "dynamicNiente",
    0xE900: "mensuralGclef", 0xE903: "mensuralFclef", 0xE905: "mensuralCclef",
}
SMUFL_NAMES.update({0xE080 + d: f"timeSig{d}" for d in range(10)})
SMUFL_NAMES.update({0xE880 + d: f"tuplet{d}" for d in range(10)})

# Element records (see the document's JSON): sign types and flag bits this check reads.
BAR, TIME, CLEF, DRAWING, PICTURE, KEY = 0, 5, 6, 7, 12, 13
HIDDEN = 1 << 17          # word0
SPECIAL_BAR = 12


class Font:
    """Ink boxes and advances of one SMuFL font, in staff spaces."""

    def __init__(self, metadata):
        self.boxes = metadata.get("glyphBBoxes", {})
        self.advances = metadata.get("glyphAdvanceWidths", {})

    def box(self, name):
        b = self.boxes.get(name)
        return None if b is None else (b["bBoxSW"][0], b["bBoxSW"][1], b["bBoxNE"][0], b["bBoxNE"][1])

    def advance(self, name):
        return self.advances.get(name, (self.box(name) or (0, 0, 0, 0))[2])


def load_fonts(folder):
    """Font metadata by family name, from the SMuFL fonts installed under `folder` (one folder per font)."""
    fonts = {}
    for meta in pathlib.Path(folder).glob("*/metadata.json"):
        data = json.loads(meta.read_text())
        fonts[data.get("fontName", meta.parent.name)] = Font(data)
    return fonts


class Glyph:
    __slots__ = ("name", "box", "order", "unit", "run")

    def __init__(self, name, box, order, run):
        self.name, self.box, self.order, self.unit, self.run = name, box, order, None, run


class Unit:
    """What draws glyphs as one: an element, a staff's line-start key, or a mark of the staff groupings."""

    def __init__(self, staff, x, label, key=False, draws=False):
        self.staff, self.x, self.label, self.key, self.draws = staff, x, label, key, draws


def glyphs_of(calls, fonts, unknown):
    """The ink boxes of every music-font glyph drawn, in drawing order, with whether each was drawn before the
    staves' contents (the groupings' marks). Code points without a name or a box are counted in `unknown`."""
    glyphs, before_contents, contents = [], [], False
    for run, call in enumerate(calls):
        op = call.get("op")
        if op in ("glyph", "glyphText"):
            contents = True
        if op != "glyphRun" or call.get("escapement", 0) != 0:
            continue
        font = fonts.get(call.get("family"))
        scale = call["em"] / 4.0
        x = float(call["x"])
        for cp in call["codePoints"]:
            name = SMUFL_NAMES.get(cp)
            box = font.box(name) if font and name else None
            if box is None:
                unknown[f"U+{cp:04X}"] += 1
                continue
            glyphs.append(Glyph(name, (x + box[0] * scale, call["y"] + box[1] * scale,
                                       x + box[2] * scale, call["y"] + box[3] * scale), len(glyphs), run))
            before_contents.append(not contents)
            x += font.advance(name) * scale
    return glyphs, before_contents


def staff_bands(calls, staff_count, space):
    """(bottom, top) of each staff, top to bottom, from the staff lines drawn before anything else; None when
    they cannot be told apart."""
    ys = []
    for call in calls:
        if call.get("op") in ("glyph", "glyphText", "glyphRun", "brace", "bracket"):
            break
        if call.get("op") == "line" and call["y1"] == call["y2"] and call["x1"] != call["x2"]:
            ys.append(call["y1"])
    bands = []
    for y in sorted(set(ys), reverse=True):
        if bands and bands[-1][0] - y <= space + 1:
            bands[-1][0] = y
        else:
            bands.append([y, y])
    return [tuple(b) for b in bands] if len(bands) == staff_count else None


def visible(e):
    return (e["word0"] & HIDDEN) == 0


def drawn_first(e):
    """Clefs, bars and drawing items are drawn for every staff before the other elements of any staff."""
    return e["kind"] == "sign" and (e["signType"] in (CLEF, DRAWING, PICTURE)
                                    or (e["signType"] == BAR and e["code"] != SPECIAL_BAR))


def staff_units(page, index, first_pass):
    units = []
    elements = page["staves"][index]["elements"]
    for j, e in enumerate(elements):
        if not visible(e) or drawn_first(e) != first_pass:
            continue
        units.append(Unit(index, e["x"] + e["shift"], f"staff {index + 1} element {j + 1} ({describe(e)})",
                          draws=draws_a_glyph(e)))
    if first_pass:
        units.append(Unit(index, 0, f"staff {index + 1} line-start key", key=True))
    return units


def describe(e):
    if e["kind"] == "sign":
        return f"sign {e['signType']}"
    return f"{e['kind']} {e['durationCode']}"


def draws_a_glyph(e):
    """Whether an element surely writes a music-font glyph: a note, a rest shorter than a half (longer ones are
    blocks), a clef, a time signature or a key change."""
    if e["kind"] == "note":
        return True
    if e["kind"] == "rest":
        return 4 <= e["durationCode"] <= 10
    return e["signType"] in (CLEF, TIME, KEY)


def assign(glyphs, units, bands, space):
    """Cuts the glyphs, in drawing order, into consecutive runs, one per unit in drawing order, so that the
    glyphs lie nearest their unit's x and staff and that no unit which surely draws is left without a glyph (a
    skip costs SKIP_SPACES): a least-cost monotone matching. Returns its cost."""
    if not glyphs or not units:
        return 0
    far, skip = 1e6, SKIP_SPACES * space
    skipped = [0.0]  # skipped[j]: the cost of leaving units 0 .. j-1 without a glyph
    for u in units:
        skipped.append(skipped[-1] + (skip if u.draws else 0.0))

    def cost(g, u):
        left, bottom, right, top = g.box
        if u.key:
            return 0.0 if g.name.startswith("accidental") else far
        c = max(0.0, left - u.x, u.x - right)
        if bands is not None:
            low, high = bands[u.staff]
            c += max(0.0, low - top - 6 * space, bottom - high - 6 * space)
        return c

    m = len(units)
    previous = [cost(glyphs[0], u) + skipped[j] for j, u in enumerate(units)]
    back = [[-1] * m]
    for before, g in zip(glyphs, glyphs[1:]):
        row, links = [0.0] * m, [0] * m
        best, arg = float("inf"), -1  # the cheapest earlier unit to move on from, less what it skips
        # An element's drawing opens with its head, rest or sign; its accidental, flags and marks follow it.
        opens = 0.0 if g.name.startswith(("notehead", "rest", "timeSig")) or "clef" in g.name.lower() else 0.5
        # The glyphs of one run ("mf", "sfz") are one text's.
        if g.run == before.run:
            opens = far
        for j, u in enumerate(units):
            moved = best + skipped[j] + opens
            if previous[j] <= moved:
                row[j], links[j] = previous[j], j
            else:
                row[j], links[j] = moved, arg
            row[j] += cost(g, u)
            if previous[j] - skipped[j + 1] < best:
                best, arg = previous[j] - skipped[j + 1], j
        back.append(links)
        previous = row
    j = min(range(m), key=lambda k: previous[k] + skipped[m] - skipped[k + 1])
    total = previous[j] + skipped[m] - skipped[j + 1]
    for i in range(len(glyphs) - 1, -1, -1):
        glyphs[i].unit = units[j]
        j = back[i][j]
    return total


def systems_of(page):
    """Lists of staff indices: each system runs from a staff first in its group (voiceWord bits 8–15) to the
    staff whose position equals the group's size (bits 16–23); a staff out of that pattern stands alone."""
    systems, current = [], []
    for i, staff in enumerate(page["staves"]):
        position, size = (staff["voiceWord"] >> 8) & 0xFF, (staff["voiceWord"] >> 16) & 0xFF
        if position == 1 or not current:
            if current:
                systems.append(current)
            current = []
        current.append(i)
        if position >= size:
            systems.append(current)
            current = []
    if current:
        systems.append(current)
    return systems


def bar_xs(staff):
    return sorted(e["x"] + e["shift"] for e in staff["elements"]
                  if e["kind"] == "sign" and e["signType"] == BAR and visible(e)
                  and (e["code"] == 0 or e["code"] > 64) and e["code"] != SPECIAL_BAR)


def check_bars(page, system):
    """One problem per bar x that some staves of the system have and others lack."""
    per_staff = {i: bar_xs(page["staves"][i]) for i in system}
    problems = []
    for x in sorted(set().union(*per_staff.values())):
        lacking = [i + 1 for i in system if x not in per_staff[i]]
        if lacking:
            having = [i + 1 for i in system if x in per_staff[i]]
            problems.append((x, f"bar on staff {', '.join(map(str, having))} has none beside it on staff "
                                f"{', '.join(map(str, lacking))}"))
    return problems


def page_metrics(page):
    space = ((page["layout"] >> 16) & 0xFF) // 2 * 2 or 20
    return space, page["lineLength"] & 0xFFFFFF


def check_page(doc_page, calls, fonts, last_system_of_piece, unknown):
    """Problems of one page: (system number, x, kind, text) sorted by system and x; and the colliding glyph
    name pairs."""
    space, length = page_metrics(doc_page)
    staves = doc_page["staves"]
    systems = systems_of(doc_page)
    system_of = {i: s for s, members in enumerate(systems) for i in members}
    filled = [s for s, members in enumerate(systems) if any(staves[i]["elements"] for i in members)]
    last = filled[-1] if last_system_of_piece and filled else None
    problems = []
    for s, members in enumerate(systems):
        problems += [(s, x, "bars", text) for x, text in check_bars(doc_page, members)]
        ends = [e["x"] + e["shift"] for i in members for e in staves[i]["elements"][-1:] if visible(e)]
        if ends and s != last:
            end = max(ends)
            if abs(end - length) > LINE_END_STEPS * space // 2:
                problems.append((s, end, "line end", f"last element at {end}, the line length is {length}"))
        for i in members:
            for j, e in enumerate(staves[i]["elements"]):
                x = e["x"] + e["shift"]
                if visible(e) and x > length:
                    problems.append((s, x, "beyond", f"staff {i + 1} element {j + 1} ({describe(e)}) at {x} "
                                                     f"beyond the line length {length}"))

    glyphs, grouping = glyphs_of(calls, fonts, unknown)
    bands = staff_bands(calls, len(staves), space)
    units_first = [u for i in range(len(staves)) for u in staff_units(doc_page, i, True)]
    marks = [g for g, before in zip(glyphs, grouping) if before]
    contents = [g for g, before in zip(glyphs, grouping) if not before]
    for g in marks:
        g.unit = Unit(nearest_staff(g, bands), g.box[0], f"grouping mark {g.order + 1}")
    # The staff the editor's cursor is on is drawn after all the others: the one that matches best.
    best = None
    for last in range(len(staves)):
        order = [i for i in range(len(staves)) if i != last] + [last]
        units = units_first + [u for i in order for u in staff_units(doc_page, i, False)]
        cost = assign(contents, units, bands, space)
        if best is None or cost < best[0]:
            best = (cost, [g.unit for g in contents])
    for g, unit in zip(contents, best[1] if best else []):
        g.unit = unit

    inked = Counter()
    for g in contents:
        if g.box[2] > length + BEYOND_SPACES * space and g.unit.label not in inked:
            inked[g.unit.label] = 1
            problems.append((system_of.get(g.unit.staff, 0), round(g.box[2]), "beyond",
                             f"{g.name} of {g.unit.label} inks to {g.box[2]:.0f}, beyond the line length "
                             f"{length}"))
    pairs = Counter()
    for a, b, dx, dy in collisions(glyphs, OVERLAP_SPACES * space):
        pairs[tuple(sorted((a.name, b.name)))] += 1
        problems.append((system_of.get(a.unit.staff, 0), round(min(a.box[0], b.box[0])), "collision",
                         f"{a.name} of {a.unit.label} and {b.name} of {b.unit.label} overlap by "
                         f"{dx:.0f} x {dy:.0f}"))
    return sorted(problems, key=lambda p: (p[0], p[1])), pairs


def nearest_staff(glyph, bands):
    if not bands:
        return 0
    middle = (glyph.box[1] + glyph.box[3]) / 2
    return min(range(len(bands)), key=lambda i: abs(middle - (bands[i][0] + bands[i][1]) / 2))


def collisions(glyphs, threshold):
    """Pairs of glyphs of different units whose ink boxes overlap by more than `threshold` in x and in y."""
    # A glyph written again at the same place (voices sharing a staff) adds no ink.
    ordered = sorted({(g.name, g.box): g for g in reversed(glyphs)}.values(), key=lambda g: g.box[0])
    for n, a in enumerate(ordered):
        for b in ordered[n + 1:]:
            if b.box[0] >= a.box[2] - threshold:
                break
            if a.unit is b.unit:
                continue
            dx = min(a.box[2], b.box[2]) - b.box[0]
            dy = min(a.box[3], b.box[3]) - max(a.box[1], b.box[1])
            if dx > threshold and dy > threshold:
                yield a, b, dx, dy


def run(cli, *args):
    return subprocess.run([cli, *args], capture_output=True, text=True, timeout=300)


def check_file(cli, gmn, work, fonts, show):
    """Counts per kind and the colliding name pairs of one file, or the reason it could not be checked."""
    mus = work / "piece.mus"
    mus.unlink(missing_ok=True)
    imported = run(cli, "import-gmn", str(gmn), str(mus))
    if imported.returncode != 0:
        return "import refused: " + (imported.stderr.strip().splitlines() or ["?"])[-1]
    info = run(cli, "info", str(mus), "--elements")
    if info.returncode != 0:
        return "info failed: " + (info.stderr.strip().splitlines() or ["?"])[-1]
    doc = json.loads(info.stdout)
    counts, pairs, unknown = Counter(), Counter(), Counter()
    pages = doc["pages"]
    for n, page in enumerate(pages, start=1):
        out = work / "page.json"
        rendered = run(cli, "render", str(mus), "--page", str(n), "--out", str(out))
        if rendered.returncode != 0:
            return f"render of page {n} failed: " + (rendered.stderr.strip().splitlines() or ["?"])[-1]
        calls = json.loads(out.read_text())
        problems, page_pairs = check_page(page, calls, fonts, n == len(pages), unknown)
        pairs += page_pairs
        page_counts = Counter(kind for _, _, kind, _ in problems)
        counts += page_counts
        for system, x, kind, text in problems:
            if show:
                print(f"{gmn.name} page {n}, system {system + 1}, x {x}: {kind}: {text}")
        print(f"{gmn.name} page {n}: " + summary(page_counts))
    if unknown:
        print(f"{gmn.name}: glyphs left out (no name or box known): "
              + ", ".join(f"{cp} x{k}" for cp, k in sorted(unknown.items())))
    return counts, pairs


def summary(counts):
    return ", ".join(f"{counts[k]} {k}" for k in KINDS) if sum(counts.values()) else "clean"


def main(argv):
    root = pathlib.Path(__file__).resolve().parents[2]
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--cli", required=True, help="the notavera-cli program")
    parser.add_argument("--fonts", default=root / "node_modules" / "@vexflow-fonts",
                        help="folder of the SMuFL fonts, one sub-folder with a metadata.json per font")
    parser.add_argument("--quiet", action="store_true", help="counts only, no line per problem")
    parser.add_argument("--pairs", type=int, default=10, metavar="N",
                        help="show the N most frequent pairs of colliding glyphs")
    parser.add_argument("files", nargs="+", type=pathlib.Path, help=".gmn files")
    args = parser.parse_args(argv)
    fonts = load_fonts(args.fonts)
    if not fonts:
        print(f"no SMuFL font metadata under {args.fonts} (run npm ci)")
        return 1
    total, pairs, failed = Counter(), Counter(), []
    with tempfile.TemporaryDirectory() as tmp:
        for gmn in args.files:
            result = check_file(args.cli, gmn, pathlib.Path(tmp), fonts, not args.quiet)
            if isinstance(result, str):
                failed.append(gmn.name)
                print(f"{gmn.name}: {result}")
                continue
            counts, file_pairs = result
            total += counts
            pairs += file_pairs
            print(f"{gmn.name}: " + summary(counts))
    for (a, b), n in pairs.most_common(args.pairs):
        print(f"  {n} x {a} / {b}")
    print(f"total: {summary(total)}; {len(args.files) - len(failed)} of {len(args.files)} files checked")
    return 1 if failed or sum(total.values()) else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
