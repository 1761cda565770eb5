#!/usr/bin/env python3
"""The notes a GUIDO (.gmn) file writes, read without the editor: each struck note as its onset in whole notes
from the start of its sequence and its MIDI key (c1 is 60). A note that continues a tie is not struck again.

Only what decides onsets and keys is read: notes, rests, chords, durations with dots and their carrying over,
octaves, accidentals, ties (\\tie(...), \\tieBegin / \\tieEnd, with or without ids), grace notes. Every other tag is read
over, its range walked as plain music.

A slur that joins two neighbouring events is printed as a tie wherever they share a key (on paper a curve from a
note to the next note of its pitch is a tie), and is read as one there.

Grace notes take no time of the bar. They are heard as appoggiaturas: on the beat, each for a quarter of its
written value, the note they ornament coming in after them (a rest between lets the delay run on to the next
note)."""

import sys
from dataclasses import dataclass, field
from fractions import Fraction


class GmnError(Exception):
    """The text is outside the notation this reader knows."""


PITCH_CLASSES = {
    "c": 0, "d": 2, "e": 4, "f": 5, "g": 7, "a": 9, "h": 11, "b": 11,
    "cis": 1, "dis": 3, "fis": 6, "gis": 8, "ais": 10,
    "do": 0, "re": 2, "mi": 4, "fa": 5, "sol": 7, "la": 9, "si": 11, "ti": 11,
}
EMPTY = "empty"  # an invisible event that only takes its duration
NAMES = sorted(list(PITCH_CLASSES) + [EMPTY], key=len, reverse=True)  # longest first: "fis" before "f"


@dataclass
class Tag:
    name: str
    tag_id: str | None
    parameters: str | None = None  # the text between < and >, for readers that need it


@dataclass
class Event:
    """A note, a rest (rest=True), an empty event (no name) as read, before durations are carried over."""
    name: str | None
    accidental: int = 0
    octave: int | None = None
    duration: Fraction | None = None
    dots: int | None = None
    rest: bool = False


def tokens(text):
    """Punctuation as itself, Tag and Event objects; comments and whitespace dropped."""
    i, n = 0, len(text)
    while i < n:
        c = text[i]
        if c.isspace():
            i += 1
        elif c == "%":
            end = text.find("\n", i)
            i = n if end < 0 else end + 1
        elif text.startswith("(*", i):
            i = skip_comment(text, i)
        elif c in "{}[](),|":
            yield c
            i += 1
        elif c == "\\":
            tag, i = read_tag(text, i + 1)
            yield tag
        elif c == "_":
            event = Event(None, rest=True)
            i = read_duration(text, i + 1, event)
            yield event
        elif c.isalpha():
            event, i = read_note(text, i)
            yield event
        else:
            raise GmnError(f"unexpected {c!r} at offset {i}")


def skip_comment(text, i):
    depth = 0
    while i < len(text):
        if text.startswith("(*", i):
            depth += 1
            i += 2
        elif text.startswith("*)", i):
            depth -= 1
            i += 2
            if depth == 0:
                return i
        else:
            i += 1
    raise GmnError("comment not closed")


def read_tag(text, i):
    start = i
    while i < len(text) and (text[i].isalnum() or text[i] == "_"):
        i += 1
    name = text[start:i]
    if not name:
        raise GmnError(f"tag without a name at offset {start}")
    tag_id = None
    if i < len(text) and text[i] == ":":
        j = i + 1
        while j < len(text) and text[j].isdigit():
            j += 1
        tag_id, i = text[i + 1:j], j
    j = i
    while j < len(text) and text[j].isspace():
        j += 1
    parameters = None
    if j < len(text) and text[j] == "<":
        i = skip_parameters(text, j)
        parameters = text[j + 1:i - 1]
    return Tag(name, tag_id, parameters), i


def skip_parameters(text, i):
    quoted = False
    for j in range(i + 1, len(text)):
        if text[j] == '"':
            quoted = not quoted
        elif text[j] == ">" and not quoted:
            return j + 1
    raise GmnError("tag parameters not closed")


def read_note(text, i):
    name = next((m for m in NAMES if text.startswith(m, i)), None)
    if name is None:
        raise GmnError(f"unknown note name at offset {i}")
    event = Event(name)
    i += len(name)
    while i < len(text) and text[i] in "#&":
        event.accidental += 1 if text[i] == "#" else -1
        i += 1
    # A number standing apart can only be the note's octave.
    j = i
    while j < len(text) and text[j].isspace():
        j += 1
    signed = j < len(text) and text[j] in "+-"
    if j + signed < len(text) and text[j + signed].isdigit():
        i = j
    j = i + 1 if i < len(text) and text[i] in "+-" else i
    k = j
    while k < len(text) and text[k].isdigit():
        k += 1
    if k > j:
        event.octave = int(text[i:k])
        i = k
    return event, read_duration(text, i, event)


