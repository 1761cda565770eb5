#!/usr/bin/env python3
"""LilyPond input for a GUIDO (.gmn) piece, so that the editor's pages can be set beside LilyPond's engraving of
the same music: python3 gmn_to_ly.py PIECE.gmn > PIECE.ly

The text is read with gmn_notes' tokenizer and its carrying over of octaves and durations. Written:
- sequences as voices; sequences that name one staff (\\staff<k>) share it as voices one, two, three; a \\staff
  tag met later moves the voice to that staff (cross-staff notes), one inside a chord sends its following members
  to that staff as a voice of their own;
- notes (names, # and &, octaves: GUIDO octave 1 is LilyPond's c'), rests, empty events as spacers, chords,
  durations with dots, tuplet durations (*1/12...) grouped under \\tuplet until they fill a plain duration;
- \\clef, \\key (a number of sharps or a key name), \\meter, a first bar earlier than a measure as a pickup,
  \\bar and | as bar checks, \\repeatBegin/\\repeatEnd and \\volta as repeat commands, \\newSystem, \\newPage;
- ties (\\tie(...), \\tieBegin/\\tieEnd), slurs (\\slur(...), \\sl(...), \\slurBegin/\\slurEnd, overlapping
  ones numbered, up/down), beams (\\beam(...), \\bm(...)), grace notes (\\grace(...)), stem directions,
  \\fermata, \\stacc, \\accent, \\ten, \\mord, \\trill, \\arpeggio, \\acc (a shown accidental), dynamics
  (\\intens, \\i) and \\crescBegin/\\crescEnd, \\dimBegin/\\dimEnd, \\title, \\composer, \\instr.

Left out: a slur or tie that begins in one sequence and ends in another (LilyPond keeps them in one voice), tag
positions and offsets (dx, dy), page and system formats (the page is A4 at a staff size near the editor's),
\\space, texts, lyrics, tempo marks, and every tag not listed. LilyPond beams notes no beam tag groups, by beat."""

import re
import sys
from dataclasses import dataclass, field
from fractions import Fraction

import pathlib

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
from gmn_notes import EMPTY, PITCH_CLASSES, Event, GmnError, SequenceReader, Stream, Tag, chord_tokens  # noqa: E402

LETTERS = {"c": "c", "d": "d", "e": "e", "f": "f", "g": "g", "a": "a", "h": "b", "b": "b",
           "do": "c", "re": "d", "mi": "e", "fa": "f", "sol": "g", "la": "a", "si": "b", "ti": "b"}
CLEFS = {"g": "treble", "g2": "treble", "g1": "french", "f": "bass", "f4": "bass", "f3": "varbaritone",
         "f5": "subbass", "c": "alto", "c3": "alto", "c1": "soprano", "c2": "mezzosoprano", "c4": "tenor",
         "c5": "baritone", "perc": "percussion", "treble": "treble", "bass": "bass", "alto": "alto",
         "tenor": "tenor"}
MAJOR_KEYS = ["ces", "ges", "des", "as", "es", "bes", "f", "c", "g", "d", "a", "e", "b", "fis", "cis"]
MARKS = {"fermata": "\\fermata", "stacc": "-.", "accent": "->", "ten": "--", "marcato": "-^",
         "trill": "\\trill", "turn": "\\turn", "arpeggio": "\\arpeggio"}
DYNAMICS = {"ppp", "pp", "p", "mp", "mf", "f", "ff", "fff", "sf", "sfz", "fp", "rfz"}
HAIRPINS = {"crescBegin": "\\<", "dimBegin": "\\>", "crescEnd": "\\!", "dimEnd": "\\!"}


def parameters(tag):
    """The positional values and the named values of a tag's parameters, without their quotes."""
    positional, named = [], {}
    items, current, quoted = [], "", False
    for c in tag.parameters or "":
        if c == '"':
            quoted = not quoted
        if c == "," and not quoted:
            items.append(current)
            current = ""
        else:
            current += c
    items.append(current)
    for item in (i.strip() for i in items):
        name, equals, value = item.partition("=")
        if equals and '"' not in name:
            named[name.strip()] = value.strip().strip('"')
        elif item:
            positional.append(item.strip('"'))
    return positional, named


def pitch(name, accidental, octave):
    letter = LETTERS.get(name) or name[0]
    alter = accidental + (1 if name.endswith("is") else 0)
    suffix = "is" * alter if alter > 0 else "es" * -alter
    if alter < 0 and letter in "ae":
        suffix = suffix[1:]  # as, es: not aes, ees
    return letter + suffix + ("'" * octave if octave > 0 else "," * -octave)


