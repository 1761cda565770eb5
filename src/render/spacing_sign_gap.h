// The room a sign leaves before the next element when lines are respaced, and which signs take no room at all.
#pragma once

#include "render/spacing_settings.h"
#include "score/record_fields.h"

namespace notavera {

struct ElementRecord;
struct StaffRecord;

// Parentheses, curve signs and texts other than the category that stands in the music share their column.
bool TakesNoRoom(const ElementRecord& e);

bool IsRepeatBar(const ElementRecord& e);

// The key a staff is in at some point of the walk, to count a key change's cancelled accidentals.
struct KeyState {
    KeyKind kind = KeyKind::None;
    int count = 0;
};

// What the gap after a sign depends on besides the sign itself.
struct SignGapContext {
    int pendingGap = 0;      // the gap before the sign (free dots add to it)
    int oldDistance = 0;     // the old distance to the next entry (drawing items keep it)
    bool nextExists = false;
    bool atLineStart = false;  // a clef within 3 step units of the left edge
    KeyState staffKey;         // the staff's key signature, for a clef at the line start
};

// Gap after the sign at `index` of `staff`. A key change updates `key` to the key it sets.
int SignGap(const StaffRecord& staff, int index, const SpacingSettings& settings, const SignGapContext& context,
            KeyState& key);

}  // namespace notavera
