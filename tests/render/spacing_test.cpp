// Spacing and laying out: note advances, respacing, block alignment, line cuts and page layout.
#include "render/space_lines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "platform/headless/headless_ui.h"
#include "score/staff_layout_model.h"
#include "render/align_block.h"
#include "render/entry_distances.h"
#include "render/line_breaks.h"
#include "render/line_respacing.h"
#include "render/note_advance.h"
#include "render/page_layout.h"
#include "render/recalculate_distances.h"
#include "render/space_blocks.h"
#include "render/spacing_matrix.h"
#include "render/spacing_sign_gap.h"
#include "score/element_creation.h"
#include "score/records.h"
#include "shell/editor_context.h"
#include "support/guido_document.h"
#include "shell/spacing_commands.h"

namespace notavera {
namespace {

constexpr int s = 10;

struct Case {
    unsigned code, dots = 0, num = 1, den = 1;
    AdvanceRules rules{6, 0, 0};
    int advance;  // in page units, for steps of 10
    bool cue = false, rest = false, stemUp = false, beamed = false;
};

class Advance : public ::testing::TestWithParam<Case> {};

TEST_P(Advance, FollowsTheValueAndItsMarks) {
    const Case& c = GetParam();
    ElementRecord e;
    e.noteWord().setDurationCode(c.code);
    e.noteWord().setDots(c.dots);
    e.noteWord().setRest(c.rest);
    e.noteWord().setStemFlag(c.stemUp);
    e.w0().setCueSize(c.cue);
    e.w0().setInBeam(c.beamed);
    e.w1().setNumerator(c.num);
    e.w1().setDenominator(c.den);
    EXPECT_EQ(NoteAdvance(e, c.rules, s), c.advance);
}

INSTANTIATE_TEST_SUITE_P(
    Values, Advance,
    ::testing::Values(
        // Doubling per value above the reference sixteenth, never below three steps.
        Case{.code = 10, .advance = 30}, Case{.code = 6, .advance = 30}, Case{.code = 5, .advance = 60},
        Case{.code = 4, .advance = 120}, Case{.code = 3, .advance = 240}, Case{.code = 2, .advance = 480},
        Case{.code = 1, .advance = 960}, Case{.code = 0, .advance = 960},
        // Proportions: a triplet eighth takes two thirds; never under three steps; a zero field is damage.
        Case{.code = 5, .num = 3, .den = 2, .advance = 40}, Case{.code = 6, .num = 5, .den = 4, .advance = 30},
        Case{.code = 4, .num = 0, .den = 3, .advance = 120},
        // A cue note spaces like the next shorter value, a multi-bar rest like a whole note.
        Case{.code = 4, .advance = 60, .cue = true}, Case{.code = 15, .advance = 480, .rest = true},
        // The aesthetic correction narrows long values to two thirds, capped at 12 steps, a whole note + 4.
        Case{.code = 6, .rules = {6, 1, 0}, .advance = 30}, Case{.code = 5, .rules = {6, 1, 0}, .advance = 40},
        Case{.code = 4, .rules = {6, 1, 0}, .advance = 80}, Case{.code = 3, .rules = {6, 1, 0}, .advance = 120},
        Case{.code = 2, .rules = {6, 1, 0}, .advance = 160},
        // Its variant and polyphony take three quarters, polyphony uncapped; the half note's bonus needs 7.
        Case{.code = 4, .rules = {6, 2, 0}, .advance = 90}, Case{.code = 3, .rules = {6, 2, 0}, .advance = 120},
        Case{.code = 3, .rules = {6, 1, 1}, .advance = 180}, Case{.code = 3, .rules = {7, 1, 0}, .advance = 140},
        // Dots: a half more, a third with the aesthetic correction, three quarters for two...
        Case{.code = 4, .dots = 1, .advance = 180}, Case{.code = 4, .dots = 1, .rules = {6, 1, 0}, .advance = 106},
        Case{.code = 4, .dots = 2, .advance = 210}, Case{.code = 5, .dots = 2, .advance = 100},
        // ...and at the reference value their own room, with more for an up stem's flag outside a beam.
        Case{.code = 6, .dots = 1, .advance = 50}, Case{.code = 6, .dots = 2, .advance = 55},
        Case{.code = 6, .dots = 1, .advance = 60, .stemUp = true},
        Case{.code = 6, .dots = 2, .advance = 65, .stemUp = true},
        Case{.code = 6, .dots = 1, .advance = 50, .stemUp = true, .beamed = true}));

constexpr int su = 10;
constexpr int start = LineStartColumn(0, su);  // the first column, the left edge being 0 here

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

class Layout : public ::testing::Test {
protected:
    // A GUIDO piece on `staves` staves in systems of `size`, voices numbered within each system, lines 1800 long.
    void load(std::string_view gmn, int staves = 2, int size = 1) {
        doc = DocumentFromGuido(gmn);
        StaffLayoutModel& m = doc.layoutModel;
        m.setStaffCount(static_cast<unsigned>(staves));
        for (int i = 0; i < staves; ++i) {
            const int at = i % size;
            staff_model::SystemGrouping::set(m.staffWord(i), size == 1 ? 3u : at == 0 ? 1u : at == size - 1 ? 2u : 0u);
        }
        PageRecord& page = doc.pages[0];
        ApplyStaffLayoutModel(m, page);
        page.lineLength = 1800;
        for (StaffRecord& s : page.staves) s.voice().setVoice(s.voice().positionInGroup());
        doc.settings.aestheticCorrection = false;
        doc.modified = false;
    }
    StaffRecord& staff(int i, int page = 1) { return doc.findPage(page)->staves.at(static_cast<std::size_t>(i)); }
    std::vector<int> xs(int i, int page = 1) {
        std::vector<int> v;
        for (const ElementRecord& e : staff(i, page).elements) v.push_back(e.x);
        return v;
    }
    void setXs(int i, const std::vector<int>& v) {
        ASSERT_EQ(v.size(), staff(i).elements.size());
        for (std::size_t k = 0; k < v.size(); ++k) staff(i).elements[k].x = v[k];
    }
    void on(int i, int element = -1) {
        doc.currentStaff = i;
        doc.currentElement = element;
    }
    bool inOrder(int i, int page = 1) {
        const std::vector<int> v = xs(i, page);
        return std::is_sorted(v.begin(), v.end());
    }
    int count(int i, int page, auto&& which) {
        const auto& els = staff(i, page).elements;
        return static_cast<int>(std::count_if(els.begin(), els.end(), which));
    }
    static bool isNote(const ElementRecord& e) { return !e.isSign(); }
    // Aligns staves 0 and 1 on the slots of staff 0.
    AlignResult align(bool cueAsFull = false) {
        AlignSettings s;
        s.stepUnit = su;
        s.lineLength = 1800;
        s.cueAsFull = cueAsFull;
        std::vector<StaffRecord*> block{&staff(0), &staff(1)};
        return AlignBlock(block, 0, s);
    }
    std::vector<int> messageIds() {
        std::vector<int> ids;
        for (const MessageBoxRequest& m : ui.messages()) ids.push_back(m.stringId);
        return ids;
    }

