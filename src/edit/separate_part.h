// A separate part: the staves of one voice taken from a range of pages, laid out on the pages of a new document
// line for line, with bar numbers, and in the standard mode with runs of whole-bar rests condensed.
#pragma once

#include <string>

#include "render/document_spacing.h"
#include "render/staff_metrics.h"
#include "score/score_document.h"

namespace notavera {

class UiServices;

// Standard (0): laid out, whole-bar rests condensed; VoiceAlone (1): laid out, every rest kept; Raw (2): the
// staves as they stand in the score, neither respaced nor justified.
enum class PartMode { Standard = 0, VoiceAlone = 1, Raw = 2 };

struct PartRequest {
    int voice = 1;
    PartMode mode = PartMode::Standard;
    int firstPage = 1;
    int lastPage = 1;
};

// The name of the font table entry the part's bar numbers are written in.
inline constexpr const char* partBarNumberFont = "Mesures NV";

// Fills `part` (a new document whose header, fonts and staff layout model the caller has set) with the staves of
// the voice, one after the other in page order, each on the next staff of the part's pages, a new page when
// one is full; then lays out every page, numbers its bars and, in the standard mode, condenses the runs of
// whole-bar rests of its one-staff lines. The part's own pages have no masks, header or footer. Returns the
// number of staves copied (0: the voice has none in the range, and the part is one empty page).
int BuildSeparatePart(const ScoreDocument& doc, UiServices& ui, const PartRequest& request,
                      const SignDistances& distances, ScoreDocument& part);

// Condenses the runs of at least two empty bars of one staff: a bar holding one rest and nothing else but the
// line's opening clef, key and time signatures, closed by a plain bar line (or a time signature, which ends the
// run). The run keeps its first rest as a multi-bar rest (duration code 15) with its bar count in a text just
// before it; the rest of the run goes up to its last bar line. Returns the number of runs condensed.
int CondenseWholeBarRests(StaffRecord& staff, const StaffMetrics& metrics, int fontIndex);

}  // namespace notavera