def read_number(text, i):
    j = i
    while j < len(text) and text[j].isdigit():
        j += 1
    if j == i:
        raise GmnError(f"number expected at offset {i}")
    return int(text[i:j]), j


def read_duration(text, i, event):
    """*n/d, *n or /d, then dots; the duration may stand apart from its note."""
    j = i
    while j < len(text) and text[j].isspace():
        j += 1
    if j < len(text) and text[j] in "*/":
        i = j
    if i < len(text) and text[i] in "*/":
        num = 1
        if text[i] == "*":
            num, i = read_number(text, i + 1)
        den = 1
        if i < len(text) and text[i] == "/":
            den, i = read_number(text, i + 1)
        if den == 0:
            raise GmnError("duration with a zero denominator")
        event.duration = Fraction(num, den)
    dots = 0
    while i < len(text) and text[i] == ".":
        dots += 1
        i += 1
    if dots or event.duration is not None:
        event.dots = dots
    return i


class Stream:
    """The tokens with one token of look-ahead."""

    def __init__(self, text):
        self.tokens = tokens(text)
        self.ahead = []

    def next(self):
        if self.ahead:
            return self.ahead.pop()
        return next(self.tokens, None)

    def peek(self):
        if not self.ahead:
            self.ahead.append(next(self.tokens, None))
        return self.ahead[-1]


@dataclass
class TieRange:
    tag_id: str | None
    bracketed: bool = False             # \tie(...), closed by its ")"; else \tieBegin, closed by \tieEnd
    last_keys: frozenset | None = None  # keys of the range's previous event: the ones a same key continues


@dataclass
class SlurRange:
    tag_id: str | None
    bracketed: bool = False  # \\slur(...), closed by its ")"; else \\slurBegin, closed by \\slurEnd
    events: list = field(default_factory=list)  # (onset, keys) of the events under it, up to three


@dataclass
class Sequence:
    notes: list = field(default_factory=list)  # (onset, key) of every struck note
    continuations: int = 0                     # tied notes not struck again
    graces: int = 0                            # grace notes among the notes


def chord_tokens(stream):
    """The events and tags of a chord, up to its "}": separators and the brackets of tag ranges are checked and
    left out."""
    depth = 0
    while (token := stream.next()) != "}":
        if token is None:
            raise GmnError("chord not closed")
        if isinstance(token, (Event, Tag)):
            yield token
        elif token in ("(", ")"):
            depth += 1 if token == "(" else -1
        elif token not in (",", "|"):
            raise GmnError(f"unexpected {token!r} in a chord")
    if depth != 0:
        raise GmnError("unbalanced range in a chord")


