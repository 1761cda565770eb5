// The signs every line of a page begins with before it is laid out: a clef on every staff (the voice's last
// clef, the alto clef for a voice that has none yet), and the time signatures that ended a line carried to the
// start of the voice's next line.
#pragma once

#include <map>

#include "render/document_spacing.h"
#include "score/records.h"

namespace notavera {

class ScoreDocument;

inline constexpr unsigned altoClefNumber = 7;

// The last clef of each voice met so far, walking the score in page and staff order.
class VoiceClefs {
public:
    // The voices' clefs up to the end of the pages in memory before page `number`.
    static VoiceClefs before(const ScoreDocument& doc, int number);

    void enter(const StaffRecord& staff);
    void enterLine(const PageRecord& page, LineRange line);
    // The voice's last clef, or a new alto clef when the voice has none yet.
    ElementRecord clefOf(unsigned voice) const;

private:
    std::map<unsigned, ElementRecord> last_;
};

// Gives every staff of `line` a clef at its start, from `clefs`, when its first clef is missing or comes after
// music; the signs before the music are put in the order clef, key, time signature. Returns the number of
// clefs inserted.
int EnsureLineStartClefs(PageRecord& page, LineRange line, const VoiceClefs& clefs, int stepUnit);

// Every line of the page in turn begins with its voices' clefs (`EnsureLineStartClefs`); `clefs` then holds the clefs
// the page leaves to the next one.
void EnsurePageLineClefs(PageRecord& page, VoiceClefs& clefs, int stepUnit);

// Moves the time signatures that follow the last note of each staff of `line` to the start of the same voice's
// staff in `next` (after its clef), unless that staff already starts with one. Returns how many moved.
int CarryTimeSignatures(PageRecord& page, LineRange line, PageRecord& nextPage, LineRange next, int stepUnit);

// Index of the first element of `staff` after its line-start clef and key change, i.e. where music begins.
std::size_t AfterLineStartSigns(const StaffRecord& staff);

}  // namespace notavera
