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

// A staff with a key, bars, a key change, a cancelling change and notes with and without accidentals.
StaffRecord MixedStaff() {
    StaffRecord staff;
    staff.key().setKeyKind(KeyKind::Sharps);
    staff.key().setKeyCount(2);  // F C
    staff.elements = {note(100, 4, 4),
                      note(110, 4, 4, Accidental::Natural),
                      note(120, 4, 5),
                      note(130, 4, 4),
                      sign(140, SignType::Bar),
                      note(150, 4, 4),
                      note(160, 1, 4, Accidental::Flat),
                      keyChange(170, KeyKind::Flats, 3),
                      note(180, 7, 4),
                      note(190, 1, 4),
                      sign(200, SignType::Bar, 3),  // a brace does not divide bars
                      note(210, 1, 4),
                      sign(220, SignType::Bar),
                      keyChange(230, KeyKind::Flats, 3, true),
                      note(240, 7, 4),
                      note(250, 6, 3, Accidental::DoubleSharp),
                      note(260, 6, 3)};
    return staff;
}

// The walk carried along the staff answers what looking back from each element answers, for every name and
// octave a note could have there.
TEST(AccidentalWalk, AnswersAsContextAccidentalAtEveryElement) {
    const StaffRecord staff = MixedStaff();
    for (unsigned step = 0; step <= 9; ++step) {
        for (unsigned octave = 0; octave <= 7; ++octave) {
            AccidentalWalk walk;
            for (int i = 0; i < static_cast<int>(staff.elements.size()); ++i)
                EXPECT_EQ(walk.at(staff, 1, 0, i, step, octave), ContextAccidental(staff, i, step, octave))
                    << "element " << i << " step " << step << " octave " << octave;
        }
    }
}

TEST(AccidentalWalk, StartsAgainWhenAskedBackwardsOrAboutAnotherStaff) {
    const StaffRecord staff = MixedStaff();
    StaffRecord plain;  // no key, no bar: only notes
    for (int x = 100; x <= 1000; x += 100) plain.elements.push_back(note(x, 7, 4));
    AccidentalWalk walk;
    EXPECT_EQ(walk.at(staff, 1, 0, 3, 4, 4), Accidental::Natural);
    EXPECT_EQ(walk.at(staff, 1, 0, 8, 7, 4), Accidental::Flat);
    EXPECT_EQ(walk.at(staff, 1, 0, 1, 4, 4), Accidental::Sharp) << "back before the natural";
    EXPECT_EQ(walk.at(staff, 1, 0, 9, 7, 4), Accidental::Flat);
    // Further along on other staves: the key change and the bar's flat stay behind.
    EXPECT_EQ(walk.at(plain, 1, 1, 9, 7, 4), std::nullopt) << "another staff";
    EXPECT_EQ(walk.at(staff, 1, 0, 9, 7, 4), Accidental::Flat);
    EXPECT_EQ(walk.at(plain, 2, 0, 9, 7, 4), std::nullopt) << "the same index on another page is another staff";
    EXPECT_EQ(walk.at(staff, 1, 0, 99, 4, 4), std::nullopt) << "an element the staff does not have";
}

}  // namespace
}  // namespace notavera
