// The page size derived from the page format: the sheet in tenths of a millimetre, turned for landscape.
#pragma once

#include "score/file_header.h"

namespace notavera {

class ScoreDocument;

struct PageSize {
    int width = 0;         // page units
    int height = 0;
    int usableHeight = 0;  // the height less the strip the printer cannot reach
};

PageSize derivePageSize(const PageFormatBlock& format);
// Recomputes the document's page size after its page format changed (dialog, load).
void applyPageSize(ScoreDocument& doc);

}  // namespace notavera
