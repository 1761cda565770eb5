// Rhythmic groups: the group marks of word0 and the proportion of word1.
#include "edit/rhythmic_group_entry.h"

#include "edit/entry_place.h"
#include "score/group_marks.h"

namespace notavera {

namespace {

void SetProportion(ElementRecord& e, unsigned num, unsigned den) {
    e.w1().setNumerator(num);
    e.w1().setDenominator(den);
}

// The first element of the group ending at `last`: the nearest first mark before it on the staff, or, when the
// group began on an earlier line, the element after the last group that closed on this staff.
int GroupFirst(const StaffRecord& staff, int last) {
    for (int i = last; i >= 0; --i) {
        const unsigned mark = staff.elements[static_cast<std::size_t>(i)].w0().groupMark();
        if ((mark & groupFirstMark) != 0) return i;
        if (i < last && (mark & groupLastMark) != 0) return i + 1;
    }
    return 0;
}

}  // namespace

bool OpenRhythmicGroup(ScoreDocument& doc, int x, unsigned num, unsigned den) {
    InsertionState& ins = doc.insertion;
    ins.switches |= SwitchGroup;
    ins.proportionNum = num;
    ins.proportionDen = den;
    ElementRecord* e = NoteOrRestAtX(doc, x);
    if (!e) {
        ins.word0Once |= groupFirstWord0Bit;
        return false;
    }
    MarkGroupFirst(*e);
    SetProportion(*e, num, den);
    doc.markModified();
    return true;
}

bool CloseRhythmicGroup(ScoreDocument& doc, int x, unsigned num, unsigned den) {
    InsertionState& ins = doc.insertion;
    if ((ins.switches & SwitchGroup) == 0) return false;
    const bool noneEntered = (ins.word0Once & groupFirstWord0Bit) != 0;
    ins.switches &= ~SwitchGroup;
    ins.word0Once &= ~groupFirstWord0Bit;
    ins.proportionNum = 1;
    ins.proportionDen = 1;
    const int last = LastNoteAtOrBeforeX(doc, x, false);
    if (noneEntered || last < 0) return false;
    StaffRecord& staff = *doc.staff();
    for (int i = GroupFirst(staff, last); i <= last; ++i) {
        ElementRecord& e = staff.elements[static_cast<std::size_t>(i)];
        if (!e.isSign()) SetProportion(e, num, den);
    }
    MarkGroupLast(staff.elements[static_cast<std::size_t>(last)]);
    doc.markModified();
    return true;
}

}  // namespace notavera
