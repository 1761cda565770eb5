// Laying out the open document: block alignment and its reports, respacing a line, a block or a region, the
// commands up to marker X, the distances of note entry, the user's line cuts, and the page layout that puts
// clefs and time signatures at line starts and breaks lines at their last bar that fits.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/headless/headless_ui.h"
#include "print/staff_layout_model.h"
#include "render/align_block.h"
#include "render/entry_distances.h"
#include "render/line_breaks.h"
#include "render/line_respacing.h"
#include "render/page_layout.h"
#include "render/recalculate_distances.h"
#include "render/space_blocks.h"
#include "score/element_creation.h"
#include "shell/editor_context.h"
#include "support/guido_document.h"

namespace notavera {
namespace {

constexpr int su = 10;

class Layout : public ::testing::Test {
protected:
    // A GUIDO piece on `staves` staves in systems of `size` staves whose voices are numbered 1, 2, … within each
    // system, as parts are, on lines 1800 long.
    void load(std::string_view gmn, int staves = 2, int size = 1) {
        ctx.doc = DocumentFromGuido(gmn);
        StaffLayoutModel& m = ctx.doc.layoutModel;
        m.setStaffCount(static_cast<unsigned>(staves));
        for (int i = 0; i < staves; ++i) {
            const int at = i % size;
            staff_model::SystemGrouping::set(m.staffWord(i), size == 1 ? 3u : at == 0 ? 1u : at == size - 1 ? 2u : 0u);
        }
        PageRecord& page = ctx.doc.pages[0];
        ApplyStaffLayoutModel(m, page);
        page.lineLength = 1800;
        for (StaffRecord& s : page.staves) s.voice().setVoice(s.voice().positionInGroup());
        ctx.doc.settings.aestheticCorrection = false;
        ctx.doc.modified = false;
    }
    StaffRecord& staff(int i, int page = 1) { return ctx.doc.findPage(page)->staves.at(static_cast<std::size_t>(i)); }
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
        ctx.doc.currentStaff = i;
        ctx.doc.currentElement = element;
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

    HeadlessUi ui{nullptr};
    EditorContext ctx{ui};
};

// ---- Aligning a block on the slots of its first staff ----


TEST_F(Layout, EighthsTakeTheSlotsBetweenTheQuartersAndAStaffEndingEarlyIsReported) {
    for (int eighths : {6, 5}) {
        load("{[g g g], [e/8 e e e e e]}", 2, 2);
        staff(1).elements.resize(static_cast<std::size_t>(eighths));
        setXs(0, {100, 220, 340});
        std::vector<int> lower{90, 140, 190, 240, 290, 340};
        lower.resize(static_cast<std::size_t>(eighths));
        setXs(1, lower);
        const AlignResult r = align();
        std::vector<StaffRecord*> block{&staff(0), &staff(1)};
        EXPECT_TRUE(r.aligned);
        EXPECT_EQ(xs(0), (std::vector{100, 220, 340}));
        if (eighths == 6) {
            EXPECT_TRUE(r.unfinished.empty());
            EXPECT_EQ(xs(1), (std::vector{100, 160, 220, 280, 340, 370}));
        } else {
            ASSERT_EQ(r.unfinished, (std::vector{1}));
            EXPECT_EQ(UnfinishedStavesText(block, r.unfinished), "{2,2} ");
        }
    }
}

TEST_F(Layout, AlignedSignsKeepTheirDistanceToTheNoteBeforeAndBarsClosingOneBarStandAtOneX) {
    load("{[g | g], [e/8 e | e/4]}", 2, 2);
    setXs(0, {100, 200, 230});
    setXs(1, {100, 150, 190, 220});
    align();
    EXPECT_EQ(xs(1), (std::vector{100, 165, 205, 230}));
    EXPECT_EQ(xs(0)[2], xs(1)[3]);

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
    EXPECT_EQ(xs(0), (std::vector{30}));
}

TEST_F(Layout, AligningAgainstAMarkedStaffReportsItByNumber) {
    load("{[g g g], [], [e/8 e e e e]}", 4, 2);
    on(0);
    AlignBlock(ctx, 2);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].text, "Erreurs: Portée 3 - ");
}

