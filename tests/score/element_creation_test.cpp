// Where new elements land in a staff and how notes and signs are filled from the insertion state.
#include <gtest/gtest.h>

#include <vector>

#include "score/clef_values.h"
#include "score/element_creation.h"
#include "score/new_document.h"

namespace notavera {
namespace {

class ElementCreationTest : public ::testing::Test {
protected:
    void SetUp() override { SetUpNewDocument(doc, 1); }

    std::vector<ElementRecord>& elements() { return doc.staff()->elements; }
    std::vector<int> xs() {
        std::vector<int> v;
        for (const auto& e : elements()) v.push_back(e.x);
        return v;
    }
    // Notes at the given x, one after the other; the last one is left current.
    void notesAt(std::initializer_list<int> positions) {
        for (int x : positions) ASSERT_NE(CreateNoteOrRest(doc, x, false, 1), nullptr);
    }
    int place(int x) {
        ElementRecord e;
        e.x = x;
        e.typeWord = 0x5u << 22;  // a G, to tell it from the C of notesAt
        return PlaceNewElement(doc, e);
    }

    ScoreDocument doc;
};

// ---- Placement ----

TEST_F(ElementCreationTest, EmptyStaffTakesTheElementAsFirstAndLast) {
    ASSERT_TRUE(elements().empty());
    EXPECT_EQ(place(300), 0);
    EXPECT_EQ(elements().size(), 1u);
    EXPECT_EQ(doc.currentElement, 0);
    EXPECT_TRUE(doc.modified);
}

TEST_F(ElementCreationTest, AtOrBeyondTheCurrentLastElementIsAppended) {
    notesAt({100, 200});
    EXPECT_EQ(place(200), 2);
    EXPECT_EQ(place(500), 3);
    EXPECT_EQ(xs(), (std::vector<int>{100, 200, 200, 500}));
    EXPECT_EQ(doc.currentElement, 3);
}

TEST_F(ElementCreationTest, AtTheFirstElementsXBecomesFirst) {
    notesAt({100, 200, 300});
    doc.currentElement = 1;
    EXPECT_EQ(place(100), 0);
    EXPECT_EQ(elements()[1].noteWord().step(), 1u);
}

TEST_F(ElementCreationTest, GoesAfterTheCurrentElementWhenRightOfIt) {
    notesAt({100, 300});
    doc.currentElement = 0;
    EXPECT_EQ(place(200), 1);
    doc.currentElement = 2;  // the last, at 300: a smaller x goes before it
    EXPECT_EQ(place(250), 2);
    EXPECT_EQ(xs(), (std::vector<int>{100, 200, 250, 300}));
}

TEST_F(ElementCreationTest, EqualToACurrentElementInsideTheStaffGoesBeforeIt) {
    notesAt({100, 200, 300});
    doc.currentElement = 1;
    EXPECT_EQ(place(200), 1);
}

TEST_F(ElementCreationTest, LastNoteWithTheChordBitKeepsTheLastPlace) {
    notesAt({100, 200});
    elements()[1].noteWord().setBit(18, true);
    EXPECT_EQ(place(200), 1);
    EXPECT_EQ(elements().back().noteWord().step(), 1u);
    // Beyond its x the new element is appended as usual.
    doc.currentElement = 2;
    EXPECT_EQ(place(210), 3);
}

TEST_F(ElementCreationTest, ClosingParenthesisPassesItsPlaceToTheNextElement) {
    notesAt({100, 200});
    ASSERT_NE(CreateParenthesis(doc, 210, 1, false), nullptr);
    notesAt({300});
    doc.currentElement = 2;  // the closing parenthesis
    // At the parenthesis's own x the new note goes after it, in front of the next note.
    EXPECT_EQ(place(210), 3);
    EXPECT_TRUE(elements()[2].isSignOfType(SignType::Parenthesis));
}

TEST_F(ElementCreationTest, ClosingParenthesisAtTheEndPassesItsPlaceToThePreviousElement) {
    notesAt({100, 150});
    ASSERT_NE(CreateParenthesis(doc, 160, 1, false), nullptr);
    EXPECT_EQ(doc.currentElement, 2);
    EXPECT_EQ(place(120), 1);  // placed against the note at 150, so before it
}

TEST_F(ElementCreationTest, OpeningParenthesisIsPlacedAgainstAClosingOne) {
    notesAt({100});
    ASSERT_NE(CreateParenthesis(doc, 200, 1, false), nullptr);
    notesAt({300});
    doc.currentElement = 1;
    ElementRecord* open = CreateParenthesis(doc, 200, 1, true);
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(doc.currentElement, 1);
    EXPECT_EQ(open->signWord().pair2(), 1u);
}

TEST_F(ElementCreationTest, NothingGoesRightAfterAnOpeningParenthesis) {
    notesAt({50});
    ASSERT_NE(CreateParenthesis(doc, 100, 1, true), nullptr);
    notesAt({300});
    doc.currentElement = 1;
    EXPECT_EQ(place(150), 1);  // before the parenthesis, never between it and what it opens
}

TEST_F(ElementCreationTest, WithoutACurrentElementTheOrderOfXDecides) {
    notesAt({100, 200, 300});
    doc.currentElement = -1;
    EXPECT_EQ(place(200), 2);
    doc.currentElement = -1;
    EXPECT_EQ(place(50), 0);
}

TEST_F(ElementCreationTest, NothingIsMadeWithoutACurrentStaff) {
    ScoreDocument empty;
    EXPECT_EQ(PlaceNewElement(empty, ElementRecord{}), -1);
    EXPECT_EQ(CreateNoteOrRest(empty, 100, false, 1), nullptr);
    EXPECT_EQ(CreateSign(empty, 100, 0, '|', SignType::Bar, 0), nullptr);
    EXPECT_FALSE(empty.modified);
}

// ---- Pitch rule ----

TEST(PitchRule, NamesBelowAndAboveTheOctaveMoveItWithinItsLimits) {
    EXPECT_EQ(ApplyPitchRule(0, 4)->step, 7u);
    EXPECT_EQ(ApplyPitchRule(0, 4)->octave, 3u);
    EXPECT_EQ(ApplyPitchRule(0, 0)->octave, 0u);
    EXPECT_EQ(ApplyPitchRule(8, 4)->step, 1u);
    EXPECT_EQ(ApplyPitchRule(8, 4)->octave, 5u);
    EXPECT_EQ(ApplyPitchRule(8, 7)->octave, 7u);
    EXPECT_EQ(ApplyPitchRule(9, 2)->step, 2u);
    EXPECT_EQ(ApplyPitchRule(9, 2)->octave, 3u);
    EXPECT_EQ(ApplyPitchRule(5, 6)->step, 5u);
    EXPECT_FALSE(ApplyPitchRule(10, 4).has_value());
}

TEST_F(ElementCreationTest, PitchedSignsKeepTheirOctaveAtTheLimits) {
    doc.insertion.octave = 0;
    ElementRecord* low = CreateSign(doc, 100, 0, 0, SignType::FreeAccidental, 1);
    ASSERT_NE(low, nullptr);
    EXPECT_EQ(low->signWord().code(), 7u);
    EXPECT_EQ(low->w0().octave(), 0u);
    doc.insertion.octave = 7;
    ElementRecord* high = CreateSign(doc, 200, 0, 8, SignType::FreeDot, 0);
    ASSERT_NE(high, nullptr);
    EXPECT_EQ(high->signWord().code(), 1u);
    EXPECT_EQ(high->w0().octave(), 7u);
    EXPECT_EQ(CreateSign(doc, 300, 0, 12, SignType::FreeAccidental, 1), nullptr);
}

TEST_F(ElementCreationTest, NoteKeysBelowAndAboveTheOctave) {
    doc.insertion.octave = 4;
    ElementRecord* b = CreateNoteOrRest(doc, 100, false, 0);
    EXPECT_EQ(b->noteWord().step(), 7u);
    EXPECT_EQ(b->w0().octave(), 3u);
    EXPECT_EQ(CreateNoteOrRest(doc, 200, false, 10), nullptr);
    EXPECT_EQ(doc.insertion.octave, 4u);  // the rule moves the note, not the insertion octave
}

// ---- Notes and rests ----

TEST_F(ElementCreationTest, NoteTakesTheInsertionAttributes) {
    InsertionState& ins = doc.insertion;
    ins.durationCode = 5;
    ins.dots = 1;
    ins.octave = 5;
    ins.headShape = 3;
    ins.accentType = 6;
    ins.proportionNum = 3;
    ins.proportionDen = 2;
    ins.word0Flags = (1u << 11) | (1u << 14) | 1u | (1u << 19);  // cue size, staff above; kind and blob ignored
    ins.noteWordFlags = (1u << 15) | (1u << 22);                  // staccato; a step bit that must not leak
    ElementRecord* n = CreateNoteOrRest(doc, 100, false, 6);
    ASSERT_NE(n, nullptr);
    EXPECT_FALSE(n->isSign());
    EXPECT_FALSE(n->hasBlob());
    EXPECT_TRUE(n->w0().cueSize());
    EXPECT_EQ(n->w0().crossStaff(), 1u);
    EXPECT_EQ(n->w0().octave(), 5u);
    EXPECT_EQ(n->w1().numerator(), 3u);
    EXPECT_EQ(n->w1().denominator(), 2u);
    const auto w = n->noteWord();
    EXPECT_FALSE(w.rest());
    EXPECT_EQ(w.durationCode(), 5u);
    EXPECT_EQ(w.dots(), 1u);
    EXPECT_EQ(w.step(), 6u);
    EXPECT_TRUE(w.staccato());
    EXPECT_EQ(w.headShape(), 3u);
    EXPECT_EQ(w.accentType(), 6u);
    EXPECT_EQ(n->storedSize(), 17u);
}

TEST_F(ElementCreationTest, NewDocumentNotesHaveProportionOneToOne) {
    ElementRecord* n = CreateNoteOrRest(doc, 100, false, 1);
    EXPECT_EQ(n->w1().numerator(), 1u);
    EXPECT_EQ(n->w1().denominator(), 1u);
    EXPECT_EQ(n->noteWord().durationCode(), 4u);
}

TEST_F(ElementCreationTest, RestStandsOnTheSecondLineWithoutAClefAndTakesNoAccidental) {
    doc.insertion.octave = 3;
    doc.insertion.accidental = Accidental::Sharp;
    doc.insertion.accidentalForced = true;
    ElementRecord* r = CreateNoteOrRest(doc, 100, true, 6);
    ASSERT_NE(r, nullptr);
    EXPECT_TRUE(r->isRest());
    EXPECT_EQ(r->noteWord().step(), 3u);  // E4: the second line under clef value 0
    EXPECT_EQ(r->w0().octave(), 4u);
    EXPECT_EQ(r->noteWord().accidental(), Accidental::None);
}

struct RestClefCase {
    std::vector<std::pair<int, int>> clefs;  // x and clef number of the clefs written on the staff
    int restX;
    unsigned step;
    unsigned octave;
};

class RestUnderClef : public ElementCreationTest, public ::testing::WithParamInterface<RestClefCase> {};

TEST_P(RestUnderClef, RestTakesTheSecondLineOfTheClefInForceAtItsPlace) {
    for (const auto& [x, clef] : GetParam().clefs) ASSERT_NE(CreateSign(doc, x, 0, clef, SignType::Clef, 0), nullptr);
    doc.insertion.octave = 6;
    ElementRecord* r = CreateNoteOrRest(doc, GetParam().restX, true, 0);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->noteWord().step(), GetParam().step);
    EXPECT_EQ(r->w0().octave(), GetParam().octave);
}

INSTANTIATE_TEST_SUITE_P(
    Clefs, RestUnderClef,
    ::testing::Values(RestClefCase{{{10, 1}}, 100, 5, 4},                // treble: G4
                      RestClefCase{{{10, 2}}, 100, 7, 4},                // French violin: B4
                      RestClefCase{{{10, 3}}, 100, 7, 2},                // bass: B2
                      RestClefCase{{{10, 7}}, 100, 6, 3},                // alto: A3
                      RestClefCase{{{10, 10}}, 100, 5, 2},               // F on the fifth line: G2
                      RestClefCase{{{10, 1}, {200, 3}}, 100, 5, 4},      // a later clef has no say yet
                      RestClefCase{{{10, 1}, {200, 3}}, 200, 7, 2},      // a clef at the rest's own x is in force
                      RestClefCase{{{10, 1}, {200, 3}}, 300, 7, 2},
                      RestClefCase{{{150, 3}}, 100, 3, 4}));             // before any clef: clef value 0

TEST(RestPitchUnderClef, StaysAValidStepAndOctaveWhateverTheClefValue) {
    for (int value = -40; value <= 60; ++value) {
        const RestPitch p = RestPitchUnderClef(value);
        EXPECT_GE(p.step, 1u);
        EXPECT_LE(p.step, 7u);
        EXPECT_LE(p.octave, 7u);
    }
}

// ---- Accidentals from the context ----

TEST_F(ElementCreationTest, KeySignatureGivesAHiddenAccidental) {
    doc.staff()->key().setKeyKind(KeyKind::Sharps);
    doc.staff()->key().setKeyCount(2);  // F and C
    ElementRecord* f = CreateNoteOrRest(doc, 100, false, 4);
    EXPECT_EQ(f->noteWord().accidental(), Accidental::Sharp);
    EXPECT_TRUE(f->noteWord().hiddenAccidental());
    ElementRecord* g = CreateNoteOrRest(doc, 200, false, 5);
    EXPECT_EQ(g->noteWord().accidental(), Accidental::None);
    EXPECT_FALSE(g->noteWord().hiddenAccidental());
}

TEST_F(ElementCreationTest, ForcedAccidentalOverridesTheKeyAndIsShown) {
    doc.staff()->key().setKeyKind(KeyKind::Sharps);
    doc.staff()->key().setKeyCount(1);
    doc.insertion.accidental = Accidental::Natural;
    doc.insertion.accidentalForced = true;
    ElementRecord* f = CreateNoteOrRest(doc, 100, false, 4);
    EXPECT_EQ(f->noteWord().accidental(), Accidental::Natural);
    EXPECT_FALSE(f->noteWord().hiddenAccidental());
}

TEST_F(ElementCreationTest, EarlierAccidentalInTheBarCarriesToTheSameNoteOnly) {
    doc.insertion.accidental = Accidental::Sharp;
    doc.insertion.accidentalForced = true;
    CreateNoteOrRest(doc, 100, false, 4);  // F sharp 4
    doc.insertion.accidental = Accidental::None;
    doc.insertion.accidentalForced = false;
    ElementRecord* same = CreateNoteOrRest(doc, 200, false, 4);
    EXPECT_EQ(same->noteWord().accidental(), Accidental::Sharp);
    EXPECT_TRUE(same->noteWord().hiddenAccidental());
    doc.insertion.octave = 5;
    ElementRecord* other = CreateNoteOrRest(doc, 300, false, 4);
    EXPECT_EQ(other->noteWord().accidental(), Accidental::None);
}

TEST_F(ElementCreationTest, EarlierNaturalInTheBarBeatsTheKey) {
    doc.staff()->key().setKeyKind(KeyKind::Sharps);
    doc.staff()->key().setKeyCount(1);
    doc.insertion.accidental = Accidental::Natural;
    doc.insertion.accidentalForced = true;
    CreateNoteOrRest(doc, 100, false, 4);
    doc.insertion.accidentalForced = false;
    doc.insertion.accidental = Accidental::None;
    ElementRecord* f = CreateNoteOrRest(doc, 200, false, 4);
    EXPECT_EQ(f->noteWord().accidental(), Accidental::Natural);
    EXPECT_TRUE(f->noteWord().hiddenAccidental());
}

TEST_F(ElementCreationTest, AccidentalDoesNotCarryAcrossABarLine) {
    doc.insertion.accidental = Accidental::Flat;
    doc.insertion.accidentalForced = true;
    CreateNoteOrRest(doc, 100, false, 7);
    doc.insertion.accidentalForced = false;
    doc.insertion.accidental = Accidental::None;
    ASSERT_NE(CreateSign(doc, 150, 0, '|', SignType::Bar, 0), nullptr);
    ElementRecord* b = CreateNoteOrRest(doc, 200, false, 7);
    EXPECT_EQ(b->noteWord().accidental(), Accidental::None);
    EXPECT_FALSE(b->noteWord().hiddenAccidental());
}

TEST_F(ElementCreationTest, KeyChangeBeforeTheNoteGivesItsAccidental) {
    ASSERT_NE(CreateSign(doc, 50, 0, 1, SignType::KeyChange, 2), nullptr);  // one flat: B
    ElementRecord* b = CreateNoteOrRest(doc, 100, false, 7);
    EXPECT_EQ(b->noteWord().accidental(), Accidental::Flat);
    EXPECT_TRUE(b->noteWord().hiddenAccidental());
}

// ---- Signs ----

TEST_F(ElementCreationTest, TimeSignatureNumbersAreClampedAndReset) {
    doc.insertion.timeSigNum = 300;
    doc.insertion.timeSigDen = 4;
    ElementRecord* t = CreateSign(doc, 100, 0, 1, SignType::TimeSignature, 0);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->w1().numerator(), 255u);
    EXPECT_EQ(t->w1().denominator(), 4u);
    EXPECT_EQ(doc.insertion.timeSigNum, 1u);
    EXPECT_EQ(doc.insertion.timeSigDen, 1u);
}

