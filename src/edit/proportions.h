// Proportions (tuplet ratios) of notes and rests set, combined or removed over a stretch of a staff.
#pragma once

#include "score/records.h"

namespace notavera {

enum class ProportionChange {
    Substitute,  // the fraction replaces each element's proportion
    Combine,     // the fraction multiplies each element's proportion (reduced, each term at most 99)
    Remove,      // each element goes back to 1:1
};

// The proportion of every note and rest among elements first..last; the fraction is ignored by Remove. Returns
// how many elements changed.
int ChangeProportions(StaffRecord& staff, int first, int last, ProportionChange change, unsigned num, unsigned den);

}  // namespace notavera