    // A sign placed by its x on staff i.
    ElementRecord& sign(int i, int x, SignType type, int code = 0, unsigned sub = 0) {
        doc.currentStaff = i;
        doc.currentElement = -1;
        ElementRecord* e = CreateSign(doc, x, 0, code, type, sub);
        EXPECT_NE(e, nullptr);
        return *e;
    }
    // Respaces the first `staves` staves as one block.
    SpacingResult space(SpacingSettings& settings, int staves = 1, SpacingMode mode = SpacingMode::Raw) {
        std::vector<StaffRecord*> block;
        for (int i = 0; i < staves; ++i) block.push_back(&staff(i));
        return SpaceLines(block, mode, settings);
    }

    HeadlessUi ui{nullptr};
    EditorContext ctx{ui};
    ScoreDocument& doc = ctx.doc;
    SpacingSettings s = Plain();
};

TEST_F(Layout, NotesAdvanceByTheirValueAndSignsLeaveTheirRoom) {
    struct Case {
        const char* gmn;
        std::vector<int> xs;
    };
    const Case cases[] = {
        {"[g g g]", {start, start + 120, start + 240}},
        {"[g/16 | g/4]", {start, start + 40, start + 80}},   // a short value gets one more step before a bar
        {"[\\meter<\"3/4\"> g]", {start, start + 80 + 30}},  // the time signature's drawn width and distance
        {"[g/16 a#]", {start, start + 30 + 20}},             // room for the accidental after a short value
        {"[\\clef<\"g\"> \\key<3> g g]", {start, start + 100 + 20 * 4 * 3 / 4, start + 100 + 60 + 120}},
        // An automatic stem below the middle line points up: its flag gets room; above it, it does not.
        {"[\\clef<\"g\"> e/16 g]", {start, start + 100, start + 100 + 50}},
        {"[\\clef<\"g\"> e2/16 g]", {start, start + 100, start + 100 + 30}},
    };
    for (const Case& c : cases) {
        load(c.gmn);
        // As typed: no drawing has decided the automatic stems yet.
        for (ElementRecord& e : staff(0).elements) e.noteWord().setStemFlag(false);
        s = Plain();
        const SpacingResult r = space(s);
        EXPECT_EQ(xs(0), c.xs) << c.gmn;
        EXPECT_EQ(r.step, su);
    }
}

TEST_F(Layout, SignsKeepToTheirNoteOrLeaveTheirRoom) {
    struct Case {
        const char* gmn;
        SignType type;
        int code;
        unsigned sub;
        std::vector<int> xs;
    };
    const Case cases[] = {
        {"[g g]", SignType::Curve, 0, 0, {start, start, start + 120}},                 // takes no room
        {"[g g]", SignType::FreeDot, 5, 0, {start, start + 15, start + 130}},          // beside its note, a step more
        {"[g/16 g/4]", SignType::Bar, 'R', 0, {start, start + 80, start + 150}},       // a repeat is kept further away
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

TEST_F(Layout, ChordMembersShareOneColumn) {
    load("[g]");
    on(0);
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

TEST_F(Layout, AKeyChangeLeavesRoomForTheCancelledAndTheNewAccidentals) {
    const KeyChangeCase cases[] = {{KeyKind::Sharps, 2, 2, 1, false, 3},
                                   {KeyKind::Sharps, 2, 1, 4, false, 4},
                                   {KeyKind::Sharps, 3, 1, 1, false, 4},
                                   {KeyKind::None, 0, 2, 3, false, 3},
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

TEST_F(Layout, ATimeSignatureCarriesSpacingSettingsForward) {
    load("[\\meter<\"4/4\"> g g]");
    ElementRecord& meter = staff(0).elements[0];
    meter.w1().setSmallField(5);  // the eighth becomes the reference value
    meter.signWord().setHigh7(12);
    space(s);
    EXPECT_EQ(std::pair(s.rules.referenceValue, s.step), std::pair(5, 12));
    EXPECT_EQ(staff(0).elements[2].x - staff(0).elements[1].x, 6 * 12);  // a quarter is 6 steps of 12
}

TEST_F(Layout, TheOptimisedModeFitsTheLineToItsLength) {
    const auto fitted = [this](std::string_view gmn, int length) {
        load(gmn);
        s = Plain();
        s.lineLength = length;
        const SpacingResult r = space(s, 1, SpacingMode::Optimised);
        EXPECT_EQ(s.step, r.step);
        return r;
    };
    const std::string eleven = "[g g g g g g g g g g g]";
    EXPECT_EQ(fitted(eleven, start + 10 * 120 + 4 * su).step, su);  // ending four steps short: kept
    const SpacingResult stretched = fitted(eleven, 1800);
    EXPECT_GT(stretched.step, su);
    EXPECT_NEAR(stretched.lastX, 1800, 10 * su);
    const SpacingResult narrowed = fitted("[g g g g g g g g g g g g g g g g g g g g]", 1800);  // too full
    EXPECT_LT(narrowed.step, su);
    EXPECT_LE(narrowed.lastX, 1800 + 10 * su);
    for (int length : {0, 1800}) EXPECT_EQ(fitted("[g g g]", length).step, su);  // no length, or short: spaced once
    EXPECT_EQ(staff(0).elements.back().x, start + 240);
}

TEST_F(Layout, TheMatrixWalksByOldXAndTheNextColumnFollowsTheShortestValueAndBarsOfTheBlockShareOneColumn) {
    load("{[g/2 g/4 | g], [e/4 e e | e]}");
    space(s, 2);
    EXPECT_EQ(xs(0), (std::vector{start, start + 240, start + 360, start + 400}));
    EXPECT_EQ(xs(1), (std::vector{start, start + 120, start + 240, start + 360, start + 400}));
    load("{[g g], [e \\clef<\"f\"> e]}");  // the matrix walks by old x, clefs before notes, staves side by side
    std::vector<StaffRecord*> block{&staff(0), &staff(1)};
    std::vector<std::pair<int, int>> order;
    for (const SpacingEntry& e : BuildSpacingMatrix(block, 0)) order.emplace_back(e.staff, e.index);
    EXPECT_EQ(order, (std::vector<std::pair<int, int>>{{0, 0}, {1, 0}, {1, 1}, {0, 1}, {1, 2}}));
}

TEST_F(Layout, NearNotesOfTwoStavesShareAColumnWithinTheToleranceBeforeOtherSigns) {
    for (int tolerance : {5, 2}) {
        load("{[g g], [e e]}");
        staff(1).elements[1].x += 3;
        sign(1, staff(1).elements[1].x, SignType::Curve);
        s.tolerance = tolerance;
        space(s, 2);
        // One column keeps the later note's distance; two columns follow each other.
        EXPECT_EQ(xs(0)[1], start + 120 + (tolerance == 5 ? 3 : 0));
        EXPECT_EQ(xs(1)[1], tolerance == 5 ? start + 123 : start + 240);
        EXPECT_LE(xs(1)[1], xs(1)[2]);
    }
}

TEST_F(Layout, ThePolyphonyCorrectionBringsANoteBackTowardsItsOwnPredecessor) {
    for (int polyphony : {0, 1}) {
        load("{[g/2 g/4], [e/4 | e]}");  // the bar of the other staff pushes the second note right
        s = Plain();
        s.rules.polyphony = polyphony;
        space(s, 2);
        EXPECT_EQ(xs(1), (std::vector{start, start + 120, start + 160}));
        EXPECT_EQ(staff(0).elements[1].x, polyphony != 0 ? start + 240 : start + 280);
    }
    // Brought back, a note keeps the room of its accidental from the other staff's column before it.
    load("{[c/8 _/8 a#/16], [e/16 f g a _/4]}");
    s = Plain();
    s.rules.polyphony = 1;
    space(s, 2);
    EXPECT_GE(staff(0).elements[2].x - staff(1).elements[3].x, 3 * su + s.accidentalWidth);
}

// Whatever the mixture of elements, respacing keeps every element of every staff, in its order.
TEST_F(Layout, AnyMixtureKeepsEveryElementInOrder) {
    for (unsigned seed = 1; seed <= 20; ++seed) {
        std::mt19937 random(seed);
        load("[]");
        for (int k = 0, x = 60; k < 2; ++k, x = 60) {
            for (int n = 0; n < 40; ++n) {
                x += static_cast<int>(random() % 40);
                const SignType types[] = {SignType::Bar, SignType::Clef, SignType::Curve};
                if (const unsigned kind = random() % 6; kind < 3) {
                    sign(k, x, types[kind], kind == 0 ? '|' : 1);
                    continue;
                }
                doc.insertion.durationCode = random() % 11;
                doc.insertion.dots = random() % 3;
                ElementRecord* e = CreateNoteOrRest(doc, x, random() % 4 == 0, 1 + random() % 7);
                e->noteWord().setAccidental(static_cast<Accidental>(random() % 8));
                e->noteWord().setStemFlag(random() % 2 != 0);
                e->w1().setNumerator(1 + random() % 4);
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
                EXPECT_TRUE(std::is_sorted(v.begin(), v.end()) && v.front() >= start) << seed;
            }
            EXPECT_GT(s.step, 0);
        }
    }
}

TEST_F(Layout, EighthsTakeTheSlotsBetweenTheQuartersAndAStaffEndingEarlyIsReported) {
    load("{[g g g], [e/8 e e e e e]}", 2, 2);
    setXs(0, {100, 220, 340});
    setXs(1, {90, 140, 190, 240, 290, 340});
    EXPECT_TRUE(align().unfinished.empty());
    EXPECT_EQ(xs(0), (std::vector{100, 220, 340}));
    EXPECT_EQ(xs(1), (std::vector{100, 160, 220, 280, 340, 370}));
    staff(1).elements.pop_back();
    const AlignResult r = align();
    EXPECT_TRUE(r.aligned);
    ASSERT_EQ(r.unfinished, (std::vector{1}));
    std::vector<StaffRecord*> block{&staff(0), &staff(1)};
    EXPECT_EQ(UnfinishedStavesText(block, r.unfinished), "{2,2} ");
}

TEST_F(Layout, TupletsOfTwoStavesMeetExactlyAndMusicOfDifferentTimesStandsApart) {
    // Triplet quarters over quintuplet eighths, as 1/28 against 1/24 would be: only exact times keep them in order.
    load("{[g*1/6 g g], [e*1/10 e e e e]}", 2, 2);
    setXs(0, {100, 140, 180});
    setXs(1, {100, 110, 120, 130, 140});
    EXPECT_TRUE(align().unfinished.empty());
    const std::vector<int> upper = xs(0), lower = xs(1);
    EXPECT_EQ(upper[0], lower[0]);
    // In time order: 0, 1/10, 1/6, 2/10, 3/10, 1/3, 4/10.
    const std::vector<int> inTime{lower[0], lower[1], upper[1], lower[2], lower[3], upper[2], lower[4]};
    for (std::size_t k = 1; k < inTime.size(); ++k) EXPECT_GE(inTime[k] - inTime[k - 1], 3 * su) << k;
}

TEST_F(Layout, AlignedSignsKeepTheirDistanceToTheNoteBeforeButComeNoNearerTheNoteAfterAndBarsClosingOneBarMeet) {
    load("{[g | g], [e/8 e | e/4]}", 2, 2);
    setXs(0, {100, 200, 230});
    setXs(1, {100, 150, 190, 220});
    align();
    // The times within a bar are spread up to its bar line, not up to the note after it.
    EXPECT_EQ(xs(1), (std::vector{100, 150, 200, 230}));
    // A bar and a time signature far after the note before them stay in front of the note they open.
    load("{[g/2 | g], [e/16 e e e e e e e | \\meter<\"4/4\"> e/4]}", 2, 2);
    setXs(0, {100, 300, 330});
    setXs(1, {100, 110, 120, 130, 140, 150, 160, 170, 200, 260, 320});
    align();
    const std::vector<int> after = xs(1);
    EXPECT_LT(after[9], after[10]) << "the time signature before the note";
    EXPECT_EQ(after[10], xs(0)[2]);
    load("{[g | g], [e/8 e | e/4]}", 2, 2);
    setXs(0, {100, 200, 230});
    setXs(1, {100, 150, 190, 220});
    align();
    EXPECT_EQ(xs(0)[2], xs(1)[3]);
    // A bar followed by a time change meets the other staves' bars, its time signature moving with it.
    load("{[g/2 | \\meter<\"3/4\"> g], [e/4 e | \\meter<\"3/4\"> e]}", 2, 2);
    setXs(0, {100, 200, 240, 330});
    setXs(1, {100, 150, 250, 290, 330});
    align();
    const std::vector<int> top = xs(0), bottom = xs(1);
    EXPECT_EQ(std::vector(top.begin() + 1, top.end()), std::vector(bottom.begin() + 2, bottom.end()));

    load("{[f f f f | e/2 |], [g/1 | g/2 |]}", 2, 2);
    setXs(0, {100, 140, 180, 220, 300, 340, 400});
    setXs(1, {100, 260, 300, 380});
    align();
    const std::vector<int> upper = xs(0), lower = xs(1);
    EXPECT_EQ(upper[4], lower[1]) << "the bar before the second bar's first note";
    EXPECT_EQ(upper[5], lower[2]);
    EXPECT_GT(lower[1], lower[0]);
    EXPECT_LT(lower[1], lower[2]);
    EXPECT_EQ(upper.back(), lower.back()) << "the closing bars";

    // A bar followed by a clef change meets the other bars too: the music from the next note on moves right so that
    // the clef keeps its room.
    load("{[g/2 | g], [e/2 | \\clef<\"f\"> e]}", 2, 2);
    setXs(0, {100, 200, 260});
    setXs(1, {100, 150, 190, 260});
    align();
    const std::vector<int> treble = xs(0), bass = xs(1);
    EXPECT_EQ(treble[1], bass[1]);
    EXPECT_EQ(treble[2], bass[3]);
    EXPECT_GE(bass[3] - bass[2], 7 * su);
    EXPECT_GT(bass[2], bass[1]);
}

// Where the leading staff is tight, shorter values of another staff push the music after them right: they stand clear
// of the bar line that follows them, and a clef changed between two of them keeps its room.
TEST_F(Layout, TheBarLinesClefsGraceNotesAndAccidentalsOfAnotherStaffGetRoomBetweenItsNotes) {
    load("{[g/8 g | g], [e/16 e e e | e/4]}", 2, 2);
    setXs(0, {100, 130, 160, 190});
    setXs(1, {100, 110, 120, 130, 160, 190});
    align();
    std::vector<int> lower = xs(1);
    EXPECT_GE(lower[4] - lower[3], 3 * su) << "the last sixteenth before the bar line";
    EXPECT_EQ(xs(0)[2], lower[4]);
    EXPECT_LT(lower[4], lower[5]);
    load("{[g/8 g g], [e/8 \\clef<\"f\"> e e]}", 2, 2);
    setXs(0, {100, 130, 160});
    setXs(1, {100, 140, 200, 230});
    align();
    lower = xs(1);
    EXPECT_EQ(lower[1] - lower[0], 40) << "the clef keeps its distance to the note before it";
    EXPECT_EQ(lower[2] - lower[1], 60) << "and to the note after it";
    EXPECT_EQ(xs(0)[1], lower[2]);
    load("{[g/8 g g], [e/8 \\grace(f/16) e e]}", 2, 2);
    setXs(0, {100, 130, 160});
    setXs(1, {100, 140, 200, 230});
    align();
    lower = xs(1);
    EXPECT_EQ(lower[1] - lower[0], 40) << "a grace note takes no time but keeps its room";
    EXPECT_EQ(lower[2] - lower[1], 60);
    load("{[g/8 g g], [e/8 f# e]}", 2, 2);
    setXs(0, {100, 130, 160});
    setXs(1, {100, 150, 200});
    align();
    EXPECT_EQ(xs(1)[1] - xs(1)[0], 50) << "and so does an accidental";
    load("{[g/16 a b c], [e/8 f# e]}", 2, 2);
    setXs(0, {100, 130, 160, 190});
    setXs(1, {100, 150, 200});
    align();
    EXPECT_GE(xs(1)[1] - xs(0)[1], 50) << "an accidental also clears the other staff's note just before it";
}

TEST_F(Layout, AlignmentStartsAtTheLatestFirstNoteLeavesCueNotesOutAndABlockWithoutNotesAlone) {
    load("{[g g], [e e]}", 2, 2);
    setXs(0, {100, 220});
    setXs(1, {150, 270});
    align();
    EXPECT_EQ(xs(0), (std::vector{150, 270}));
    EXPECT_EQ(xs(1), xs(0));

    load("{[g g], [e e/16 e/4]}", 2, 2);
    staff(1).elements[1].w0().setCueSize(true);
    EXPECT_TRUE(align().unfinished.empty());
    EXPECT_EQ(align(true).unfinished, (std::vector{1}));

    load("[|]", 2, 2);
    EXPECT_FALSE(align().aligned);
    EXPECT_EQ(xs(0), (std::vector{40}));
}

TEST_F(Layout, AligningAgainstAMarkedStaffReportsItByNumberAndCueNotesAreAskedAboutUntilTheUserRefuses) {
    load("{[g g g], [], [e/8 e e e e]}", 4, 2);
    on(0);
    AlignBlock(ctx.doc, ctx.ui, 2);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].text, "Erreurs: Portée 3 - ");
    load("{[g g], [e/8 e e e]}", 2, 2);
    staff(1).elements[1].w0().setCueSize(true);  // cue notes are asked about until the user refuses
    on(1);  // the alignment starts from the block's first staff whatever staff is current
    ui.queueAnswer(MessageAnswer::Yes);
    AlignBlock(ctx.doc, ctx.ui);
    EXPECT_EQ(std::tuple(doc.currentStaff, messageIds().at(1), doc.cueNotesRefused), std::tuple(0, 48, false));
    ui.queueAnswer(MessageAnswer::No);
    AlignBlock(ctx.doc, ctx.ui);
    EXPECT_TRUE(doc.cueNotesRefused);
    const std::size_t asked = ui.messages().size();
    AlignBlock(ctx.doc, ctx.ui);
    const std::vector<int> ids = messageIds();
    EXPECT_EQ(std::count(ids.begin() + static_cast<std::ptrdiff_t>(asked), ids.end(), 48), 0);
}

// Two blocks of two staves: quarters over eighths.
constexpr const char* TwoBlocks = "{[g g g g], [e/8 e e e e e e e], [g g g g], [e/8 e e e e e e e]}";

TEST_F(Layout, TheWholePageAndRecalculatingDistancesAlignEveryBlockAndRestoreTheStepUnit) {
    for (bool recalculate : {false, true}) {
        load(TwoBlocks, 4, 2);
        for (int s : {1, 3})
            for (ElementRecord& e : staff(s).elements) e.x += 3 + e.x / 7;
        doc.spacingStep = 13;
        on(1);
        ASSERT_EQ(recalculate ? RecalculateDistances(ctx.doc, ctx.ui, ctx.shell.settings.distanceSteps, ctx.shell.view.continuousView) : SpaceBlocks(ctx.doc, ctx.ui, ctx.shell.settings.distanceSteps, BlockSpacing::WholePage), 1);
        for (int s : {0, 2})
            for (std::size_t k = 0; k < 4; ++k)
                EXPECT_EQ(staff(s + 1).elements[2 * k].x, staff(s).elements[k].x) << s << " " << k;
        EXPECT_TRUE(ui.messages().empty());
        if (recalculate) {
            EXPECT_EQ(doc.spacingStep, doc.stepUnit);
        }
    }
    on(5);
    EXPECT_EQ(RecalculateDistances(ctx.doc, ctx.ui, ctx.shell.settings.distanceSteps, ctx.shell.view.continuousView), 0);  // without a staff nothing happens
}

TEST_F(Layout, TheBlockAlignsSimultaneousNotesWhichEachLineOfItDoesNot) {
    load("{[g/2 g], [e/4 e e e]}", 2, 2);
    on(1);
    EXPECT_EQ(SpaceLines(ctx.doc, ctx.shell.settings.distanceSteps, SpacingTarget::CurrentBlock, SpacingMode::Raw), su);
    EXPECT_EQ(staff(0).elements[1].x, staff(1).elements[2].x);
    EXPECT_TRUE(doc.modified);
    setXs(0, {100, 200});
    SpaceLines(ctx.doc, ctx.shell.settings.distanceSteps, SpacingTarget::EachLineOfBlock, SpacingMode::Raw);
    EXPECT_EQ(xs(0), (std::vector{start, start + 24 * su}));
    EXPECT_EQ(xs(1), (std::vector{start, start + 12 * su, start + 24 * su, start + 36 * su}));
}

TEST_F(Layout, InARegionTheAestheticCorrectionIsStrongerAnOptimisedStepIsKeptAndWithoutMusicNothingIsRespaced) {
    load("[g g g g g g]");
    setXs(0, {100, 200, 300, 400, 500, 600});
    doc.settings.aestheticCorrection = true;
    on(0);
    SpaceLines(ctx.doc, ctx.shell.settings.distanceSteps, SpacingTarget::CurrentLine, SpacingMode::Raw, SpacingRegion{300, 400, std::nullopt});
    // A quarter advances 12 steps × 3/4 inside the region, where the whole line would give it 12 × 2/3.
    EXPECT_EQ(xs(0), (std::vector{100, 200, 300, 390, 490, 590}));
    SpaceLines(ctx.doc, ctx.shell.settings.distanceSteps, SpacingTarget::CurrentLine, SpacingMode::Raw);
    EXPECT_EQ(staff(0).elements[2].x - staff(0).elements[1].x, 8 * su);
    EXPECT_TRUE(doc.settings.aestheticCorrection) << "the document keeps its own setting";
    load("[g g g g g g g g g g g g]");  // an optimised step becomes the document's
    on(0);
    const int step = SpaceLines(ctx.doc, ctx.shell.settings.distanceSteps, SpacingTarget::CurrentLine, SpacingMode::Optimised);
    EXPECT_GT(step, su);
    EXPECT_EQ(doc.spacingStep, step);
    EXPECT_NEAR(staff(0).elements.back().x, 1800, 10 * su);
    load("[]");
    on(0);
    EXPECT_EQ(SpaceLines(ctx.doc, ctx.shell.settings.distanceSteps, SpacingTarget::CurrentBlock, SpacingMode::Optimised), 0);
    EXPECT_FALSE(doc.modified);
    on(9);
    EXPECT_EQ(SpaceLines(ctx.doc, ctx.shell.settings.distanceSteps, SpacingTarget::CurrentLine, SpacingMode::Raw), 0);
}

class MarkerX : public Layout {
protected:
    void SetUp() override {
        load("{[\\clef<\"g\"> g g g g |], [e/8 e e e e e e e]}", 2, 2);
        setXs(0, {30, 100, 200, 300, 400, 450});
        setXs(1, {100, 150, 200, 250, 300, 350, 400, 450});
    }
};

TEST_F(MarkerX, JustifyStretchesTheBlockFromItsFirstNoteToMarkerXButNotFromBeforeIt) {
    on(0);
    EXPECT_EQ(JustifyToMarkerX(ctx, 80), 0);
    EXPECT_EQ(ui.beeps(), 1);
    EXPECT_EQ(xs(0), (std::vector{30, 100, 200, 300, 400, 450}));
    ASSERT_EQ(JustifyToMarkerX(ctx, 800), 1);
    EXPECT_EQ(xs(0), (std::vector{30, 100, 300, 500, 700, 800}));
    EXPECT_EQ(staff(1).elements.front().x, 100);
    EXPECT_EQ(staff(1).elements[2].x, staff(0).elements[2].x);  // simultaneous notes stay together
    EXPECT_TRUE(doc.modified);
}

TEST_F(MarkerX, MoveBlockTakesTheCurrentElementAndWhatFollowsToMarkerXButNotPastTheOneInFront) {
    on(0, 3);  // the note at 300
    ASSERT_EQ(MoveBlockToMarkerX(ctx, 500), 1);
    EXPECT_EQ(xs(0), (std::vector{30, 100, 200, 500, 600, 650}));
    EXPECT_EQ(std::pair(staff(1).elements[3].x, staff(1).elements[4].x), std::pair(250, 500));
    ASSERT_EQ(MoveBlockToMarkerX(ctx, 0), 1);  // leftwards it stops at the element in front
    EXPECT_EQ(staff(0).elements[3].x, 250);
    EXPECT_TRUE(inOrder(0));
}

TEST_F(Layout, NoteEntryAdvancesLikeTheRespacing) {
    load("[g/16 g/4. g/12 \\meter<\"3/4\"> g/4]", 1);
    doc.spacingStep = 6;
    const auto after = [this](std::size_t i) { return CursorAdvanceAfterNote(ctx.doc, staff(0).elements[i]); };
    EXPECT_EQ((std::vector{after(0), after(1), after(2), DistanceAfterBar(ctx.doc, ctx.shell.settings.distanceSteps), DistanceAfterClef(ctx.doc, ctx.shell.settings.distanceSteps)}),
              (std::vector{3 * 6, 18 * 6, 4 * 6, 4 * 6, 10 * 6}));
    doc.insertion.durationCode = 3;
    EXPECT_EQ(InsertionBoxGap(ctx.doc), 24 * 6);
    EXPECT_GT(DistanceAfterTimeSignature(ctx.doc, ctx.shell.settings.distanceSteps, doc.pages[0], staff(0), 3), 3 * 6);
    staff(0).elements[3].w0().setHidden(true);  // a hidden time signature leaves only the distance
    EXPECT_EQ(DistanceAfterTimeSignature(ctx.doc, ctx.shell.settings.distanceSteps, doc.pages[0], staff(0), 3), 3 * 6);
    doc.spacingStep = su;
    doc.settings.aestheticCorrection = true;  // shortens long values as the respacing does
    EXPECT_EQ(std::pair(after(4), after(0)), std::pair(12 * su * 2 / 3, 3 * su));
}

class LineCuts : public Layout {
protected:
    // Four G, a bar and four F on the first line; two E on the second.
    void SetUp() override { load("{[\\clef<\"g\"> g g g g | f f f f], [\\clef<\"g\"> e e]}"); }
    int notes(int i, int page, unsigned name) {
        return count(i, page, [name](const ElementRecord& e) { return !e.isSign() && e.noteWord().step() == name; });
    }
    int between(int i, int k) { return (staff(i).elements[k].x + staff(i).elements[k + 1].x) / 2; }
};

TEST_F(LineCuts, DownMovesTheRestOfTheLineToTheStartOfTheNextAndOnTheLastLineToANewPage) {
    on(0);
    ASSERT_EQ(CutLine(ctx, between(0, 5), LineCut::Down), 1);
    EXPECT_EQ(notes(0, 1, 5), 4);
    EXPECT_EQ(notes(0, 1, 4), 0);
    EXPECT_TRUE(staff(0).elements.back().isSignOfType(SignType::Bar));
    EXPECT_EQ(notes(1, 1, 4), 4);
    EXPECT_EQ(notes(1, 1, 3), 2);
    const auto& next = staff(1).elements;
    EXPECT_TRUE(next.front().isSignOfType(SignType::Clef));  // the line keeps its own clef first
    EXPECT_EQ(next[1].noteWord().step(), 4u);                // then the music it received
    EXPECT_EQ(next.back().noteWord().step(), 3u);            // its own music last
    EXPECT_TRUE(inOrder(1));
    EXPECT_TRUE(doc.modified);
    on(1);
    ASSERT_EQ(CutLine(ctx, between(1, 5), LineCut::Down), 1);
    ASSERT_EQ(doc.pageCount, 2);
    EXPECT_EQ(notes(0, 2, 3), 1);
    EXPECT_FALSE(staff(0, 2).key().indented());
}

TEST_F(LineCuts, TheNextLineBeginsInTheKeyInForceWhereItsMusicComesFrom) {
    load("{[\\clef<\"g\"> g g | \\key<2> f f], [\\clef<\"g\"> e e]}");
    on(0);
    ASSERT_EQ(CutLine(ctx, between(0, 4), LineCut::Down), 1);
    EXPECT_EQ(staff(1).key().keyKind(), KeyKind::Sharps);
    EXPECT_EQ(staff(1).key().keyCount(), 2u);
}

TEST_F(LineCuts, UpMovesTheStartOfTheLineToTheEndOfThePreviousOneButNotOnTheFirstLine) {
    on(1);
    ASSERT_EQ(CutLine(ctx, between(1, 1), LineCut::Up), 1);
    EXPECT_EQ(notes(1, 1, 3), 1);
    EXPECT_EQ(notes(0, 1, 3), 1);
    EXPECT_EQ(staff(0).elements.back().noteWord().step(), 3u);
    EXPECT_TRUE(inOrder(0));
    on(0);
    EXPECT_EQ(CutLine(ctx, between(0, 2), LineCut::Up), 0);
    EXPECT_EQ(ui.beeps(), 1);
    EXPECT_EQ(notes(0, 1, 5), 4);
}

TEST_F(LineCuts, ACutInsideABeamGroupOrATupletIsRefused) {
    load("{[\\clef<\"g\"> \\beam(g/8 g g g) f/4 f/12 f f], [e]}");
    on(0);
    EXPECT_EQ(CutLine(ctx, between(0, 2), LineCut::Down), 0);
    EXPECT_EQ(messageIds(), (std::vector{54}));
    EXPECT_EQ(notes(0, 1, 5), 4);
    EXPECT_EQ(CutLine(ctx, between(0, 6), LineCut::Down), 0);
    EXPECT_EQ(messageIds(), (std::vector{54, 54}));
    // After the group's last note the cut goes through.
    EXPECT_EQ(CutLine(ctx, between(0, 4), LineCut::Down), 1);
}

TEST_F(Layout, EveryLineStartsWithItsVoicesLastClefOrTheAltoClef) {
    load("{[g g], [g g]}");
    staff(1).voice().setVoice(2);  // a voice of its own, without a clef yet
    on(0);
    LayOutPage(ctx.doc, ctx.ui, ctx.shell.settings.distanceSteps, PageLayoutMode::RawPage);
    ASSERT_TRUE(staff(0).elements.front().isSignOfType(SignType::Clef));
    EXPECT_EQ(staff(0).elements.front().signWord().code(), 7u);
    EXPECT_EQ(staff(1).elements.front().signWord().code(), 7u);
    // A bass clef on the first line is what the voice's next line begins with; a clef after music is no line clef.
    load("{[\\clef<\"f\"> g g], [g g]}");
    LayOutPage(ctx.doc, ctx.ui, ctx.shell.settings.distanceSteps, PageLayoutMode::RawPage);
    EXPECT_EQ(staff(1).elements.front().signWord().code(), 3u);
    EXPECT_EQ(staff(1).elements.size(), 3u);
    EXPECT_TRUE(inOrder(1));
    load("[g \\clef<\"f\"> g]");
    LayOutPage(ctx.doc, ctx.ui, ctx.shell.settings.distanceSteps, PageLayoutMode::RawPage);
    ASSERT_EQ(staff(0).elements.size(), 4u);
    EXPECT_EQ(staff(0).elements.front().signWord().code(), 7u);
}

TEST_F(Layout, LineStartSignsAreOrderedClefKeyTimeSignatureAndATimeSignatureEndingALineOpensTheNext) {
    load("[g g]");
    sign(0, 10, SignType::TimeSignature, 1);
    sign(0, 15, SignType::KeyChange, 2, 1);
    sign(0, 20, SignType::Clef, 1);
    on(0);
    LayOutPage(ctx.doc, ctx.ui, ctx.shell.settings.distanceSteps, PageLayoutMode::RawPage);
    const auto& els = staff(0).elements;
    ASSERT_EQ(els.size(), 5u);
    EXPECT_TRUE(els[0].isSignOfType(SignType::Clef));
    EXPECT_TRUE(els[1].isSignOfType(SignType::KeyChange));
    EXPECT_TRUE(els[2].isSignOfType(SignType::TimeSignature));
    EXPECT_TRUE(inOrder(0));
    EXPECT_LT(els[2].x, els[3].x);

    load("{[\\clef<\"g\"> g g \\meter<\"3/4\">], [\\clef<\"g\"> g g g]}");
    on(0);
    LayOutPage(ctx.doc, ctx.ui, ctx.shell.settings.distanceSteps, PageLayoutMode::RawPage);
    EXPECT_EQ(count(0, 1, [](const ElementRecord& e) { return e.isSignOfType(SignType::TimeSignature); }), 0);
    ASSERT_GE(staff(1).elements.size(), 2u);
    EXPECT_TRUE(staff(1).elements[0].isSignOfType(SignType::Clef));
    EXPECT_TRUE(staff(1).elements[1].isSignOfType(SignType::TimeSignature));
    EXPECT_EQ(staff(1).elements[1].w1().numerator(), 3u);
    EXPECT_TRUE(inOrder(1));
}

TEST_F(Layout, ALongLineIsBrokenAtItsLastBarThatFitsTheReceivingLinesOwnMusicLastAndTheRestOnANewPage) {
    std::string bars;
    for (int m = 0; m < 9; ++m) bars += "g g g g | ";
    load("{[\\clef<\"g\"> " + bars + "], [\\clef<\"g\"> e e]}");
    on(0);
    LayOutPage(ctx.doc, ctx.ui, ctx.shell.settings.distanceSteps, PageLayoutMode::RawPage);
    ASSERT_EQ(doc.pageCount, 2);
    int total = 0;
    for (int page = 1; page <= 2; ++page)
        for (int i = 0; i < 2; ++i) total += count(i, page, isNote);
    EXPECT_EQ(total, 38);
    EXPECT_TRUE(staff(0).elements.back().isSignOfType(SignType::Bar));  // broken after a bar
    // The receiving line's own notes (E) come last in the voice.
    const auto& last = staff(staff(1, 2).elements.empty() ? 0 : 1, 2).elements;
    auto lastNote = std::find_if(last.rbegin(), last.rend(), isNote);
    ASSERT_NE(lastNote, last.rend());
    EXPECT_EQ(lastNote->noteWord().step(), 3u);
}

// "Recalculer Distances" lays the page out and then makes its final pass: both meet the same line, which the user
// hears about once; each line that cannot be broken is named once, and again by the next command.
TEST_F(Layout, EachUnbreakableLineIsReportedOncePerCommand) {
    const std::string twelve = "\\clef<\"g\"> g g g g g g g g g g g g g g g g";
    load("{[" + twelve + "], []}");
    const std::vector<ElementRecord> before = staff(0).elements;
    on(0);
    RecalculateDistances(ctx.doc, ctx.ui, ctx.shell.settings.distanceSteps, ctx.shell.view.continuousView);
    EXPECT_EQ(messageIds(), (std::vector{51}));
    EXPECT_EQ(staff(0).elements.size(), before.size());
    EXPECT_TRUE(staff(1).elements.empty());
    staff(1).elements = before;
    on(0);
    RecalculateDistances(ctx.doc, ctx.ui, ctx.shell.settings.distanceSteps, ctx.shell.view.continuousView);
    EXPECT_EQ(messageIds(), (std::vector{51, 51, 51}));
}

// Every line but the piece's last is stretched to the line's end, however little it holds; the last one only when
// two thirds full.
TEST_F(Layout, JustifyingStretchesEveryLineButAShortLastOne) {
    struct Case {
        int firstEnd, lastEnd;  // where the music of the two lines ends before and after
        int firstAfter, lastAfter;
    };
    for (const Case c : {Case{1000, 200, 1800, 200}, Case{1000, 900, 1800, 900}, Case{500, 1300, 1800, 1800}}) {
        load("{[\\clef<\"g\"> g g g g g |], [\\clef<\"g\"> g g]}");
        setXs(0, {30, 100, 300, 400, 450, c.firstEnd - 20, c.firstEnd});
        setXs(1, {30, 100, c.lastEnd});
        LayOutPage(ctx.doc, ctx.ui, ctx.shell.settings.distanceSteps, PageLayoutMode::JustifyPage);
        EXPECT_EQ(staff(0).elements.front().x, 30);  // line-start signs stay
        EXPECT_EQ(staff(0).elements[1].x, 100);      // the first note anchors the stretch
        EXPECT_EQ(staff(0).elements.back().x, c.firstAfter);
        EXPECT_EQ(staff(1).elements.back().x, c.lastAfter - (c.lastAfter == 1800 ? 30 : 0));
    }
}

}  // namespace
}  // namespace notavera