TEST_F(ElementCreationTest, OtherSignsStartWithOneToOne) {
    ElementRecord* bar = CreateSign(doc, 100, 0, '|', SignType::Bar, 0);
    EXPECT_EQ(bar->w1().numerator(), 1u);
    EXPECT_EQ(bar->w1().denominator(), 1u);
}

struct SingleSignCase {
    SignType type;
    int code;
};

class SingleSignAtXTest : public ElementCreationTest, public ::testing::WithParamInterface<SingleSignCase> {};

TEST_P(SingleSignAtXTest, SecondOfTheSameTypeAtTheCurrentXIsRefused) {
    const auto [type, code] = GetParam();
    doc.insertion.timeSigNum = 3;
    ASSERT_NE(CreateSign(doc, 100, 0, code, type, 0), nullptr);
    doc.insertion.timeSigNum = 3;
    doc.modified = false;
    EXPECT_EQ(CreateSign(doc, 100, 0, code, type, 0), nullptr);
    EXPECT_EQ(elements().size(), 1u);
    EXPECT_FALSE(doc.modified);
    EXPECT_EQ(doc.insertion.timeSigNum, 3u);  // a refused meter leaves the insertion state alone
    // At another x, or of another type, a sign is made.
    EXPECT_NE(CreateSign(doc, 200, 0, code, type, 0), nullptr);
    doc.currentElement = 0;
    EXPECT_NE(CreateSign(doc, 100, 0, 3, type == SignType::Clef ? SignType::Bar : SignType::Clef, 0), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Types, SingleSignAtXTest,
                         ::testing::Values(SingleSignCase{SignType::Bar, '|'}, SingleSignCase{SignType::Clef, 1},
                                           SingleSignCase{SignType::TimeSignature, 1}));

TEST_F(ElementCreationTest, SignWordTakesTypeSubValueCodeAndAttribute) {
    doc.insertion.signAttribute = 0x55;
    ElementRecord* clef = CreateSign(doc, 100, 2, 3, SignType::Clef, 5);
    ASSERT_NE(clef, nullptr);
    EXPECT_TRUE(clef->isSign());
    EXPECT_EQ(clef->param, 2);
    const auto s = clef->signWord();
    EXPECT_EQ(s.signType(), SignType::Clef);
    EXPECT_EQ(s.subValue(), 5u);
    EXPECT_EQ(s.code(), 3u);
    EXPECT_EQ(s.high7(), 0x55u);
}

TEST_F(ElementCreationTest, KeyChangeCarriesItsCountInTheHighBits) {
    doc.insertion.signAttribute = 0x55;
    ElementRecord* key = CreateSign(doc, 100, 0, 3, SignType::KeyChange, 1);
    EXPECT_EQ(key->signWord().high7(), 3u);
    EXPECT_EQ(key->signWord().code(), 3u);
}

TEST_F(ElementCreationTest, BracketBarsKeepTheirNegativeCode) {
    ElementRecord* bracket = CreateSign(doc, 100, 0, -1, SignType::Bar, 0);
    ASSERT_NE(bracket, nullptr);
    EXPECT_EQ(bracket->signWord().signedCode(), -1);
    EXPECT_EQ(CreateSign(doc, 200, 0, 256, SignType::Bar, 0), nullptr);
    EXPECT_EQ(CreateSign(doc, 200, 0, -129, SignType::Bar, 0), nullptr);
}

TEST_F(ElementCreationTest, CrossStaffPlacementIsClearedOnStaffBoundSigns) {
    doc.insertion.word0Flags = 2u << 14;
    EXPECT_EQ(CreateSign(doc, 100, 0, '|', SignType::Bar, 0)->w0().crossStaff(), 0u);
    EXPECT_EQ(CreateSign(doc, 110, 0, 1, SignType::Clef, 0)->w0().crossStaff(), 0u);
    EXPECT_EQ(CreateSign(doc, 120, 0, 1, SignType::TimeSignature, 0)->w0().crossStaff(), 0u);
    EXPECT_EQ(CreateParenthesis(doc, 130, 3, true)->w0().crossStaff(), 0u);
    EXPECT_EQ(CreateSign(doc, 140, 0, 3, SignType::FreeAccidental, 1)->w0().crossStaff(), 2u);
    EXPECT_EQ(CreateNoteOrRest(doc, 150, false, 3)->w0().crossStaff(), 2u);
}

TEST_F(ElementCreationTest, TextSignOwnsABlobWithItsCharacters) {
    const std::uint8_t text[] = {'f', 'f', 0};
    ElementRecord* t = CreateSign(doc, 100, -30, 24, SignType::Text, 1, text);
    ASSERT_NE(t, nullptr);
    ASSERT_TRUE(t->hasBlob());
    EXPECT_EQ(t->blob.ownerType(), static_cast<unsigned>(SignType::Text));
    EXPECT_EQ(std::vector<std::uint8_t>(t->blob.payload().begin(), t->blob.payload().end()),
              (std::vector<std::uint8_t>{'f', 'f', 0}));
    EXPECT_EQ(t->param, -30);
}

TEST_F(ElementCreationTest, CurveSignsAlwaysHaveTheirControlPoints) {
    const std::uint8_t few[] = {1, 2, 3};
    ElementRecord* c = CreateSign(doc, 100, 0, 0, SignType::Hairpin, 0, few);
    ASSERT_TRUE(c->hasBlob());
    EXPECT_EQ(c->blob.payload().size(), 32u);
    EXPECT_EQ(c->blob.payload()[2], 3u);
}

TEST_F(ElementCreationTest, SignsWithoutPayloadTypeGetNoBlob) {
    const std::uint8_t stray[] = {1, 2};
    ElementRecord* bar = CreateSign(doc, 100, 0, '|', SignType::Bar, 0, stray);
    EXPECT_FALSE(bar->hasBlob());
    EXPECT_EQ(bar->storedSize(), 21u);
}

}  // namespace
}  // namespace notavera
