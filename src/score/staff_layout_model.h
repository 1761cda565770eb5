// The staff-layout model ("Régleur"): 132 words that define the staves of a page.
#pragma once

#include <array>
#include <cstdint>

#include "score/bit_field.h"

namespace notavera {

struct PageRecord;

class StaffLayoutModel {
public:
    static constexpr int wordCount = 132;
    static constexpr int firstStaffWord = 4;
    static constexpr int maxStaves = 127;

    std::array<std::uint32_t, wordCount> words{};

    // 10 staves of 5 lines, definition 20 (a 2 mm staff space), line length 190 mm.
    static StaffLayoutModel makeDefault();

    unsigned staffCount() const { return BitField<0, 10>::get(words[0]); }
    void setStaffCount(unsigned n) { BitField<0, 10>::set(words[0], n); }
    unsigned definition() const { return BitField<10, 8>::get(words[0]); }  // "Définition (mm/10)"
    void setDefinition(unsigned d) { BitField<10, 8>::set(words[0], d); }
    unsigned indentMm() const { return BitField<0, 24>::get(words[1]); }
    void setIndentMm(unsigned v) { BitField<0, 24>::set(words[1], v); }
    unsigned lineLengthMm() const { return BitField<0, 24>::get(words[3]); }
    void setLineLengthMm(unsigned v) { BitField<0, 24>::set(words[3], v); }

    // The word of staff i (0-based).
    std::uint32_t& staffWord(int i) { return words[firstStaffWord + i]; }
    std::uint32_t staffWord(int i) const { return words[firstStaffWord + i]; }
};

// Fields of a staff word of the model.
namespace staff_model {
using Distance = BitField<0, 10>;
using SystemGrouping = BitField<10, 2>;
using BlockGrouping = BitField<12, 2>;
using Small = BitField<14, 1>;
using Indented = BitField<15, 1>;
using LayoutFlag = BitField<16, 1>;
using LineCount = BitField<17, 4>;
using Brace = BitField<21, 1>;
using Grey = BitField<22, 1>;
using Invisible = BitField<23, 1>;
using Accessory = BitField<24, 1>;
}  // namespace staff_model

// Gives the page the model's staves, staff size, indentation and line length. A page in
// continuous-page mode keeps its line length. Existing staves keep their elements and voices; missing
// ones are added empty, with the voice of their position in their system. A page whose staves beyond the model's count hold elements cannot take the
// model: it is left unchanged and the result is false.
bool ApplyStaffLayoutModel(const StaffLayoutModel& model, PageRecord& page);

}  // namespace notavera
