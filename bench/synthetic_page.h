// The page the file benchmarks fill their scores with: ten staves of sixty elements, a clef, then quarter notes
// with a bar line after every nine.
#pragma once

#include <cstdint>
#include <utility>

#include "score/records.h"

namespace notavera::bench {

inline constexpr int stavesPerPage = 10;
inline constexpr int elementsPerStaff = 60;

inline PageRecord SyntheticPage(int number) {
    PageRecord p;
    p.number = static_cast<std::uint32_t>(number);
    p.lineLength = 1800;
    for (int s = 0; s < stavesPerPage; ++s) {
        StaffRecord staff;
        staff.voice().setVoice(static_cast<unsigned>(s + 1));
        staff.key().setIndex(static_cast<unsigned>(s));
        for (int i = 0; i < elementsPerStaff; ++i) {
            ElementRecord e;
            e.x = 60 + 30 * i;
            if (i % 10 == 0) {
                e.w0().setKind(ElementKind::Sign);
                e.signWord().setSignType(i == 0 ? SignType::Clef : SignType::Bar);
            } else {
                e.noteWord().setDurationCode(4);
                e.noteWord().setStep(static_cast<unsigned>(1 + i % 7));
            }
            staff.elements.push_back(e);
        }
        p.staves.push_back(std::move(staff));
    }
    p.layoutWord().setStaffCount(stavesPerPage);
    return p;
}

}  // namespace notavera::bench
