// Special bars, braces and straight brackets: bar-line signs whose code the bar drawing reads.
#include "edit/special_bar_entry.h"

#include <algorithm>

#include "score/score_document.h"

namespace notavera {

namespace {

// How many staves below its own a brace or bracket joins: the rest of the staff's group, else the next staff.
int StavesToJoin(ScoreDocument& doc) {
    const PageRecord& page = *doc.page();
    const StaffRecord& staff = *doc.staff();
    const int position = static_cast<int>(staff.voice().positionInGroup());
    const int size = static_cast<int>(staff.voice().groupSize());
    const int below = static_cast<int>(page.staves.size()) - 1 - doc.currentStaff;
    const int group = position >= 1 && size > position ? size - position : 1;
    return std::min(group, below);
}

}  // namespace

std::optional<int> SpecialBarCode(ScoreDocument& doc) {
    if (!doc.page() || !doc.staff()) return std::nullopt;
    const InsertionState& ins = doc.insertion;
    if (ins.specialBarBracket == 0) return static_cast<int>(static_cast<unsigned char>(ins.specialBar));
    const int joined = StavesToJoin(doc);
    if (joined <= 0) return std::nullopt;
    return ins.specialBarBracket > 0 ? joined : -joined;
}

}  // namespace notavera
