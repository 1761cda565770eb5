// Respacing lines: columns, the room after notes and signs, alignment of the staves of a block, settings carried by
// time signatures, and the iteration that fits a line to its length.
#include "render/space_lines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "render/spacing_matrix.h"
#include "render/spacing_sign_gap.h"
#include "score/element_creation.h"
#include "support/guido_document.h"

namespace notavera {
namespace {

constexpr int su = 10;
constexpr int start = 3 * su;  // the first column: the left edge (0 here) and 3 step units

SpacingSettings Plain() {
    SpacingSettings s;
    s.step = su;
    s.stepUnit = su;
    s.rules = AdvanceRules{6, 0, 0};
    s.tolerance = 0;
    s.accidentalWidth = 20;
    s.lineLength = 1800;
    s.timeSignatureEnd = [](const StaffRecord& staff, int index) { return staff.elements[index].x + 6 * su + 20; };
    return s;
}

class SpaceLinesTest : public ::testing::Test {
protected:
    void load(std::string_view gmn) { doc = DocumentFromGuido(gmn); }
    StaffRecord& staff(int i) { return doc.pages[0].staves[static_cast<std::size_t>(i)]; }
    std::vector<int> xs(int i) {
        std::vector<int> v;
        for (const ElementRecord& e : staff(i).elements) v.push_back(e.x);
        return v;
    }
    // A sign placed by its x on staff i.
    ElementRecord& sign(int i, int x, SignType type, int code = 0, unsigned sub = 0) {
        doc.currentStaff = i;
        doc.currentElement = -1;
        ElementRecord* e = CreateSign(doc, x, 0, code, type, sub);
        EXPECT_NE(e, nullptr);
        return *e;
    }
    SpacingResult space(SpacingSettings& s, int staves = 1, SpacingMode mode = SpacingMode::Raw) {
        std::vector<StaffRecord*> block;
        for (int i = 0; i < staves; ++i) block.push_back(&staff(i));
        return SpaceLines(block, mode, s);
    }

