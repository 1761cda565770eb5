// Rewriting the accidentals of the notes of a staff group so that what is drawn agrees with the key and the bars
// (or, for the modes that load accidentals, so that the pitches follow them): the core of the "Armure" menu.
#pragma once

#include <span>

#include "edit/bar_table.h"
#include "score/records.h"

namespace notavera {

// The mode bits of a normalising.
namespace normalise_mode {
inline constexpr unsigned showAll = 1;         // every accidental shown (tied continuations excepted)
inline constexpr unsigned readKey = 2;         // naturals and implied accidentals follow the key
inline constexpr unsigned loadKey = 4;         // notes on the key's names take its accidental (pitch changes)
inline constexpr unsigned inclusiveBars = 8;   // a visible accidental carries to its bar (pitch changes)
inline constexpr unsigned exclusiveBars = 16;  // pitches kept, marked in bar context
inline constexpr unsigned unloadKey = 32;      // implied accidentals removed (pitch changes back)

inline constexpr unsigned unload = unloadKey | readKey | showAll;        // "DéchargerArmure"
inline constexpr unsigned inclusive = inclusiveBars | readKey | showAll;  // "Incl#b-BarMes"
inline constexpr unsigned exclusive = exclusiveBars | readKey | showAll;  // "Excl#b-BarMes"
}  // namespace normalise_mode

// Normalises one staff with the bar positions of its group (empty: no bar context).
void NormaliseStaff(StaffRecord& staff, std::span<const BarEntry> bars, unsigned mode);

// Normalises the group of staves that holds staff `staff` of the page, the bar table built over the whole group
// (with `staffAlone`, only that staff is rewritten); with mode 1 the staff alone, without bars. Returns the number
// of staves of the group, or 1 with mode 1 (0 for a staff the page does not have).
int NormaliseGroup(PageRecord& page, int staff, unsigned mode, bool staffAlone = false);

// Every group of the page.
void NormalisePage(PageRecord& page, unsigned mode);

}  // namespace notavera
