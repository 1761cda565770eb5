// Creating notes, rests and signs on the current staff of the open document: where a new element goes in the
// staff's order, and how its words are filled from the insertion state.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "score/records.h"
#include "score/score_document.h"

namespace notavera {

// A note name (1 C … 7 B) and the octave it lands in.
struct NotePitch {
    unsigned step = 0;
    unsigned octave = 0;
};

// The pitch rule of note keys and pitched signs: names 1–7 stay in the given octave; 0 is B an octave lower
// (the octave stays 0 at 0); 8 and 9 are C and D an octave higher (the octave stays 7 at 7). Other names
// have no pitch.
std::optional<NotePitch> ApplyPitchRule(unsigned noteName, unsigned octave);

// Inserts e on the current staff next to the current element, by the staff's ordering rule, makes it the
// current element and marks the document modified. Returns its index, or −1 when there is no current staff.
int PlaceNewElement(ScoreDocument& doc, ElementRecord e);

// A note (or rest) at x on the current staff with the insertion attributes. Its name goes through the pitch
// rule; a rest is stored at the height that draws it in the middle of the staff under the clef in force at x
// (whatever the insertion octave). Without a forced accidental the note takes the accidental
// of its key or of an earlier note of its bar, hidden. The one-shot word0 bits of the insertion state (a slur or
// group that starts on this note) go to it and are then cleared; a rest leaves a slur's to the next note. Returns
// the element (valid until the next insertion), or nullptr when there is no current staff or the note name is not
// 0–9. Work that writes a long staff and knows the clef value in force at x passes it, so that a rest does not read
// the whole staff to find it.
ElementRecord* CreateNoteOrRest(ScoreDocument& doc, int x, bool rest, unsigned noteName,
                                std::optional<int> clefValue = std::nullopt);

// A sign at x on the current staff. For free accidentals, dots and parentheses `code` is a note name that
// goes through the pitch rule; a key change's code is its count of sharps or flats. Text, drawing, curve and
// picture signs get an ElementBlob holding blobPayload. A time signature takes the insertion time signature
// (each number at most 255), which then returns to 1/1. A bar line, time signature or clef is not made when
// the current element is a sign of that type at the same x. Returns the element (valid until the next
// insertion), or nullptr when nothing was made (also without a current staff, or for a code the sign cannot
// hold).
ElementRecord* CreateSign(ScoreDocument& doc, int x, int param, int code, SignType type, unsigned subValue,
                          std::span<const std::uint8_t> blobPayload = {});

// An opening or closing parenthesis at the height of note name `code` (through the pitch rule). The side is
// known before placing because an opening parenthesis stays in front of what it encloses.
ElementRecord* CreateParenthesis(ScoreDocument& doc, int x, int code, bool opening);

}  // namespace notavera
