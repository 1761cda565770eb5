// Where new elements land in a staff and how notes and signs are filled from the insertion state.
#include <gtest/gtest.h>

#include <sstream>
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
    // Writes a staff from left to right: "n100" a C at 100, "c200" a C with the chord bit, "(150" and ")150"
    // parentheses; the last one made is left current.
    void write(const std::string& staff) {
        std::istringstream in(staff);
        for (std::string t; in >> t;) {
            const int x = std::stoi(t.substr(1));
            ElementRecord* e = t[0] == '(' || t[0] == ')' ? CreateParenthesis(doc, x, 1, t[0] == '(')
                                                            : CreateNoteOrRest(doc, x, false, 1);
            ASSERT_NE(e, nullptr) << t;
            if (t[0] == 'c') e->noteWord().setBit(18, true);
        }
    }
    ElementRecord* note(int x, unsigned name, Accidental forced = Accidental::None) {
        doc.insertion.accidental = forced;
        doc.insertion.accidentalForced = forced != Accidental::None;
        return CreateNoteOrRest(doc, x, false, name);
    }
    ScoreDocument doc;
};

struct Placement {
    const char* staff;
    int current;  // the current element when the new one comes
    int x;
    int index;  // where the new one goes
};

TEST_F(ElementCreationTest, NewElementsGoNextToTheCurrentOneByTheirX) {
    const Placement cases[] = {
        {"", -1, 300, 0},
        {"n100 n200", 1, 200, 2},  // at or beyond the current last element: appended
        {"n100 n200", 1, 500, 2},
        {"n100 n200 n300", 1, 100, 0},  // at the first element's x: first
        {"n100 n300", 0, 200, 1},       // right of the current element: after it
        {"n100 n300", 1, 250, 1},       // left of the current last one: before it
        {"n100 n200 n300", 1, 200, 1},  // at a current element inside the staff: before it
        {"n100 c200", 1, 200, 1},       // a last chord note keeps the last place
        {"n100 c200", 1, 210, 2},
        {"n100 n200 )210 n300", 2, 210, 3},  // a closing parenthesis passes its place to the next element
        {"n100 n150 )160", 2, 120, 1},       // … or at the end to the previous one
        {"n50 (100 n300", 1, 150, 1},        // nothing goes between an opening parenthesis and what it opens
        {"n100 n200 n300", -1, 200, 2},      // without a current element the order of x decides
        {"n100 n200 n300", -1, 50, 0},
    };
    for (const Placement& c : cases) {
        SCOPED_TRACE(std::string(c.staff) + " at " + std::to_string(c.x));
        SetUpNewDocument(doc, 1);
        write(c.staff);
        doc.currentElement = c.current;
        ElementRecord e;
        e.x = c.x;
        e.typeWord = 0x5u << 22;  // a G, to tell it from the Cs
        EXPECT_EQ(PlaceNewElement(doc, e), c.index);
        EXPECT_EQ(doc.currentElement, c.index);
        EXPECT_EQ(elements()[static_cast<std::size_t>(c.index)].noteWord().step(), 5u);
        EXPECT_TRUE(doc.modified);
    }
}

TEST_F(ElementCreationTest, OpeningParenthesisIsPlacedAgainstAClosingOneAndNothingWithoutAStaff) {
    write("n100 )200 n300");
    doc.currentElement = 1;
    ElementRecord* open = CreateParenthesis(doc, 200, 1, true);
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(doc.currentElement, 1);
    EXPECT_EQ(open->signWord().pair2(), 1u);
    ScoreDocument empty;
    EXPECT_EQ(PlaceNewElement(empty, ElementRecord{}), -1);
    EXPECT_EQ(CreateNoteOrRest(empty, 100, false, 1), nullptr);
    EXPECT_EQ(CreateSign(empty, 100, 0, '|', SignType::Bar, 0), nullptr);
    EXPECT_FALSE(empty.modified);
}

