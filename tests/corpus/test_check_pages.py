#!/usr/bin/env python3
"""The page check's own judgement on hand-made pages: bars out of line, lines too long or short, colliding
glyphs, and which element each glyph is laid to."""

import pathlib
import sys
import unittest
from collections import Counter

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
from check_pages import Font, Unit, assign, check_page, glyphs_of, staff_bands  # noqa: E402

HEAD, SHARP = 0xE0A4, 0xE262
FONTS = {"Test": Font({"glyphBBoxes": {
    "noteheadBlack": {"bBoxSW": [0, -0.5], "bBoxNE": [1.2, 0.5]},
    "accidentalSharp": {"bBoxSW": [0, -1.4], "bBoxNE": [1, 1.4]},
    "gClef": {"bBoxSW": [0, -2.6], "bBoxNE": [2.6, 4.4]}}})}


def note(x):
    return {"kind": "note", "x": x, "shift": 0, "word0": 0, "noteWord": 0, "durationCode": 6}


def bar(x):
    return {"kind": "sign", "signType": 0, "code": 124, "x": x, "shift": 0, "word0": 0}


def staff(position, size, *elements):
    return {"voiceWord": position << 8 | size << 16, "elements": list(elements)}


def page(*staves, length=1000):
    return {"layout": 20 << 16, "lineLength": length, "staves": list(staves)}


def lines(*tops):
    """Five staff lines under each top, 20 apart, as the page draws them first."""
    return [{"op": "line", "x1": 0, "x2": 1000, "y1": t - 20 * k, "y2": t - 20 * k} for t in tops for k in range(5)]


def run(x, y, cp):
    return [{"op": "glyph"}, {"op": "glyphRun", "x": x, "y": y, "codePoints": [cp], "em": 80, "family": "Test"}]


def problems(doc_page, calls=(), last=True):
    found, _ = check_page(doc_page, list(calls), FONTS, last, Counter())
    return [(kind, x) for _, x, kind, _ in found]


class Systems(unittest.TestCase):
    def test_bars_of_a_system_stand_at_one_x(self):
        # A hidden bar is not drawn: it needs no partner.
        hidden = dict(bar(700), word0=1 << 17)
        two = page(staff(1, 2, bar(500), bar(1000)), staff(2, 2, bar(510), hidden, bar(1000)),
                   staff(1, 1, bar(300), bar(1000)))
        self.assertEqual(problems(two), [("bars", 500), ("bars", 510)])

    def test_lines_end_at_the_line_length_except_the_piece_last(self):
        short = page(staff(1, 1, note(100), bar(960)), staff(1, 1, note(100), bar(980)),
                     staff(1, 1, note(100), bar(500)), staff(1, 1))
        self.assertEqual(problems(short), [("line end", 960)])
        self.assertEqual(problems(short, last=False), [("line end", 960), ("line end", 500)])

    def test_elements_and_ink_beyond_the_line_length(self):
        over = page(staff(1, 1, note(900), note(1010)))
        self.assertIn(("beyond", 1010), problems(over))
        inked = page(staff(1, 1, note(995), bar(1000)))
        self.assertEqual(problems(inked, lines(500) + run(995, 460, HEAD)), [("beyond", 1019)])


class Collisions(unittest.TestCase):
    def test_glyphs_of_different_elements_may_not_overlap(self):
        # Heads 12 apart overlap by 12 (more than a tenth of a space, 2); each sharp overlaps only its own head;
        # a head written twice at one place is one ink.
        crowded = page(staff(1, 1, note(100), note(112), note(300), note(300), bar(1000)))
        calls = lines(500) + run(88, 460, HEAD) + run(100, 460, HEAD) + run(288, 460, HEAD) + \
            run(272, 460, SHARP) + run(288, 460, HEAD) + run(272, 460, SHARP)
        self.assertEqual(problems(crowded, calls), [("collision", 88)])
        apart = page(staff(1, 1, note(100), note(123), bar(1000)))
        self.assertEqual(problems(apart, lines(500) + run(88, 460, HEAD) + run(111, 460, HEAD)), [])

    def test_staves_far_apart_do_not_collide(self):
        two = page(staff(1, 1, note(100), bar(1000)), staff(1, 1, note(100), bar(1000)))
        self.assertEqual(problems(two, lines(500, 300) + run(88, 460, HEAD) + run(88, 260, HEAD)), [])


class Assignment(unittest.TestCase):
    def test_every_element_that_draws_gets_its_glyphs(self):
        # Three clefs at one x on three staves sharing a place: each staff's clef is its own.
        units = [Unit(i, 30, f"clef {i}", draws=True) for i in range(3)]
        glyphs, _ = glyphs_of([c for _ in range(3) for c in run(10, 460, 0xE050)], FONTS, Counter())
        assign(glyphs, units, None, 20)
        self.assertEqual([g.unit.label for g in glyphs], ["clef 0", "clef 1", "clef 2"])

    def test_an_accidental_goes_with_the_head_after_it(self):
        units = [Unit(0, 100, "first", draws=True), Unit(0, 160, "second", draws=True)]
        calls = run(88, 460, HEAD) + run(148, 460, HEAD) + run(128, 460, SHARP)
        glyphs, _ = glyphs_of(calls, FONTS, Counter())
        assign(glyphs, units, None, 20)
        self.assertEqual([g.unit.label for g in glyphs], ["first", "second", "second"])

    def test_a_glyph_goes_to_the_element_it_stands_at_and_the_staff_it_stands_on(self):
        bands = staff_bands(lines(500, 300), 2, 20)
        self.assertEqual(bands, [(420, 500), (220, 300)])
        cases = [([Unit(0, 100, "note", draws=True), Unit(0, 400, "text")],
                  run(88, 460, HEAD) + run(390, 460, SHARP), ["note", "text"]),
                 ([Unit(0, 400, "high", draws=True), Unit(1, 400, "low", draws=True)],
                  run(388, 260, HEAD), ["low"]),
                 # A staff's line-start key draws accidentals only.
                 ([Unit(0, 0, "key", key=True), Unit(0, 300, "later")], run(188, 460, HEAD), ["later"])]
        for units, calls, expected in cases:
            glyphs, _ = glyphs_of(calls, FONTS, Counter())
            assign(glyphs, units, bands, 20)
            self.assertEqual([g.unit.label for g in glyphs], expected)

    def test_glyphs_without_a_known_box_are_counted_apart(self):
        unknown = Counter()
        glyphs, _ = glyphs_of(run(0, 0, 0xF000) + run(0, 0, HEAD), FONTS, unknown)
        self.assertEqual((len(glyphs), unknown), (1, Counter({"U+F000": 1})))


if __name__ == "__main__":
    unittest.main()
