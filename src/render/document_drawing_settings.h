// What the drawing context takes from the document before a pass: stroke widths, size ratios, height
// corrections, the music font, the font table of the texts, and the staff definition of the page being drawn.
#pragma once

#include "render/drawing_context.h"
#include "score/score_document.h"

namespace notavera {

// Brings the context in line with the document's stored settings. Values a damaged document holds out of their
// dialog ranges are brought into them; size ratios with a zero term keep the context's. Derived metrics and
// widths are recomputed only when what they derive from changed.
void UseDocumentSettings(DrawingContext& dc, const ScoreDocument& doc);

// The staff definition ("Définition (mm/10)") of the page being drawn; metrics and heights follow when it differs
// from the context's.
void UsePageDefinition(DrawingContext& dc, int definition);

}  // namespace notavera