TEST_F(ElementCreationTest, NamesBelowAndAboveTheOctaveMoveItWithinItsLimits) {
    const std::tuple<unsigned, unsigned, unsigned, unsigned> rule[] = {
        {0, 4, 7, 3}, {0, 0, 7, 0}, {8, 4, 1, 5}, {8, 7, 1, 7}, {9, 2, 2, 3}, {5, 6, 5, 6}};
    for (const auto& [name, octave, step, landsIn] : rule) {
        EXPECT_EQ(ApplyPitchRule(name, octave)->step, step) << name << " " << octave;
        EXPECT_EQ(ApplyPitchRule(name, octave)->octave, landsIn) << name << " " << octave;
    }
    EXPECT_FALSE(ApplyPitchRule(10, 4).has_value());
    doc.insertion.octave = 4;
    ElementRecord* b = CreateNoteOrRest(doc, 100, false, 0);
    EXPECT_EQ(b->noteWord().step(), 7u);
    EXPECT_EQ(b->w0().octave(), 3u);
    EXPECT_EQ(CreateNoteOrRest(doc, 200, false, 10), nullptr);
    EXPECT_EQ(doc.insertion.octave, 4u);  // the rule moves the note, not the insertion octave
    doc.insertion.octave = 0;
    ElementRecord* low = CreateSign(doc, 300, 0, 0, SignType::FreeAccidental, 1);
    EXPECT_EQ(low->signWord().code(), 7u);
    EXPECT_EQ(low->w0().octave(), 0u);
    EXPECT_EQ(CreateSign(doc, 400, 0, 12, SignType::FreeAccidental, 1), nullptr);
}

TEST_F(ElementCreationTest, NoteTakesTheInsertionAttributes) {
    EXPECT_EQ(CreateNoteOrRest(doc, 50, false, 1)->w1().denominator(), 1u);  // a new document's 1:1
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
    EXPECT_FALSE(n->isSign() || n->hasBlob());
    EXPECT_TRUE(n->w0().cueSize());
    EXPECT_EQ(n->w0().crossStaff(), 1u);
    EXPECT_EQ(n->w0().octave(), 5u);
    EXPECT_EQ(std::pair(n->w1().numerator(), n->w1().denominator()), std::pair(3u, 2u));
    const auto w = n->noteWord();
    EXPECT_FALSE(w.rest());
    EXPECT_EQ(std::pair(w.durationCode(), w.dots()), std::pair(5u, 1u));
    EXPECT_EQ(w.step(), 6u);
    EXPECT_TRUE(w.staccato());
    EXPECT_EQ(std::pair(w.headShape(), w.accentType()), std::pair(3u, 6u));
    EXPECT_EQ(n->storedSize(), 17u);
}

// A rest stands on the second line of the clef in force at its place, whatever the insertion octave.
TEST_F(ElementCreationTest, RestTakesTheSecondLineOfTheClefInForceAndNoAccidental) {
    struct Case {
        std::vector<std::pair<int, int>> clefs;  // x and clef number of the clefs written on the staff
        int restX;
        unsigned step, octave;
    };
    const Case cases[] = {{{}, 100, 3, 4},                  // no clef: E4, under clef value 0
                          {{{10, 1}}, 100, 5, 4},           // treble: G4
                          {{{10, 3}}, 100, 7, 2},           // bass: B2
                          {{{10, 10}}, 100, 5, 2},          // F on the fifth line: G2
                          {{{10, 1}, {200, 3}}, 100, 5, 4}, // a later clef has no say yet
                          {{{10, 1}, {200, 3}}, 200, 7, 2}, // a clef at the rest's own x is in force
                          {{{150, 3}}, 100, 3, 4}};
    for (const Case& c : cases) {
        SetUpNewDocument(doc, 1);
        for (const auto& [x, clef] : c.clefs) ASSERT_NE(CreateSign(doc, x, 0, clef, SignType::Clef, 0), nullptr);
        doc.insertion.octave = 6;
        doc.insertion.accidental = Accidental::Sharp;
        doc.insertion.accidentalForced = true;
        ElementRecord* r = CreateNoteOrRest(doc, c.restX, true, 0);
        ASSERT_NE(r, nullptr);
        EXPECT_TRUE(r->isRest());
        EXPECT_EQ(r->noteWord().step(), c.step) << c.restX;
        EXPECT_EQ(r->w0().octave(), c.octave) << c.restX;
        EXPECT_EQ(r->noteWord().accidental(), Accidental::None);
    }
    for (int value = -40; value <= 60; ++value) {
        const RestPitch p = RestPitchUnderClef(value);
        EXPECT_TRUE(p.step >= 1 && p.step <= 7 && p.octave <= 7) << value;
    }
}

