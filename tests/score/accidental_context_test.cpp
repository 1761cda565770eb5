// The key in effect along a staff, the note names a key alters, and what divides bars.
#include <gtest/gtest.h>

#include "score/accidental_context.h"

namespace notavera {
namespace {

ElementRecord sign(int x, SignType type, unsigned code = 0) {
    ElementRecord e;
    e.x = x;
    e.w0().setKind(ElementKind::Sign);
    e.signWord().setSignType(type);
    e.signWord().setCode(code);
    return e;
}

ElementRecord keyChange(int x, KeyKind kind, unsigned count, bool cancels = false) {
    ElementRecord e = sign(x, SignType::KeyChange, count);
    e.signWord().setSubValue(static_cast<unsigned>(kind));
    e.signWord().setHigh7(count);
    e.signWord().setFlag16(cancels);
    return e;
}

ElementRecord note(int x, unsigned step, unsigned octave, Accidental a = Accidental::None) {
    ElementRecord e;
    e.x = x;
    e.w0().setOctave(octave);
    e.noteWord().setStep(step);
    e.noteWord().setAccidental(a);
    return e;
}

TEST(KeyInEffectAt, StaffKeyUntilAKeyChangeAtOrBeforeXAndACancellingChangeAltersNothing) {
    StaffRecord staff;
    staff.key().setKeyKind(KeyKind::Sharps);
    staff.key().setKeyCount(1);
    staff.elements = {note(100, 1, 4), keyChange(200, KeyKind::Flats, 2), note(300, 1, 4)};
    EXPECT_EQ(KeyInEffectAt(staff, 0, 100).kind, KeyKind::Sharps);
    EXPECT_EQ(KeyInEffectAt(staff, 2, 300).kind, KeyKind::Flats);
    EXPECT_EQ(KeyInEffectAt(staff, 2, 300).count, 2u);
    // Looking from the end at an x before the change still finds the staff key.
    EXPECT_EQ(KeyInEffectAt(staff, 99, 150).kind, KeyKind::Sharps);
    EXPECT_EQ(KeyInEffectAt(staff, 99, 200).kind, KeyKind::Flats);
    StaffRecord cancelled;
    cancelled.elements = {keyChange(50, KeyKind::Sharps, 2, true), note(100, 4, 4)};
    EXPECT_TRUE(KeyInEffectAt(cancelled, 1, 100).cancelled);
    EXPECT_FALSE(ContextAccidental(cancelled, 1, 4, 4).has_value());
}

}  // namespace
}  // namespace notavera