TEST_F(Layout, CueNotesAreAskedAboutUntilTheUserRefuses) {
    load("{[g g], [e/8 e e e]}", 2, 2);
    staff(1).elements[1].w0().setCueSize(true);
    on(1);  // the alignment starts from the block's first staff whatever staff is current
    ui.queueAnswer(MessageAnswer::Yes);
    AlignBlock(ctx);
    EXPECT_EQ(ctx.doc.currentStaff, 0);
    ASSERT_FALSE(ui.messages().empty());
    EXPECT_EQ(ui.messages()[0].stringId, 48);
    EXPECT_FALSE(ctx.doc.cueNotesRefused);
    ui.queueAnswer(MessageAnswer::No);
    AlignBlock(ctx);
    EXPECT_TRUE(ctx.doc.cueNotesRefused);
    const std::size_t asked = ui.messages().size();
    AlignBlock(ctx);
    for (std::size_t i = asked; i < ui.messages().size(); ++i) EXPECT_NE(ui.messages()[i].stringId, 48);
}

// Two blocks of two staves: quarters over eighths.
constexpr const char* TwoBlocks = "{[g g g g], [e/8 e e e e e e e], [g g g g], [e/8 e e e e e e e]}";

TEST_F(Layout, TheWholePageAndRecalculatingDistancesAlignEveryBlockAndRestoreTheStepUnit) {
    for (bool recalculate : {false, true}) {
        load(TwoBlocks, 4, 2);
        for (int s : {1, 3})
            for (ElementRecord& e : staff(s).elements) e.x += 3 + e.x / 7;
        ctx.doc.spacingStep = 13;
        on(1);
        ASSERT_EQ(recalculate ? RecalculateDistances(ctx) : SpaceBlocks(ctx, BlockSpacing::WholePage), 1);
        for (int s : {0, 2})
            for (std::size_t k = 0; k < 4; ++k)
                EXPECT_EQ(staff(s + 1).elements[2 * k].x, staff(s).elements[k].x) << s << " " << k;
        EXPECT_TRUE(ui.messages().empty());
        if (recalculate) {
            EXPECT_EQ(ctx.doc.spacingStep, ctx.doc.stepUnit);
        }
    }
    on(5);
    EXPECT_EQ(RecalculateDistances(ctx), 0);  // without a staff nothing happens
}

// ---- Respacing lines, blocks and regions ----

TEST_F(Layout, TheCurrentLineIsRespacedFromItsLeftEdgeAndTheBlockAlignsWhatEachLineDoesNot) {
    load("{[g g g], [e e]}", 2, 2);
    const std::vector<int> lower = xs(1);
    on(0);
    EXPECT_EQ(SpaceLines(ctx, SpacingTarget::CurrentLine, SpacingMode::Raw), su);
    EXPECT_EQ(xs(0), (std::vector{3 * su, 15 * su, 27 * su}));
    EXPECT_EQ(xs(1), lower);  // the other staff of the block is left alone
    EXPECT_TRUE(ctx.doc.modified);

    load("{[g/2 g], [e/4 e e e]}", 2, 2);
    on(1);
    SpaceLines(ctx, SpacingTarget::CurrentBlock, SpacingMode::Raw);
    EXPECT_EQ(staff(0).elements[1].x, staff(1).elements[2].x);
    setXs(0, {100, 200});
    SpaceLines(ctx, SpacingTarget::EachLineOfBlock, SpacingMode::Raw);
    EXPECT_EQ(xs(0), (std::vector{3 * su, 27 * su}));
    EXPECT_EQ(xs(1), (std::vector{3 * su, 15 * su, 27 * su, 39 * su}));
}

TEST_F(Layout, InARegionTheAestheticCorrectionTakesItsStrongerVariant) {
    load("[g g g g g g]");
    setXs(0, {100, 200, 300, 400, 500, 600});
    ctx.doc.settings.aestheticCorrection = true;
    on(0);
    SpaceLines(ctx, SpacingTarget::CurrentLine, SpacingMode::Raw, SpacingRegion{300, 400, std::nullopt});
    // A quarter advances 12 steps × 3/4 inside the region, where the whole line would give it 12 × 2/3.
    EXPECT_EQ(xs(0), (std::vector{100, 200, 300, 390, 490, 590}));
    SpaceLines(ctx, SpacingTarget::CurrentLine, SpacingMode::Raw);
    EXPECT_EQ(staff(0).elements[2].x - staff(0).elements[1].x, 8 * su);
    EXPECT_TRUE(ctx.doc.settings.aestheticCorrection) << "the document keeps its own setting";
}