// Without a forced accidental a note takes, hidden, the accidental of an earlier note of its bar or of the key.
TEST_F(ElementCreationTest, AccidentalsComeFromTheKeyAndTheBar) {
    doc.staff()->key().setKeyKind(KeyKind::Sharps);
    doc.staff()->key().setKeyCount(2);  // F and C
    const auto accidentalOf = [](const ElementRecord* e) {
        return std::pair{e->noteWord().accidental(), e->noteWord().hiddenAccidental()};
    };
    using A = Accidental;
    EXPECT_EQ(accidentalOf(note(100, 4)), std::pair(A::Sharp, true));
    EXPECT_EQ(accidentalOf(note(110, 5)), std::pair(A::None, false));
    EXPECT_EQ(accidentalOf(note(120, 4, A::Natural)), std::pair(A::Natural, false));  // forced, shown
    EXPECT_EQ(accidentalOf(note(130, 4)), std::pair(A::Natural, true));               // the bar's natural wins
    doc.insertion.octave = 5;
    EXPECT_EQ(accidentalOf(note(140, 4)), std::pair(A::Sharp, true));  // another octave: the key
    doc.insertion.octave = 4;
    note(150, 7, A::Flat);
    EXPECT_EQ(accidentalOf(note(160, 7)), std::pair(A::Flat, true));
    ASSERT_NE(CreateSign(doc, 170, 0, '|', SignType::Bar, 0), nullptr);
    EXPECT_EQ(accidentalOf(note(180, 7)), std::pair(A::None, false));  // the bar line ends it
    ASSERT_NE(CreateSign(doc, 190, 0, 1, SignType::KeyChange, 2), nullptr);  // one flat: B
    EXPECT_EQ(accidentalOf(note(200, 7)), std::pair(A::Flat, true));
}

TEST_F(ElementCreationTest, SecondBarClefOrMeterAtTheCurrentXIsRefused) {
    for (const auto& [type, code] :
         {std::pair{SignType::Bar, int{'|'}}, {SignType::Clef, 1}, {SignType::TimeSignature, 1}}) {
        SetUpNewDocument(doc, 1);
        doc.insertion.timeSigNum = 3;
        ASSERT_NE(CreateSign(doc, 100, 0, code, type, 0), nullptr);
        doc.insertion.timeSigNum = 3;
        doc.modified = false;
        EXPECT_EQ(CreateSign(doc, 100, 0, code, type, 0), nullptr);
        EXPECT_EQ(elements().size(), 1u);
        EXPECT_FALSE(doc.modified);
        EXPECT_EQ(doc.insertion.timeSigNum, 3u);  // a refused meter leaves the insertion state alone
        EXPECT_NE(CreateSign(doc, 200, 0, code, type, 0), nullptr);  // at another x it is made
        doc.currentElement = 0;
        EXPECT_NE(CreateSign(doc, 100, 0, 3, type == SignType::Clef ? SignType::Bar : SignType::Clef, 0), nullptr);
    }
}

TEST_F(ElementCreationTest, SignWordsTakeTypeSubValueCodeAndAttribute) {
    doc.insertion.signAttribute = 0x55;
    ElementRecord* clef = CreateSign(doc, 100, 2, 3, SignType::Clef, 5);
    ASSERT_NE(clef, nullptr);
    EXPECT_EQ(clef->param, 2);
    EXPECT_EQ(clef->signWord().signType(), SignType::Clef);
    EXPECT_EQ(clef->signWord().subValue(), 5u);
    EXPECT_EQ(clef->signWord().code(), 3u);
    EXPECT_EQ(clef->signWord().high7(), 0x55u);
    EXPECT_EQ(clef->w1().numerator(), 1u);
    ElementRecord* key = CreateSign(doc, 110, 0, 3, SignType::KeyChange, 1);
    EXPECT_EQ(key->signWord().high7(), 3u);  // a key change carries its count there
    doc.insertion.timeSigNum = 300;
    doc.insertion.timeSigDen = 4;
    ElementRecord* meter = CreateSign(doc, 120, 0, 1, SignType::TimeSignature, 0);
    EXPECT_EQ(meter->w1().numerator(), 255u);
    EXPECT_EQ(meter->w1().denominator(), 4u);
    EXPECT_EQ(doc.insertion.timeSigNum, 1u);
    EXPECT_EQ(doc.insertion.timeSigDen, 1u);
    EXPECT_EQ(CreateSign(doc, 130, 0, -128, SignType::Bar, 0)->signWord().signedCode(), -128);  // a bracket
    EXPECT_EQ(CreateSign(doc, 135, 0, 255, SignType::Bar, 0)->signWord().code(), 255u);
    EXPECT_EQ(CreateSign(doc, 140, 0, 256, SignType::Bar, 0), nullptr);
    EXPECT_EQ(CreateSign(doc, 140, 0, -129, SignType::Bar, 0), nullptr);
}

}  // namespace
}  // namespace notavera
