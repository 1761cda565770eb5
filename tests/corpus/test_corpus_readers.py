#!/usr/bin/env python3
"""The corpus check's own readers on hand-written cases: the GUIDO notes, the MIDI notes and their comparison."""

import pathlib
import sys
import unittest
from fractions import Fraction as F

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
from check_corpus import compare  # noqa: E402
from gmn_notes import GmnError, read_gmn  # noqa: E402
from gmn_to_ly import lilypond, read_voices  # noqa: E402
from midi_notes import MidiError, read_midi  # noqa: E402


def notes(text):
    return [note for seq in read_gmn(text) for note in seq.notes]


class GmnNotes(unittest.TestCase):
    CASES = [
        # Dots carry over with the duration; a dot alone applies to the carried value without its dots.
        ("[c. c c/8 d.. e c. c]", [(0, 60), (F(3, 8), 60), (F(3, 4), 60), (F(7, 8), 62), (F(35, 32), 64),
                                   (F(21, 16), 60), (F(3, 2), 60)]),
        ("[c*3/8 d*1 e]", [(0, 60), (F(3, 8), 62), (F(11, 8), 64)]),
        # Names, accidentals, octaves carried over, and a number standing apart as the octave.
        ("[c#1 d&& h0 b e-1 fis2 sol la 1]", [(0, 61), (F(1, 4), 60), (F(1, 2), 59), (F(3, 4), 59), (1, 40),
                                             (F(5, 4), 78), (F(3, 2), 79), (F(7, 4), 69)]),
        # Keys beyond MIDI's sound in the nearest octave it holds.
        ("[c7 a c-6]", [(0, 120), (F(1, 4), 117), (F(1, 2), 0)]),
        # A chord lasts as long as its longest note; rests and empty events only take time; every sequence
        # starts at 0.
        ("{[{c, e/2} _/4 g], [empty/2 a0]}", [(0, 60), (0, 64), (F(3, 4), 67), (F(1, 2), 57)]),
        # Ties strike the same key once, not another key, not across a rest.
        ("[\\tie(c d) \\tie(e e e) \\tie(f _ f)]", [(0, 60), (F(1, 4), 62), (F(1, 2), 64), (F(5, 4), 65),
                                                    (F(7, 4), 65)]),
        ("[\\tie({g, e} {g, a}) c]", [(0, 64), (0, 67), (F(1, 4), 69), (F(1, 2), 60)]),
        # Overlapping begin/end pairs chain a tie over several notes; ends inside a chord close after it.
        ("[\\tieBegin h \\tieBegin h \\tieEnd \\tieBegin h \\tieEnd h \\tieEnd h]", [(0, 71), (1, 71)]),
        ("[{\\tieBegin:1 g, \\tieBegin:2 c} {g \\tieEnd:1, c \\tieEnd:2} c]", [(0, 60), (0, 67), (F(1, 2), 60)]),
        # A slur over two events ties the keys they share (it is a tie on paper); over more it ties nothing.
        ("[\\slur(d1/8 h0 a d1) \\slurBegin:2 e \\slurBegin:3 e \\slurEnd:2 g g \\slurEnd:3]",
         [(0, 62), (F(1, 8), 59), (F(1, 4), 57), (F(3, 8), 62), (F(1, 2), 64), (F(3, 4), 67), (F(7, 8), 67)]),
        ("[{\\slurBegin a, e} {a \\slurEnd, c} \\sl(g g)]", [(0, 64), (0, 69), (F(1, 4), 60), (F(1, 2), 67)]),
        # Grace notes take no time of the bar: on the beat, a quarter of their value each, the next note after
        # them (after a rest, the note that follows it); other tags, parameters and comments are read over.
        ("% a line\n[\\grace(d/16) c/4 (* a (* nested *) comment *) \\text<\"a>b\", dx=2> (e /8) \\bar f]",
         [(0, 62), (F(1, 64), 60), (F(1, 4), 64), (F(3, 8), 65)]),
        ("[\\grace(d/8 e) _/4 c g]", [(0, 62), (F(1, 32), 64), (F(5, 16), 60), (F(1, 2), 67)]),
    ]

    def test_cases(self):
        for text, expected in self.CASES:
            with self.subTest(text=text):
                self.assertEqual(sorted(notes(text)), sorted(expected))

    def test_counts_the_notes_left_out(self):
        seq = read_gmn("[\\grace(c d) \\tie(e e e)]")[0]
        self.assertEqual((len(seq.notes), seq.continuations, seq.graces), (3, 2, 2))

    def test_refuses_what_it_does_not_know(self):
        for text in ["[c $x]", "[c", "[c {d, e]", "[c x]", "[c] d", "{[c]"]:
            with self.subTest(text=text):
                with self.assertRaises(GmnError):
                    read_gmn(text)