def is_power_of_two(n):
    return n > 0 and n & (n - 1) == 0


def plain_duration(d):
    """A dyadic duration as a LilyPond note value with dots, or as a scaled whole."""
    for dots in range(4):
        base = d / (2 - Fraction(1, 2 ** dots))
        if base.numerator == 1 and is_power_of_two(base.denominator):
            return str(base.denominator) + "." * dots
        if base in (2, 4):
            return ("\\breve" if base == 2 else "\\longa") + "." * dots
    return f"1*{d}"


def tuplet_of(d):
    """(q, p, written) when d is a tuplet duration (q notes in the time of p), else None."""
    q = d.denominator
    while q % 2 == 0:
        q //= 2
    if q == 1:
        return None
    p = 1
    while p * 2 < q:
        p *= 2
    return q, p, d * Fraction(q, p)


@dataclass
class Note:
    """One event of a voice: pitches ([] for a rest or a spacer), its length, what LilyPond wants around it."""
    pitches: list
    duration: Fraction
    kind: str = "note"  # note, rest or space
    keys: frozenset = frozenset()
    grace: bool = False
    before: list = field(default_factory=list)
    after: list = field(default_factory=list)
    tied: bool = False
    closing: str = ""


@dataclass
class Span:
    """A slur, beam, tie, grace or volta range: the notes it reaches."""
    kind: str
    tag_id: str | None = None
    bracketed: bool = False
    first: Note | None = None
    last: Note | None = None
    direction: str = ""
    text: str = ""


