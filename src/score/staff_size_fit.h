// A system of many staves drawn smaller, so that one page holds it.
#pragma once

#include <cstddef>

namespace notavera {

class ScoreDocument;
struct PageRecord;

// The staff size shrinks until `staves` staves stand a roomy distance apart on the page, the model's distances growing
// in step so that the page keeps its height; the document's step unit follows the new size. Nothing changes for a
// system that fits already.
void FitStavesOnPage(ScoreDocument& doc, PageRecord& page, std::size_t staves);

}  // namespace notavera