class LilyPondInput(unittest.TestCase):
    VOICES = [
        # GUIDO octave 1 is c'; names, accidentals, octaves and durations carried over.
        ("[c#1/8 d&& h0 e&-1 fis2 la a&]", "cis'8 deses'8 b8 es,8 fis''8 a''8 as''8"),
        ("[c1*3/8 d/4. e.. f/2 g*5/8 _/4 empty]", "c'4. d'4. e'4.. f'2 g'1*5/8 r4 s4"),
        # A chord lasts as long as its longest member; tuplet notes are grouped until they fill a plain value.
        ("[{c, e/2} a0/12 h c1 {d/6, f} e g]", "<c' e'>2 \\tuplet 3/2 { a8 b8 c'8 } \\tuplet 3/2 { <d' f'>4 e'4 g'4 }"),
        # Ties join only the same key; chained begin/end pairs tie every bar; a slur end without id closes the
        # latest, and slurs that overlap are numbered; nested beams keep the outer one.
        ("[\\tie(c d d) \\tieBegin e \\tieBegin e \\tieEnd e \\tieEnd]", "c'4 d'4~ d'4 e'4~ e'4~ e'4"),
        ("[\\slurBegin c \\slurBegin d e \\slurEnd f \\slurEnd \\sl<\"down\">(g a)]",
         "c'4( d'4\\=2( e'4\\=2) f'4) g'4_( a'4)"),
        ("[\\beam(c/8 \\beam(d e) f) \\grace(g/16) a/4 \\fermata(h)]",
         "c'8[ d'8 e'8 f'8] \\grace { g'16 } a'4 b'4\\fermata"),
    ]

    def test_voices(self):
        for text, expected in self.VOICES:
            with self.subTest(text=text):
                self.assertEqual(" ".join(read_voices(text)[0].text(None).split()), expected)

    def test_staves_and_what_rules_them(self):
        text = ('{[\\clef<"f"> \\key<-2> \\meter<"3/4"> c0/4 | d e f], [\\staff<1> _/4 | g0/2 \\staff<2> a/4],'
                '[\\clef<"c3"> \\key<"e"> c/4 | {d, \\staff<2> f} e f]}')
        out = lilypond(text)
        self.assertEqual(out.count("\\new Staff"), 3)
        for part in ["\\clef bass \\key bes \\major \\time 3/4 \\partial 4 c4", "\\voiceTwo",
                     '\\change Staff = "s2"', "\\clef alto \\key e \\minor", "s1*1/4 f'4"]:
            self.assertIn(part, out)


def smf(division, *tracks):
    head = b"MThd" + (6).to_bytes(4, "big") + (1).to_bytes(2, "big") + len(tracks).to_bytes(2, "big")
    body = b"".join(b"MTrk" + len(t).to_bytes(4, "big") + t for t in tracks)
    return head + division.to_bytes(2, "big") + body


class MidiNotes(unittest.TestCase):
    def test_reads_onsets_of_struck_notes_in_every_track(self):
        conductor = bytes([0, 0xFF, 0x51, 3, 7, 0xA1, 0x20, 0, 0xFF, 0x2F, 0])
        # On 60; 96 ticks later (81 60 = 224) on 64 at velocity 0 by running status, which is an off; a
        # system-exclusive message; then on 67, off 60 and the end.
        voice = bytes([0, 0x90, 60, 64, 0x81, 0x60, 64, 0, 0, 0xF0, 2, 1, 0xF7, 0, 0x91, 67, 80,
                       0x60, 0x80, 60, 64, 0, 0xFF, 0x2F, 0])
        heard, division = read_midi(smf(56, conductor, voice))
        self.assertEqual(division, 56)
        self.assertEqual(heard, [(0, 60), (F(224, 224), 67)])

    def test_refuses_damaged_files(self):
        good = smf(96, bytes([0, 0x90, 60, 64, 0, 0xFF, 0x2F, 0]))
        for damaged in [good[:-3], b"RIFF" + good[4:], good[:12] + b"\x80\x00" + good[14:],
                        smf(96, bytes([0, 60, 64]))]:
            with self.subTest(data=damaged):
                with self.assertRaises(MidiError):
                    read_midi(damaged)


class Comparison(unittest.TestCase):
    def test_pairs_notes_of_one_key_within_a_tick(self):
        expected = [(F(1, 12), 60), (F(1, 12), 60), (0, 62)]
        heard = [(F(85, 1024), 60), (F(87, 1024), 60), (0, 64)]
        right, missing, extra = compare(expected, heard, 256)
        self.assertEqual(right, 1)
        self.assertEqual(missing, [(0, 62), (F(1, 12), 60)])
        self.assertEqual(extra, [(0, 64), (F(87, 1024), 60)])


if __name__ == "__main__":
    unittest.main()