class VoiceWriter:
    """One sequence, as the notes of a LilyPond voice."""

    def __init__(self, stream, staff):
        self.stream = stream
        self.carry = SequenceReader(None)  # carries octaves, durations and dots over as the notes reader does
        self.notes = []
        self.home = self.staff = staff
        self.reached = set()     # staves the voice moves to, or sends chord members to
        self.time = Fraction(0)
        self.pending = []        # commands for the next note
        self.pending_after = []  # dynamics for the next note
        self.repeats = []        # repeat commands for the next moment
        self.ranges = []         # what each open "(" closes
        self.open = []           # open spans of every kind
        self.spans = []          # closed slurs and beams
        self.marks = []          # articulations of the open ranges
        self.forced = 0          # open \acc ranges
        self.grace = 0
        self.borrowed = []       # (staff, time, note) for chord members sent to another staff
        self.first_bar = None
        self.measure = None
        self.info = {}

    def read(self):
        while (token := self.stream.next()) is not None:
            if token == "]":
                self.finish()
                return self
            self.item(token)
        raise GmnError("sequence not closed")

    def item(self, token):
        if isinstance(token, Tag):
            self.tag(token)
        elif isinstance(token, Event):
            self.event([token], [])
        elif token == "{":
            self.chord()
        elif token == "(":
            self.ranges.append(None)
        elif token == ")":
            self.close_range()
        elif token == "|":
            self.bar()
        elif token != ",":
            raise GmnError(f"unexpected {token!r} in a sequence")

    def bar(self):
        if self.first_bar is None:
            self.first_bar = self.time
        self.pending.append("|")

    def tag(self, tag):
        name = tag.name
        positional, named = parameters(tag)
        value = positional[0] if positional else ""
        if name == "clef":
            self.pending.append(clef(value))
        elif name == "key":
            self.pending.append(key(value))
        elif name == "meter":
            self.meter(value)
        elif name == "bar":
            self.bar()
        elif name == "staff":
            number = int(named.get("id", value) or self.home)
            if not self.notes:
                self.home = number
            elif number != self.staff:
                self.pending.append(f'\\change Staff = "s{number}"')
            self.staff = number
            self.reached.add(number)
        elif name in ("stemsUp", "stemsDown", "stemsAuto"):
            self.pending.append({"stemsUp": "\\stemUp", "stemsDown": "\\stemDown"}.get(name, "\\stemNeutral"))
        elif name in ("newSystem", "newPage"):
            self.pending.append("\\break" if name == "newSystem" else "\\pageBreak")
        elif name in ("intens", "i") and value in DYNAMICS:
            self.pending_after.append("\\" + value)
        elif name in HAIRPINS:
            self.pending_after.append(HAIRPINS[name])
        elif name in ("repeatBegin", "repeatEnd"):
            self.repeats.append("start-repeat" if name == "repeatBegin" else "end-repeat")
        elif name in ("title", "composer", "instr") and value:
            self.info.setdefault(name, value)
        elif name in ("tieBegin", "slurBegin"):
            self.open.append(Span(name.removesuffix("Begin"), tag.tag_id, direction=direction(positional, named)))
        elif name in ("tieEnd", "slurEnd"):
            self.end(name.removesuffix("End"), tag.tag_id)
        if self.stream.peek() == "(":
            self.stream.next()
            self.open_range(name, positional, named)

    def meter(self, value):
        if value in ("C", "c"):
            value, text = "4/4", "\\time 4/4"
        elif value in ("C/", "c/"):
            value, text = "2/2", "\\time 2/2"
        elif re.fullmatch(r"\d+/\d+", value):
            text = ("\\numericTimeSignature " if value in ("4/4", "2/2") else "") + "\\time " + value
        else:
            return
        if self.measure is None:
            self.measure = Fraction(value)
        self.pending.append(text)

    def open_range(self, name, positional, named):
        span = None
        if name == "tie":
            span = Span("tie", bracketed=True)
        elif name in ("slur", "sl"):
            span = Span("slur", bracketed=True, direction=direction(positional, named))
        elif name in ("beam", "bm"):
            span = Span("beam", bracketed=True)
        elif name == "grace":
            self.grace += 1
            span = Span("grace", bracketed=True)
        elif name == "volta":
            self.repeats.append(f'(volta "{positional[-1]}")' if positional else '(volta "")')
            span = Span("volta", bracketed=True)
        elif name == "acc":
            self.forced += 1
            span = Span("acc", bracketed=True)
        elif name in MARKS or name == "mord":
            mark = MARKS.get(name) or ("\\prall" if named.get("type") == "inverted" else "\\mordent")
            if named.get("position") == "below":
                mark = "_" + mark
            span = Span("mark", bracketed=True, text=mark)
            self.marks.append(span)
        if span is not None and span.kind not in ("mark", "volta", "acc"):
            self.open.append(span)
        self.ranges.append(span)

    def close_range(self):
        if not self.ranges:
            raise GmnError("unbalanced )")
        span = self.ranges.pop()
        if span is None:
            return
        if span.kind == "grace":
            self.grace -= 1
            if span.first is not None:
                span.first.before.append("\\grace {")
                span.last.closing += " }"
        elif span.kind == "volta":
            self.repeats.append("(volta #f)")
        elif span.kind == "acc":
            self.forced -= 1
        elif span.kind == "mark":
            self.marks.remove(span)
        if span in self.open:
            self.open.remove(span)
            self.spans.append(span)

    def end(self, kind, tag_id):
        """A tie end closes the oldest begin with its id (converters chain tied bars as overlapping pairs); a
        slur end the latest with its id, or the latest."""
        begun = [s for s in self.open if s.kind == kind and not s.bracketed]
        if kind == "tie":
            match = next((s for s in begun if s.tag_id == tag_id), None)
        else:
            match = next((s for s in reversed(begun) if tag_id is not None and s.tag_id == tag_id), None)
            match = match or (begun[-1] if begun else None)
        if match is not None:
            self.open.remove(match)
            self.spans.append(match)

    def chord(self):
        members, ends = [], []
        staff = self.staff
        for token in chord_tokens(self.stream):
            if isinstance(token, Event):
                members.append((token, staff))
            elif token.name in ("tieBegin", "slurBegin"):
                self.open.append(Span(token.name.removesuffix("Begin"), token.tag_id))
            elif token.name in ("tieEnd", "slurEnd"):
                ends.append(token)
            elif token.name == "staff":
                positional, named = parameters(token)
                staff = int(named.get("id", positional[0] if positional else staff))
            elif token.name in MARKS and self.stream.peek() != "(":
                self.pending_after.append(MARKS[token.name])
        here = [event for event, at in members if at == self.staff]
        away = [(event, at) for event, at in members if at != self.staff]
        time = self.time
        note = self.event(here, away)
        for end in ends:
            self.end(end.name.removesuffix("End"), end.tag_id)
        self.reached |= {at for _, at in away}
        for staff in sorted({at for _, at in away}):
            self.borrowed.append((staff, time, Note([p for p, at in note.away if at == staff], note.duration)))

    def event(self, events, away):
        """Events heard together (a chord when more than one) as one note; members of `away` stand on other
        staves, as (event, staff)."""
        pitches, placed, keys, durations, kind = [], [], set(), [], "note"
        for event, at in [(e, self.staff) for e in events] + away:
            duration, _ = self.carry.member(event)
            durations.append(duration)
            if event.rest or event.name == EMPTY:
                kind = "rest" if event.rest else "space"
                continue
            text = pitch(event.name, event.accidental, self.carry.octave) + ("!" if self.forced else "")
            if at == self.staff:
                pitches.append(text)
                keys.add(12 * self.carry.octave + PITCH_CLASSES[event.name] + event.accidental)
            else:
                placed.append((text, at))
        if pitches:
            kind = "note"
        elif placed:
            kind = "space"
        note = Note(pitches, max(durations), kind, frozenset(keys), self.grace > 0)
        note.away = placed
        self.place(note)
        return note

    def place(self, note):
        if self.repeats:
            self.pending.append("\\set Score.repeatCommands = #'(" + " ".join(self.repeats) + ")")
            self.repeats = []
        note.before, self.pending = self.pending, []
        note.after, self.pending_after = self.pending_after, []
        note.after += [span.text for span in self.marks]
        for span in self.open:
            if span.kind == "tie":
                if span.last is not None and span.last.keys & note.keys and not note.grace:
                    span.last.tied = True
                span.last = note
            else:
                span.first = span.first or note
                span.last = note
        self.notes.append(note)
        if not note.grace:
            self.time += note.duration

    def finish(self):
        if self.repeats and self.notes:
            self.notes[-1].closing += " \\set Score.repeatCommands = #'(" + " ".join(self.repeats) + ")"
        index = {id(note): k for k, note in enumerate(self.notes)}
        slurs = sorted((s for s in self.spans if s.kind == "slur" and s.first is not None and s.first is not s.last),
                       key=lambda s: index[id(s.first)])
        ends = []  # last note index of each slur number in use
        for slur in slurs:
            start, stop = index[id(slur.first)], index[id(slur.last)]
            number = next((k for k, end in enumerate(ends) if end <= start), len(ends))
            ends[number:number + 1] = [stop]
            label = "" if number == 0 else f"\\={number + 1}"
            slur.first.after.append(slur.direction + label + "(")
            slur.last.after.append(label + ")")
        covered = -1
        beams = [s for s in self.spans if s.kind == "beam" and s.first is not None]
        for beam in sorted(beams, key=lambda s: index[id(s.first)]):
            inside = [n for n in self.notes[index[id(beam.first)]:index[id(beam.last)] + 1]
                      if n.kind == "note" and n.duration < Fraction(1, 4)]
            if len(inside) < 2 or index[id(inside[0])] <= covered:
                continue  # LilyPond beams do not nest: the outer beam holds the group
            inside[0].after.append("[")
            inside[-1].after.append("]")
            covered = index[id(inside[-1])]

    def text(self, pickup):
        """The voice's music, one bar a line."""
        out, line, group, filled = [], [], None, Fraction(0)
        for k, note in enumerate(self.notes):
            before = [b for b in note.before if b != "|"]
            if k == 0 and pickup:
                before.append(f"\\partial {plain_duration(pickup)}")
            tuplet = None if note.grace else tuplet_of(note.duration)
            if group is not None and (tuplet is None or tuplet[:2] != group):
                line.append("}")
                group = None
            if "|" in note.before:
                out.append(" ".join(line + ["|"]))
                line = []
            line += before
            if tuplet is not None and group is None:
                group, filled = tuplet[:2], Fraction(0)
                line.append(f"\\tuplet {tuplet[0]}/{tuplet[1]} {{")
            written = tuplet[2] if tuplet else note.duration
            line.append(note_text(note, written) + note.closing)
            if group is not None:
                filled += note.duration
                if tuplet_of(filled) is None:
                    line.append("}")
                    group = None
        if group is not None:
            line.append("}")
        out.append(" ".join(line))
        return "\n      ".join(part for part in out if part)


