// Free accidentals and dots.
#include "edit/free_symbol_entry.h"

#include "edit/note_entry.h"
#include "score/element_creation.h"

namespace notavera {

ElementRecord* PlaceFreeSymbol(ScoreDocument& doc, int x, int index, const FreeSymbol& symbol) {
    if (index < 0 || index >= noteKeyCount || !doc.staff()) return nullptr;
    ElementRecord* e = CreateSign(doc, x, 0, index, symbol.type, symbol.accidental);
    if (e && symbol.doubleDot) e->signWord().setFlag16(true);
    return e;
}

}  // namespace notavera
