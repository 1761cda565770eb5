// Clef insertion.
#include "edit/clef_entry.h"

#include <array>

#include "edit/entry_place.h"
#include "score/element_creation.h"

namespace notavera {

namespace {

// The staff line each clef sits on (clef 1 first), kept as the sign's parameter.
constexpr std::array<int, 12> clefLines{2, 1, 4, 3, 1, 2, 3, 4, 2, 5, 5, 3};
constexpr std::uint32_t crossStaffMask = 3u << 14;

}  // namespace

ElementRecord* InsertClef(ScoreDocument& doc, int x, int clef) {
    if (!doc.staff() || clef < 1 || clef > static_cast<int>(clefLines.size())) return nullptr;
    // While the editor works on a staff moved to its neighbour's place, clefs would land on the wrong staff.
    if ((doc.insertion.word0Flags & crossStaffMask) != 0) return nullptr;
    if (const ElementRecord* old = ElementAtX(doc, x); old && old->isSignOfType(SignType::Clef)) {
        StaffRecord& staff = *doc.staff();
        staff.elements.erase(staff.elements.begin() + doc.currentElement);
        doc.currentElement = doc.currentElement > 0 ? doc.currentElement - 1 : -1;
    }
    return CreateSign(doc, x, clefLines[static_cast<std::size_t>(clef - 1)], clef, SignType::Clef, 0);
}

}  // namespace notavera