    ScoreDocument doc;
    SpacingSettings s = Plain();
};

TEST_F(SpaceLinesTest, NotesAdvanceByTheirValueAndSignsLeaveTheirRoom) {
    struct Case {
        const char* gmn;
        std::vector<int> xs;
    };
    const Case cases[] = {
        {"[g g g]", {start, start + 120, start + 240}},
        {"[g/16 | g/4]", {start, start + 40, start + 80}},  // a short value gets one more step before a bar
        {"[\\meter<\"3/4\"> g]", {start, start + 80 + 30}},  // the time signature's drawn width and distance
        {"[g/16 a#]", {start, start + 30 + 20}},              // room for the accidental after a short value
        {"[\\clef<\"g\"> \\key<3> g g]", {start, start + 100 + 20 * 4 * 3 / 4, start + 100 + 60 + 120}},
    };
    for (const Case& c : cases) {
        load(c.gmn);
        s = Plain();
        const SpacingResult r = space(s);
        EXPECT_EQ(xs(0), c.xs) << c.gmn;
        EXPECT_EQ(r.step, su);
    }
}

TEST_F(SpaceLinesTest, SignsKeepToTheirNoteOrLeaveTheirRoom) {
    struct Case {
        const char* gmn;
        SignType type;
        int code;
        unsigned sub;
        std::vector<int> xs;
    };
    const Case cases[] = {
        {"[g g]", SignType::Curve, 0, 0, {start, start, start + 120}},             // takes no room
        {"[g g]", SignType::FreeDot, 5, 0, {start, start + 15, start + 130}},      // beside its note, a step more
        {"[g/16 g/4]", SignType::Bar, 'R', 0, {start, start + 80, start + 150}},   // a repeat is kept further away
        {"[g g]", SignType::FreeAccidental, 5, 1, {start, start + 120, start + 140}},  // before the next note
    };
    for (const Case& c : cases) {
        load(c.gmn);
        sign(0, staff(0).elements[0].x + 15, c.type, c.code, c.sub);
        s = Plain();
        space(s);
        EXPECT_EQ(xs(0), c.xs) << c.gmn << " " << static_cast<int>(c.type);
    }
}

TEST_F(SpaceLinesTest, ChordMembersShareOneColumn) {
    load("[g]");
    doc.currentStaff = 0;
    doc.currentElement = -1;
    for (unsigned name : {1u, 3u}) CreateNoteOrRest(doc, staff(0).elements[0].x, false, name);
    for (ElementRecord& e : staff(0).elements) e.noteWord().setBit(18, true);
    staff(0).elements[2].noteWord().setBit(19, true);
    doc.currentElement = 2;
    CreateNoteOrRest(doc, 250, false, 1);
    space(s);
    EXPECT_EQ(xs(0), (std::vector{start, start, start, start + 120}));
}

struct KeyChangeCase {
    KeyKind from;
    unsigned fromCount, toKind, toCount;
    bool cancels;
    int accidentalsShown;
};

TEST_F(SpaceLinesTest, AKeyChangeLeavesRoomForTheCancelledAndTheNewAccidentals) {
    const KeyChangeCase cases[] = {{KeyKind::Sharps, 2, 2, 1, false, 3}, {KeyKind::Sharps, 2, 1, 4, false, 4},
                                   {KeyKind::Sharps, 3, 1, 1, false, 4}, {KeyKind::None, 0, 2, 3, false, 3},
                                   {KeyKind::Flats, 3, 2, 3, true, 3}};
    for (const KeyChangeCase& c : cases) {
        load("[g]");
        staff(0).key().setKeyKind(c.from);
        staff(0).key().setKeyCount(c.fromCount);
        ElementRecord& change = sign(0, 10, SignType::KeyChange, 0, c.toKind);
        change.signWord().setHigh7(c.toCount);
        change.signWord().setFlag16(c.cancels);
        s = Plain();
        space(s);
        EXPECT_EQ(staff(0).elements[1].x - staff(0).elements[0].x, c.accidentalsShown * 20 + 6 * su)
            << c.fromCount << " to " << c.toCount;
    }
}

TEST_F(SpaceLinesTest, SignGapsOfDrawingsTextsHiddenMetersAndShiftedAccidentals) {
    load("[g]");
    StaffRecord& st = staff(0);
    st.elements.clear();
    KeyState key;
    const auto none = [](auto&) {};
    // The gap after one sign of `type`, shaped by setUp, with `c` changed by context.
    const auto gap = [&](SignType type, auto&& context, auto&& setUp) {
        SignGapContext c;
        context(c);
        ElementRecord e;
        e.w0().setKind(ElementKind::Sign);
        e.signWord().setSignType(type);
        setUp(e);
        st.elements = {e};
        return SignGap(st, 0, s, c, key);
    };
    EXPECT_EQ(gap(SignType::Drawing, [](auto& c) { c.oldDistance = 77; }, none), 77);
    EXPECT_EQ(gap(SignType::Drawing, [](auto& c) { c.oldDistance = 77; }, [](ElementRecord& e) { e.shift = 3; }), 0);
    EXPECT_EQ(gap(SignType::Text, [](auto& c) { c.pendingGap = 9; }, none), 9);
    EXPECT_EQ(gap(SignType::TimeSignature, none, [](ElementRecord& e) { e.w0().setHidden(true); }), 0);
    s.timeSignatureEnd = nullptr;
    EXPECT_EQ(gap(SignType::TimeSignature, none, none), 6 * su + 3 * su);
    EXPECT_EQ(gap(SignType::FreeAccidental, [](auto& c) { c.nextExists = true; }, none), 20);
    EXPECT_EQ(gap(SignType::FreeAccidental, none, none), 0);
    EXPECT_EQ(gap(SignType::FreeAccidental, [](auto& c) { c.nextExists = true; }, [](ElementRecord& e) { e.w0().setCueSize(true); }),
              0);
    EXPECT_EQ(gap(SignType::Clef, [](auto& c) { c.staffKey = {KeyKind::Flats, 2}; }, none), 100);
    for (char bar : {'O', 'F', 'R'}) {
        EXPECT_EQ(gap(SignType::Bar, none, [bar](ElementRecord& e) { e.signWord().setCode(bar); }), 70) << bar;
    }
    EXPECT_EQ(gap(SignType::Bar, none, [](ElementRecord& e) { e.signWord().setCode('D'); }), 40);
    ElementRecord text;
    text.w0().setKind(ElementKind::Sign);
    text.signWord().setSignType(SignType::Text);
    EXPECT_TRUE(TakesNoRoom(text));
    text.signWord().setTriple(1);  // a text that stands in the music
    EXPECT_FALSE(TakesNoRoom(text));
}

TEST_F(SpaceLinesTest, ATimeSignatureCarriesSpacingSettingsForward) {
    load("[\\meter<\"4/4\"> g g]");
    ElementRecord& meter = staff(0).elements[0];
    meter.w1().setSmallField(5);  // the eighth becomes the reference value
    meter.signWord().setHigh7(12);
    space(s);
    EXPECT_EQ(s.rules.referenceValue, 5);
    EXPECT_EQ(s.step, 12);
    EXPECT_EQ(staff(0).elements[2].x - staff(0).elements[1].x, 6 * 12);  // a quarter is 6 steps of 12
}

TEST_F(SpaceLinesTest, TheOptimisedModeFitsTheLineToItsLength) {
    const std::string eleven = "[g g g g g g g g g g g]";
    load(eleven);
    s.lineLength = start + 10 * 120 + 4 * su;  // ending four steps short: kept
    EXPECT_EQ(space(s, 1, SpacingMode::Optimised).step, su);
    EXPECT_EQ(staff(0).elements.back().x, start + 1200);

    load(eleven);
    s = Plain();
    SpacingResult r = space(s, 1, SpacingMode::Optimised);  // stretched towards its length
    EXPECT_GT(r.step, su);
    EXPECT_EQ(s.step, r.step);
    EXPECT_NEAR(r.lastX, s.lineLength, 10 * su);

    load("[g g g g g g g g g g g g g g g g g g g g]");  // too full: narrowed
    s = Plain();
    r = space(s, 1, SpacingMode::Optimised);
    EXPECT_LT(r.step, su);
    EXPECT_LE(r.lastX, s.lineLength + 10 * su);

    for (int length : {0, 1800}) {  // without a length, or short: spaced once, not stretched
        load("[g g g]");
        s = Plain();
        s.lineLength = length;
        EXPECT_EQ(space(s, 1, SpacingMode::Optimised).step, su);
        EXPECT_EQ(staff(0).elements.back().x, start + 240);
    }
    load("[]");  // an empty staff changes nothing
    s.step = 17;
    EXPECT_EQ(space(s, 1, SpacingMode::Optimised).step, 17);
    EXPECT_EQ(s.step, 17);
}

TEST_F(SpaceLinesTest, TheMatrixWalksByOldXClefsBeforeNotesAndSimultaneousNotesOfTheStavesSideBySide) {
    load("{[g g], [e \\clef<\"f\"> e]}");  // the clef of the second staff at the second note of the first
    std::vector<StaffRecord*> block{&staff(0), &staff(1)};
    std::vector<std::pair<int, int>> order;
    for (const SpacingEntry& e : BuildSpacingMatrix(block, 0)) order.emplace_back(e.staff, e.index);
    EXPECT_EQ(order, (std::vector<std::pair<int, int>>{{0, 0}, {1, 0}, {1, 1}, {0, 1}, {1, 2}}));
}

TEST_F(SpaceLinesTest, NearNotesOfTwoStavesShareAColumnWithinTheTolerance) {
    for (int tolerance : {5, 2}) {
        load("{[g], [e]}");
        staff(1).elements[0].x += 3;
        s.tolerance = tolerance;
        space(s, 2);
        // One column keeps the later note's distance; two columns follow each other.
        EXPECT_EQ(xs(0), (std::vector{tolerance == 5 ? start + 3 : start}));
        EXPECT_EQ(xs(1), (std::vector{tolerance == 5 ? start + 3 : start + 120}));
    }
}

TEST_F(SpaceLinesTest, TheNextColumnFollowsTheShortestValueAndBarsOfTheBlockShareOneColumn) {
    load("{[g/2 g/4 | g], [e/4 e e | e]}");
    space(s, 2);
    EXPECT_EQ(xs(0), (std::vector{start, start + 240, start + 360, start + 400}));
    EXPECT_EQ(xs(1), (std::vector{start, start + 120, start + 240, start + 360, start + 400}));
}

TEST_F(SpaceLinesTest, SimultaneousNotesAreTiedAcrossStavesBeforeOtherSigns) {
    load("{[g g], [e e]}");
    staff(1).elements[1].x += 3;
    sign(1, staff(1).elements[1].x, SignType::Curve);
    s.tolerance = 5;
    space(s, 2);
    EXPECT_EQ(staff(0).elements[1].x, staff(1).elements[1].x);
    ASSERT_EQ(staff(1).elements.size(), 3u);
    EXPECT_LE(staff(1).elements[1].x, staff(1).elements[2].x);
}

TEST_F(SpaceLinesTest, ThePolyphonyCorrectionBringsANoteBackTowardsItsOwnPredecessor) {
    for (int polyphony : {0, 1}) {
        load("{[g/2 g/4], [e/4 | e]}");  // the bar of the other staff pushes the second note right
        s = Plain();
        s.rules.polyphony = polyphony;
        space(s, 2);
        EXPECT_EQ(xs(1), (std::vector{start, start + 120, start + 160}));
        EXPECT_EQ(staff(0).elements[1].x, polyphony != 0 ? start + 240 : start + 280);
    }
}

// Whatever the mixture of elements, respacing keeps every element of every staff, in its order.
TEST_F(SpaceLinesTest, AnyMixtureKeepsEveryElementInOrder) {
    for (unsigned seed = 1; seed <= 20; ++seed) {
        std::mt19937 random(seed);
        load("[]");
        for (int k = 0; k < 2; ++k) {
            int x = 60;
            for (int n = 0; n < 40; ++n) {
                x += static_cast<int>(random() % 40);
                doc.currentStaff = k;
                doc.currentElement = -1;
                switch (random() % 6) {
                    case 0: sign(k, x, SignType::Bar, '|'); break;
                    case 1: sign(k, x, SignType::Clef, 1); break;
                    case 2: sign(k, x, SignType::Curve); break;
                    default: {
                        doc.insertion.durationCode = random() % 11;
                        doc.insertion.dots = random() % 3;
                        const bool rest = random() % 4 == 0;
                        ElementRecord* e = CreateNoteOrRest(doc, x, rest, 1 + random() % 7);
                        ASSERT_NE(e, nullptr);
                        e->noteWord().setAccidental(static_cast<Accidental>(random() % 8));
                        e->noteWord().setStemFlag(random() % 2 != 0);
                        e->w1().setNumerator(1 + random() % 4);
                    }
                }
            }
        }
        const std::size_t sizes[2] = {staff(0).elements.size(), staff(1).elements.size()};
        for (SpacingMode mode : {SpacingMode::Raw, SpacingMode::Optimised}) {
            s = Plain();
            s.tolerance = static_cast<int>(random() % 6);
            s.rules = AdvanceRules{6, static_cast<int>(random() % 3), static_cast<int>(random() % 2)};
            space(s, 2, mode);
            for (int k = 0; k < 2; ++k) {
                ASSERT_EQ(staff(k).elements.size(), sizes[k]) << seed;
                const std::vector<int> v = xs(k);
                EXPECT_TRUE(std::is_sorted(v.begin(), v.end())) << seed;
                EXPECT_GE(v.front(), start) << seed;
            }
            EXPECT_GT(s.step, 0);
        }
    }
}

}  // namespace
}  // namespace notavera