TEST_F(Layout, AnOptimisedStepBecomesTheDocumentsAndWithoutStaffOrMusicNothingIsRespaced) {
    load("[g g g g g g g g g g g g]");
    on(0);
    const int step = SpaceLines(ctx, SpacingTarget::CurrentLine, SpacingMode::Optimised);
    EXPECT_GT(step, su);
    EXPECT_EQ(ctx.doc.spacingStep, step);
    EXPECT_NEAR(staff(0).elements.back().x, 1800, 10 * su);
    load("[]");
    on(0);
    EXPECT_EQ(SpaceLines(ctx, SpacingTarget::CurrentBlock, SpacingMode::Optimised), 0);
    EXPECT_FALSE(ctx.doc.modified);
    on(9);
    EXPECT_EQ(SpaceLines(ctx, SpacingTarget::CurrentLine, SpacingMode::Raw), 0);
}

// ---- Up to marker X ----

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
    EXPECT_TRUE(ctx.doc.modified);
}

TEST_F(MarkerX, MoveBlockTakesTheCurrentElementAndWhatFollowsToMarkerX) {
    on(0, 3);  // the note at 300
    ASSERT_EQ(MoveBlockToMarkerX(ctx, 500), 1);
    EXPECT_EQ(xs(0), (std::vector{30, 100, 200, 500, 600, 650}));
    EXPECT_EQ(staff(1).elements[3].x, 250);
    EXPECT_EQ(staff(1).elements[4].x, 500);
    ASSERT_EQ(MoveBlockToMarkerX(ctx, 0), 1);  // leftwards it stops at the element in front
    EXPECT_EQ(staff(0).elements[3].x, 250);
    EXPECT_TRUE(inOrder(0));
}

// ---- Note entry distances ----

TEST_F(Layout, NoteEntryAdvancesLikeTheRespacing) {
    load("[g/16 g/4. g/8 \\meter<\"3/4\"> g/4]", 1);
    ElementRecord& triplet = staff(0).elements[2];
    triplet.w1().setNumerator(3);
    triplet.w1().setDenominator(2);
    ctx.doc.spacingStep = 6;
    const auto after = [this](std::size_t i) { return CursorAdvanceAfterNote(ctx, staff(0).elements[i]); };
    EXPECT_EQ((std::vector{after(0), after(1), after(2)}), (std::vector{3 * 6, 18 * 6, 4 * 6}));
    EXPECT_EQ(DistanceAfterBar(ctx), 4 * 6);
    EXPECT_EQ(DistanceAfterClef(ctx), 10 * 6);
    ctx.doc.insertion.durationCode = 3;
    ctx.doc.insertion.dots = 0;
    EXPECT_EQ(InsertionBoxGap(ctx), 24 * 6);
    EXPECT_GT(DistanceAfterTimeSignature(ctx, ctx.doc.pages[0], staff(0), 3), 3 * 6);
    staff(0).elements[3].w0().setHidden(true);  // a hidden time signature leaves only the distance
    EXPECT_EQ(DistanceAfterTimeSignature(ctx, ctx.doc.pages[0], staff(0), 3), 3 * 6);
    EXPECT_EQ(DistanceAfterTimeSignature(ctx, ctx.doc.pages[0], staff(0), 9), 3 * 6);
    ctx.doc.spacingStep = su;
    ctx.doc.settings.aestheticCorrection = true;  // shortens long values as the respacing does
    EXPECT_EQ(after(4), 12 * su * 2 / 3);
    EXPECT_EQ(after(0), 3 * su);
}

// ---- The user's line cuts ----

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
    EXPECT_EQ(next[1].noteWord().step(), 4u);                 // then the music it received
    EXPECT_EQ(next.back().noteWord().step(), 3u);             // its own music last
    EXPECT_TRUE(inOrder(1));
    EXPECT_TRUE(ctx.doc.modified);
    on(1);
    ASSERT_EQ(CutLine(ctx, between(1, 5), LineCut::Down), 1);
    ASSERT_EQ(ctx.doc.pageCount, 2);
    EXPECT_EQ(notes(0, 2, 3), 1);
    EXPECT_FALSE(staff(0, 2).key().indented());
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

// ---- The page layout ----