def note_text(note, written):
    duration = plain_duration(written) if written else "16"
    if note.kind == "rest":
        head = "r"
    elif note.kind == "space":
        head = "s"
    elif len(note.pitches) == 1:
        head = note.pitches[0]
    else:
        head = "<" + " ".join(note.pitches) + ">"
    return head + duration + ("~" if note.tied else "") + "".join(note.after)


def direction(positional, named):
    way = named.get("curve") or (positional[0] if positional else "")
    return {"up": "^", "down": "_"}.get(way, "")


def clef(value):
    m = re.fullmatch(r"([a-z]+\d?)(?:([+-])(\d+))?", value.strip().lower())
    if m is None or m.group(1) not in CLEFS:
        return "\\clef treble"
    name = CLEFS[m.group(1)]
    if m.group(2):
        name = f'"{name}{"_" if m.group(2) == "-" else "^"}{m.group(3)}"'
    return f"\\clef {name}"


def key(value):
    value = value.strip()
    if re.fullmatch(r"[+-]?\d+", value):
        return f"\\key {MAJOR_KEYS[max(-7, min(7, int(value))) + 7]} \\major"
    if not value or value[0].lower() not in LETTERS:
        return ""
    name = pitch(value[0].lower(), value.count("#") - value.count("&"), 0)
    return f"\\key {name} " + ("\\major" if value[0].isupper() else "\\minor")


