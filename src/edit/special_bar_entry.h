// The special bar chosen in "Barres spéciales": a bar line, or a brace or straight bracket joining
// staves, as the code of the bar-line sign the bar drawing reads.
#pragma once

#include <optional>

namespace notavera {

class ScoreDocument;

// The code of the chosen special bar on the current staff: its character for a bar; for a brace or bracket the
// count of staves below its own that it joins (the rest of the staff's group, else the next staff), negated for a
// bracket. Nothing on the page's last staff, where a brace or bracket has nothing to join, or without a staff.
std::optional<int> SpecialBarCode(ScoreDocument& doc);

}  // namespace notavera
