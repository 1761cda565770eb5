// Laying out a GUIDO piece once it is read: its staves gathered into systems that fill the page, a treble clef where a
// staff names none, and the music flowed over as many systems and pages as it needs.
#pragma once

#include <vector>

#include "guido/gmn_line_cuts.h"
#include "render/spacing_settings.h"

namespace notavera {

class ScoreDocument;
class UiServices;

// Every page drawn as an engraver writes it: no accidental that the key or the bar already implies, a natural wherever
// one is needed, the chords arranged.
void EngraveImportedPages(ScoreDocument& doc);

// `sequences[k]` describes the sequence written on staff k of page 1. Sequences of one staff number become superposed
// staves at one height; the staves of a system play voices 1…n by their position. The music is dealt out to the systems
// bar by bar, as much as a line holds, then every page is respaced, aligned and justified ("Recalculer Distances"),
// reporting through `ui` what the layout reports. The document ends on the first staff of page 1.
void LayOutGuidoPiece(ScoreDocument& doc, UiServices& ui, std::vector<GmnSequenceTimes> sequences,
                      const SignDistances& distances = {});

// The first `n` staves of page 1 made one system, spaced and grouped as the layout of a piece draws a system of
// that many staves, each staff playing the voice of its place.
void GatherIntoOneSystem(ScoreDocument& doc, int n);

}  // namespace notavera