def read_voices(text):
    stream = Stream(text)
    first = stream.next()
    if first == "[":
        return [VoiceWriter(stream, 1).read()]
    if first != "{":
        raise GmnError(f"a piece starts with {{ or [, not {first!r}")
    voices = []
    while (token := stream.next()) != "}":
        if token == "[":
            voices.append(VoiceWriter(stream, len(voices) + 1).read())
        elif token != ",":
            raise GmnError(f"unexpected {token!r} between sequences")
    return voices


def quoted(value):
    return '"' + value.replace("\\", "\\\\").replace('"', '\\"') + '"'


def lilypond(text, staff_size=23):
    voices = read_voices(text)
    pickup = next((v.first_bar for v in voices if v.first_bar is not None and v.measure is not None), None)
    measure = next((v.measure for v in voices if v.measure is not None), None)
    if pickup is None or measure is None or not 0 < pickup < measure:
        pickup = None
    staves = {}
    for voice in voices:
        staves.setdefault(voice.home, []).append(voice)
    names = [v.info["instr"] for v in voices if "instr" in v.info]
    out = ['\\version "2.24.0"', f"#(set-global-staff-size {staff_size})",
           '\\paper { #(set-paper-size "a4") left-margin = 8\\mm line-width = 191\\mm '
           f"indent = {28 if names else 0}\\mm short-indent = 0\\mm }}"]
    header = {k: v.info[k] for v in reversed(voices) for k in ("title", "composer") if k in v.info}
    out.append("\\header { " + " ".join(f"{k} = {quoted(v)}" for k, v in header.items()) + " tagline = ##f }")
    out.append("\\score {\n  <<")
    for number in sorted(set(staves) | {s for v in voices for s in v.reached}):
        members = staves.get(number, [])
        name = next((v.info["instr"] for v in members if "instr" in v.info), None)
        with_name = f" \\with {{ instrumentName = {quoted(name)} }}" if name else ""
        out.append(f'    \\new Staff = "s{number}"{with_name} <<')
        roles = ["\\voiceOne", "\\voiceTwo", "\\voiceThree", "\\voiceFour"]
        for k, voice in enumerate(members):
            role = roles[k % 4] + " " if len(members) > 1 else ""
            out.append(f'    \\new Voice = "v{voices.index(voice) + 1}" {{ {role}{voice.text(pickup)} }}')
        for voice in voices:
            for staff, time, note in voice.borrowed:
                if staff == number:
                    rest = f"s1*{time} " if time else ""
                    out.append(f"    \\new Voice {{ {rest}{note_text(note, note.duration)} }}")
        out.append("    >>")
    # LilyPond keeps a note whole across a bar line; the completion engravers split it into tied notes, as
    # an engraver would.
    out.append('  >>\n  \\layout { \\context { \\Voice \\remove "Note_heads_engraver" '
               '\\consists "Completion_heads_engraver" \\remove "Rest_engraver" '
               '\\consists "Completion_rest_engraver" } }\n}')
    return "\n".join(out) + "\n"


def main(argv):
    if len(argv) != 2:
        print("usage: gmn_to_ly.py PIECE.gmn > PIECE.ly", file=sys.stderr)
        return 2
    data = open(argv[1], "rb").read()
    try:
        text = data.decode("utf-8")
    except UnicodeDecodeError:
        text = data.decode("latin-1")
    sys.stdout.write(lilypond(text))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
