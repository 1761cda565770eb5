// Enharmonic respelling of one note: every kind of accidental, the octave crossings at B and C, and the notes
// left alone.
#include "edit/respelling.h"

#include <gtest/gtest.h>

#include "score/score_document.h"

namespace notavera {
namespace {

struct Spelt {
    unsigned name;
    Accidental accidental;
    unsigned octave;
    friend bool operator==(const Spelt&, const Spelt&) = default;
};

using A = Accidental;
struct RespellCase {
    Spelt from, to;
    bool withNaturals = false;
};

TEST(Respell, SpellsTheSameKeyFromTheNeighbouringName) {
    const RespellCase cases[] = {
        {{5, A::Sharp, 4}, {6, A::Flat, 4}},         {{7, A::Sharp, 4}, {1, A::None, 5}},
        {{1, A::DoubleSharp, 4}, {2, A::None, 4}},   {{3, A::DoubleSharp, 4}, {4, A::Sharp, 4}},
        {{7, A::DoubleSharp, 3}, {1, A::Sharp, 4}},  {{7, A::Flat, 4}, {6, A::Sharp, 4}},
        {{1, A::Flat, 4}, {7, A::None, 3}},          {{2, A::DoubleFlat, 4}, {1, A::None, 4}},
        {{4, A::DoubleFlat, 4}, {3, A::Flat, 4}},    {{1, A::DoubleFlat, 4}, {7, A::Flat, 3}},
        {{7, A::None, 4}, {1, A::Flat, 5}, true},    {{3, A::Natural, 4}, {4, A::Flat, 4}, true},
        {{2, A::None, 4}, {2, A::None, 4}, true},    {{3, A::None, 4}, {3, A::None, 4}},
        {{7, A::Sharp, 7}, {7, A::Sharp, 7}},        {{1, A::Flat, 0}, {1, A::Flat, 0}},
        {{1, A::QuarterSharp, 4}, {1, A::QuarterSharp, 4}, true},
    };
    for (const RespellCase& c : cases) {
        ScoreDocument doc;
        StaffRecord staff;
        staff.elements.resize(1);
        ElementRecord& e = staff.elements[0];
        e.noteWord().setStep(c.from.name);
        e.noteWord().setAccidental(c.from.accidental);
        e.noteWord().setHiddenAccidental(true);
        e.w0().setOctave(c.from.octave);
        const bool changed = Respell(doc, staff, 0, c.withNaturals);
        const Spelt got{e.noteWord().step(), e.noteWord().accidental(), e.w0().octave()};
        EXPECT_EQ(got, c.to) << c.from.name << " " << static_cast<int>(c.from.accidental) << " " << c.from.octave;
        EXPECT_EQ(changed, !e.noteWord().hiddenAccidental()) << "a respelt accidental is shown without a key";
    }
}

}  // namespace
}  // namespace notavera