TEST_F(Layout, EveryLineStartsWithItsVoicesLastClefOrTheAltoClef) {
    load("{[g g], [g g]}");
    staff(1).voice().setVoice(2);  // a voice of its own, without a clef yet
    on(0);
    LayOutPage(ctx, PageLayoutMode::RawPage);
    ASSERT_TRUE(staff(0).elements.front().isSignOfType(SignType::Clef));
    EXPECT_EQ(staff(0).elements.front().signWord().code(), 7u);
    EXPECT_EQ(staff(1).elements.front().signWord().code(), 7u);
    // A bass clef on the first line is what the voice's next line begins with; a clef after music is no line clef.
    load("{[\\clef<\"f\"> g g], [g g]}");
    LayOutPage(ctx, PageLayoutMode::RawPage);
    EXPECT_EQ(staff(1).elements.front().signWord().code(), 3u);
    EXPECT_EQ(staff(1).elements.size(), 3u);
    EXPECT_TRUE(inOrder(1));
    load("[g \\clef<\"f\"> g]");
    LayOutPage(ctx, PageLayoutMode::RawPage);
    ASSERT_EQ(staff(0).elements.size(), 4u);
    EXPECT_EQ(staff(0).elements.front().signWord().code(), 7u);
}

TEST_F(Layout, LineStartSignsAreOrderedClefKeyTimeSignatureAndATimeSignatureEndingALineOpensTheNext) {
    load("[g g]");
    on(0);
    for (auto [x, type, code, sub] : {std::tuple{10, SignType::TimeSignature, 1, 0u},
                                      std::tuple{15, SignType::KeyChange, 2, 1u},
                                      std::tuple{20, SignType::Clef, 1, 0u}}) {
        on(0);
        CreateSign(ctx.doc, x, 0, code, type, sub);
    }
    LayOutPage(ctx, PageLayoutMode::RawPage);
    const auto& els = staff(0).elements;
    ASSERT_EQ(els.size(), 5u);
    EXPECT_TRUE(els[0].isSignOfType(SignType::Clef));
    EXPECT_TRUE(els[1].isSignOfType(SignType::KeyChange));
    EXPECT_TRUE(els[2].isSignOfType(SignType::TimeSignature));
    EXPECT_TRUE(inOrder(0));
    EXPECT_LT(els[2].x, els[3].x);

    load("{[\\clef<\"g\"> g g \\meter<\"3/4\">], [\\clef<\"g\"> g g g]}");
    on(0);
    LayOutPage(ctx, PageLayoutMode::RawPage);
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
    LayOutPage(ctx, PageLayoutMode::RawPage);
    EXPECT_TRUE(ui.messages().empty());
    ASSERT_EQ(ctx.doc.pageCount, 2);
    int total = 0;
    for (int page = 1; page <= 2; ++page) {
        for (int i = 0; i < 2; ++i) {
            total += count(i, page, isNote);
            if (staff(i, page).elements.empty()) continue;
            EXPECT_LE(staff(i, page).elements.back().x, 1800) << page << "/" << i;
            EXPECT_TRUE(inOrder(i, page));
            EXPECT_TRUE(staff(i, page).elements.front().isSignOfType(SignType::Clef));
        }
    }
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
    RecalculateDistances(ctx);
    EXPECT_EQ(messageIds(), (std::vector{51}));
    EXPECT_EQ(staff(0).elements.size(), before.size());
    EXPECT_TRUE(staff(1).elements.empty());
    staff(1).elements = before;
    on(0);
    RecalculateDistances(ctx);
    EXPECT_EQ(messageIds(), (std::vector{51, 51, 51}));
}

TEST_F(Layout, JustifyingStretchesAFullLineToItsEndAndLeavesAShortOne) {
    load("{[\\clef<\"g\"> g g g g g |], [\\clef<\"g\"> g g]}");
    setXs(0, {30, 100, 300, 500, 700, 900, 1000});
    setXs(1, {30, 100, 200});
    LayOutPage(ctx, PageLayoutMode::JustifyPage);
    EXPECT_EQ(staff(0).elements.front().x, 30);  // line-start signs stay
    EXPECT_EQ(staff(0).elements[1].x, 100);      // the first note anchors the stretch
    EXPECT_EQ(staff(0).elements.back().x, 1800);
    EXPECT_EQ(staff(1).elements.back().x, 200);
}

TEST_F(Layout, RecalculatingASingleStaffJustifiesItAndRestoresTheStepUnit) {
    load("[\\clef<\"g\"> g g g g | g g g g | g g g g |]");
    on(0);
    ctx.doc.spacingStep = 14;
    ASSERT_EQ(RecalculateDistances(ctx), 1);
    EXPECT_EQ(ctx.doc.spacingStep, ctx.doc.stepUnit);
    EXPECT_TRUE(ctx.doc.modified);
    EXPECT_EQ(staff(0).elements.back().x, 1800);  // the full line ends on the line's end
    EXPECT_TRUE(inOrder(0));
}

}  // namespace
}  // namespace notavera