class SequenceReader:
    """One sequence: durations and octaves carried over, ties followed, chords at one onset."""

    def __init__(self, stream):
        self.stream = stream
        self.time = Fraction(0)
        self.octave = 1
        self.base = Fraction(1, 4)
        self.dots = 0
        self.ties = []          # open tie ranges, oldest first
        self.slurs = []         # open slur ranges, oldest first
        self.ranges = []        # what each open "(" closes: a TieRange, a SlurRange, "grace" or None
        self.grace = 0
        self.delay = Fraction(0)  # what grace notes have taken from the time, until a note gives it back
        self.out = Sequence()

    def read(self):
        while (token := self.stream.next()) is not None:
            if token == "]":
                return self.out
            self.item(token)
        raise GmnError("sequence not closed")

    def item(self, token):
        if isinstance(token, Tag):
            self.tag(token)
        elif isinstance(token, Event):
            self.event([self.member(token)])
        elif token == "{":
            self.chord()
        elif token == ")":
            self.close_range()
        elif token == "(":
            self.ranges.append(None)
        elif token in (",", "|"):
            pass
        else:
            raise GmnError(f"unexpected {token!r} in a sequence")

    def tag(self, tag):
        name = tag.name
        if name == "tieBegin":
            self.ties.append(TieRange(tag.tag_id))
        elif name == "tieEnd":
            self.end_tie(tag.tag_id)
        elif name == "slurBegin":
            self.slurs.append(SlurRange(tag.tag_id))
        elif name == "slurEnd":
            self.end_slur(tag.tag_id)
        if self.stream.peek() != "(":
            return
        self.stream.next()
        if name == "tie":
            tie = TieRange(None, bracketed=True)
            self.ties.append(tie)
            self.ranges.append(tie)
        elif name in ("slur", "sl"):
            slur = SlurRange(None, bracketed=True)
            self.slurs.append(slur)
            self.ranges.append(slur)
        elif name == "grace":
            self.grace += 1
            self.ranges.append("grace")
        else:
            self.ranges.append(None)

    def end_tie(self, tag_id):
        # An end without id closes the oldest begin without id: converters write a chain of tied bars as
        # overlapping begin/end pairs.
        for k, tie in enumerate(self.ties):
            if tie.tag_id == tag_id and not tie.bracketed:
                del self.ties[k]
                return

    def end_slur(self, tag_id):
        # An end closes the latest begin with its id, or the latest begin when none has it: slurs nest.
        begun = [slur for slur in self.slurs if not slur.bracketed]
        match = next((slur for slur in reversed(begun) if tag_id is not None and slur.tag_id == tag_id), None)
        if match is None and begun:
            match = begun[-1]
        if match is not None:
            self.close_slur(match)

    def close_slur(self, slur):
        self.slurs.remove(slur)
        if len(slur.events) != 2:
            return
        (_, before), (onset, after) = slur.events
        for key in before & after:
            if (onset, key) in self.out.notes:
                self.out.notes.remove((onset, key))
                self.out.continuations += 1

    def close_range(self):
        if not self.ranges:
            raise GmnError("unbalanced )")
        closed = self.ranges.pop()
        if isinstance(closed, TieRange):
            self.ties.remove(closed)
        elif isinstance(closed, SlurRange):
            self.close_slur(closed)
        elif closed == "grace":
            self.grace -= 1

    def member(self, event):
        """The event's duration and key once octave and duration are carried over: (duration, key or None)."""
        if event.octave is not None:
            self.octave = event.octave
        if event.duration is not None:
            self.base, self.dots = event.duration, event.dots or 0
        elif event.dots is not None:
            self.dots = event.dots
        duration = self.base * (2 - Fraction(1, 2 ** self.dots))
        if event.rest or event.name == EMPTY:
            return duration, None
        key = 12 * (self.octave + 4) + PITCH_CLASSES[event.name] + event.accidental
        # MIDI holds keys 0 to 127: a note beyond them sounds in the nearest octave inside.
        while key > 127:
            key -= 12
        while key < 0:
            key += 12
        return duration, key

    def chord(self):
        """Tags inside a chord only matter when they begin or end a tie or a slur; its ends count once it is
        complete."""
        members, ends = [], []
        for token in chord_tokens(self.stream):
            if isinstance(token, Event):
                members.append(self.member(token))
            elif token.name == "tieBegin":
                self.ties.append(TieRange(token.tag_id))
            elif token.name == "slurBegin":
                self.slurs.append(SlurRange(token.tag_id))
            elif token.name in ("tieEnd", "slurEnd"):
                ends.append(token)
        if members:
            self.event(members)
        for end in ends:
            (self.end_tie if end.name == "tieEnd" else self.end_slur)(end.tag_id)

    def event(self, members):
        """Members: (duration, key or None) heard at one onset; the event lasts as long as its longest member."""
        keys = frozenset(key for _, key in members if key is not None)
        continued = set()
        for tie in self.ties:
            if tie.last_keys is not None:
                continued |= keys & tie.last_keys
            tie.last_keys = keys
        self.out.continuations += len(continued)
        struck = sorted(keys - continued)
        onset = self.time + self.delay
        self.out.notes += [(onset, key) for key in struck]
        for slur in self.slurs:
            if len(slur.events) < 3:
                slur.events.append((onset, keys))
        length = max(duration for duration, _ in members)
        if self.grace:
            self.out.graces += len(struck)
            self.delay += length / 4
            return
        if keys:
            self.delay = Fraction(0)
        self.time += length


def read_gmn(text):
    """The sequences of a GUIDO text, in order."""
    stream = Stream(text)
    first = stream.next()
    if first is None:
        return []
    if first == "[":
        sequences = [SequenceReader(stream).read()]
    elif first == "{":
        sequences = []
        while (token := stream.next()) != "}":
            if token == "[":
                sequences.append(SequenceReader(stream).read())
            elif token != ",":
                raise GmnError(f"unexpected {token!r} between sequences")
    else:
        raise GmnError(f"a piece starts with {{ or [, not {first!r}")
    if (extra := stream.next()) is not None:
        raise GmnError(f"unexpected {extra!r} after the piece")
    return sequences


def read_gmn_file(path):
    data = open(path, "rb").read()
    try:
        text = data.decode("utf-8")
    except UnicodeDecodeError:
        text = data.decode("latin-1")
    return read_gmn(text)


def main(argv):
    for path in argv[1:]:
        for number, seq in enumerate(read_gmn_file(path), 1):
            print(f"{path} sequence {number}: {len(seq.notes)} notes struck, {seq.continuations} tied on, "
                  f"{seq.graces} grace notes")
            for onset, key in seq.notes:
                print(f"  {onset} {key}")


if __name__ == "__main__":
    main(sys.argv)
