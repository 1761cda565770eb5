#!/usr/bin/env python3
"""The notes a Standard MIDI File strikes, read without the editor: each note-on of velocity above 0 as its
onset in whole notes (ticks from the start of its track over four times the division) and its key."""

import sys
from fractions import Fraction


class MidiError(Exception):
    """The file is not a Standard MIDI File this reader can follow."""


def variable_length(data, i):
    value = 0
    for _ in range(4):
        if i >= len(data):
            raise MidiError("variable-length number cut short")
        byte = data[i]
        i += 1
        value = (value << 7) | (byte & 0x7F)
        if byte < 0x80:
            return value, i
    raise MidiError("variable-length number longer than four bytes")


def chunks(data):
    i = 0
    while i + 8 <= len(data):
        kind, length = data[i:i + 4], int.from_bytes(data[i + 4:i + 8], "big")
        if i + 8 + length > len(data):
            raise MidiError(f"{kind!r} chunk runs past the end of the file")
        yield kind, data[i + 8:i + 8 + length]
        i += 8 + length
    if i != len(data):
        raise MidiError("bytes left after the last chunk")


# Data bytes of each channel message, by its high nibble.
DATA_BYTES = {0x80: 2, 0x90: 2, 0xA0: 2, 0xB0: 2, 0xC0: 1, 0xD0: 1, 0xE0: 2}


def track_notes(track):
    """(tick, key) of each note-on of velocity above 0, running status followed."""
    notes, tick, status, i = [], 0, None, 0
    while i < len(track):
        delta, i = variable_length(track, i)
        tick += delta
        if i >= len(track):
            raise MidiError("event cut short")
        if track[i] >= 0x80:
            status = track[i]
            i += 1
        elif status is None or status >= 0xF0:
            raise MidiError("running status without a status")
        if status == 0xFF:
            i += 1  # the meta type
            length, i = variable_length(track, i)
            i += length
        elif status in (0xF0, 0xF7):
            length, i = variable_length(track, i)
            i += length
        else:
            count = DATA_BYTES.get(status & 0xF0)
            if count is None or i + count > len(track):
                raise MidiError("channel event cut short")
            if status & 0xF0 == 0x90 and track[i + 1] > 0:
                notes.append((tick, track[i]))
            i += count
    return notes


def read_midi(data):
    """Every struck note of every track as (onset in whole notes, key), in track order."""
    parts = list(chunks(data))
    if not parts or parts[0][0] != b"MThd" or len(parts[0][1]) < 6:
        raise MidiError("no header chunk")
    division = int.from_bytes(parts[0][1][4:6], "big")
    if division == 0 or division & 0x8000:
        raise MidiError("only divisions in ticks per quarter note are read")
    notes = []
    for kind, track in parts[1:]:
        if kind == b"MTrk":
            notes += [(Fraction(tick, 4 * division), key) for tick, key in track_notes(track)]
    return notes, division


def read_midi_file(path):
    with open(path, "rb") as f:
        return read_midi(f.read())


if __name__ == "__main__":
    for name in sys.argv[1:]:
        for onset, key in read_midi_file(name)[0]:
            print(onset, key)
