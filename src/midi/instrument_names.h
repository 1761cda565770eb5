// The General MIDI instrument names as the MIDI dialogs list them, indexed by program number.
#pragma once

#include <array>
#include <string_view>

namespace notavera {

// The 128 programs of General MIDI level 1, in the older wording users of this program know ("Accoustic").
const std::array<std::string_view, 128>& InstrumentNames();

}  // namespace notavera
