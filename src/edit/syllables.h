// Lyrics: which note takes the next syllable, a text from the clipboard laid out syllable by syllable with the
// hyphens of its words, and the syllable chain of a verse shifted when a syllable is inserted or removed.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "edit/text_editor.h"

namespace notavera {

struct SyllableRules {
    bool lyrics = true;              // other categories take the next note without the tests
    bool syllableOnMelisma = true;   // only a beam group's first note takes one
    bool syllablePerTiedGroup = true;  // a tie continuation takes none
};

SyllableRules SyllableRulesOf(const TextEditor& ed);

// The index of the next note right of x that takes a syllable; nothing when the staff ends first.
std::optional<int> NextSyllableNoteIndex(const StaffRecord& staff, int x, const SyllableRules& rules);
// Its x, or `staffEnd` when there is none.
int NextSyllableNote(const StaffRecord& staff, int x, const SyllableRules& rules, int staffEnd);
// The x of the nearest note left of x; x itself when there is none.
int PreviousNote(const StaffRecord& staff, int x);

// A syllable of a clipboard text and the separator that ended it: '_' inside a word, '\t' or '\r' at a word's end,
// '\0' at the end of the text.
struct ClipboardSyllable {
    std::string text;
    char separator = '\0';
};
// Cuts at '_', tab and carriage return; a line feed alone also ends a line (texts copied on this system end
// their lines so); line feeds are dropped; empty pieces take no note.
std::vector<ClipboardSyllable> SplitSyllables(std::string_view text);

// The staff that continues a staff's line in the next system of its page; nothing at the page's last system.
std::optional<int> NextStaffOfLine(const PageRecord& page, int staff);

// Lays the syllables out from the editor's x and y on the current staff, going on in the next systems and, past
// the page's last system, on the next page (`nextPage` moves there and returns false at the end of the score,
// where the remaining syllables are dropped). Returns the count of syllables placed.
int InsertSyllables(TextEditor& ed, ScoreDocument& doc, const std::vector<ClipboardSyllable>& syllables,
                    const std::function<bool()>& nextPage);

// Insert while a lyric is edited: the following syllables of the verse take the characters of the one before
// them, the first one taking those from the insertion point on; the last one's characters become a syllable at
// the next free note. False when nothing was to shift (no characters after the insertion point).
bool ShiftSyllablesForward(TextEditor& ed, ScoreDocument& doc);

// Backspace while a lyric is edited: each following syllable of the verse passes its characters to the one
// before, and the last one goes. The editor is left idle.
bool RemoveSyllable(TextEditor& ed, ScoreDocument& doc);

}  // namespace notavera
