// Rhythmic groups typed with G and g: the "Fraction" dialog, the group marks on the first and last elements and
// the proportion of every note between.
#include "edit/rhythmic_group_entry.h"

#include <gtest/gtest.h>

#include "platform/headless/headless_ui.h"
#include "shell/dispatch.h"
#include "shell/editor_context.h"
#include "support/page_fixtures.h"

namespace notavera {
namespace {

class RhythmicGroupEntryTest : public ::testing::Test {
protected:
    RhythmicGroupEntryTest() {
        ctx.doc = test::NewDocument(1);
        ctx.shell.cursor.x = 60;
    }
    const std::vector<ElementRecord>& elements() { return ctx.doc.staff()->elements; }
    void type(std::string_view keys) {
        for (const char c : keys) {
            if (c >= '1' && c <= '9') DispatchKey(ctx, static_cast<Key>(static_cast<int>(Key::F1) + (c - '1')), {});
            else DispatchChar(ctx, static_cast<char32_t>(c));
        }
    }
    // Digits in type() are note keys: the duration is chosen here.
    void eighths() { DispatchChar(ctx, '5'); }
    void answerFraction(const std::string& num, const std::string& den, bool ok = true) {
        ui.queueDialogAnswer({"Fraction", {{"Numérateur", num}, {"Dénominateur", den}}, ok});
    }
    void cursorOn(int i) {
        ctx.doc.currentElement = i;
        ctx.shell.cursor.x = elements()[static_cast<std::size_t>(i)].x;
    }
    static std::pair<unsigned, unsigned> proportion(const ElementRecord& e) {
        return {e.w1().numerator(), e.w1().denominator()};
    }

    HeadlessUi ui{nullptr};
    EditorContext ctx{ui};
};

TEST_F(RhythmicGroupEntryTest, ATripletOfEighthsIsMarkedOnItsFirstAndLastNotes) {
    answerFraction("3", "2");
    eighths();
    type("G234g5");
    ASSERT_EQ(elements().size(), 4u);
    EXPECT_EQ(elements()[0].w0().groupMark(), 1u);
    EXPECT_EQ(elements()[1].w0().groupMark(), 0u);
    EXPECT_EQ(elements()[2].w0().groupMark(), 2u);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(proportion(elements()[i]), std::make_pair(3u, 2u)) << i;
    // After g the notes are plain again.
    EXPECT_EQ(elements()[3].w0().groupMark(), 0u);
    EXPECT_EQ(proportion(elements()[3]), std::make_pair(1u, 1u));
    EXPECT_EQ(ctx.doc.insertion.switches & SwitchGroup, 0u);
    EXPECT_EQ(ui.dialogs(), std::vector<std::string>{"Fraction"});
}

TEST_F(RhythmicGroupEntryTest, ARestMayOpenTheGroup) {
    answerFraction("3", "2");
    eighths();
    type("GS23g");
    EXPECT_EQ(elements()[0].w0().groupMark(), 1u);
    EXPECT_TRUE(elements()[0].isRest());
    EXPECT_EQ(elements()[2].w0().groupMark(), 2u);
}

TEST_F(RhythmicGroupEntryTest, OverNotesAlreadyWrittenTheProportionGoesToEveryNoteBetween) {
    type("523456");
    cursorOn(1);
    answerFraction("5", "4");
    type("G");
    cursorOn(5);
    type("g");
    EXPECT_EQ(elements()[1].w0().groupMark(), 1u);
    EXPECT_EQ(elements()[5].w0().groupMark(), 2u);
    EXPECT_EQ(proportion(elements()[0]), std::make_pair(1u, 1u));
    for (std::size_t i = 1; i <= 5; ++i) EXPECT_EQ(proportion(elements()[i]), std::make_pair(5u, 4u)) << i;
}

TEST_F(RhythmicGroupEntryTest, CancellingTheFractionOpensNothing) {
    answerFraction("3", "2", false);
    type("G2");
    EXPECT_EQ(ctx.doc.insertion.switches & SwitchGroup, 0u);
    EXPECT_EQ(elements()[0].w0().groupMark(), 0u);
    EXPECT_EQ(proportion(elements()[0]), std::make_pair(1u, 1u));
}

TEST_F(RhythmicGroupEntryTest, AGroupWithoutNotesClosesWithoutMarks) {
    type("2");
    answerFraction("3", "2");
    type("Gg3");
    EXPECT_EQ(elements()[0].w0().groupMark(), 0u);
    EXPECT_EQ(elements()[1].w0().groupMark(), 0u);
    EXPECT_EQ(proportion(elements()[1]), std::make_pair(1u, 1u));
}

TEST_F(RhythmicGroupEntryTest, GOnAGroupNoteTheCursorLandedOnStartsANewGroup) {
    answerFraction("3", "2");
    eighths();
    type("G234g");
    DispatchKey(ctx, Key::Left, {});  // onto the last note of the triplet: the group shows as open
    ASSERT_NE(ctx.doc.insertion.switches & SwitchGroup, 0u);
    ctx.shell.cursor.x = elements().back().x + 100;
    ctx.doc.currentElement = static_cast<int>(elements().size()) - 1;
    answerFraction("5", "4");
    type("G56g");
    EXPECT_EQ(elements()[3].w0().groupMark(), 1u);
    EXPECT_EQ(elements()[4].w0().groupMark(), 2u);
    EXPECT_EQ(proportion(elements()[4]), std::make_pair(5u, 4u));
    EXPECT_EQ(proportion(elements()[2]), std::make_pair(3u, 2u));
}

TEST_F(RhythmicGroupEntryTest, SmallGOnANoteTheCursorLandedOnClosesTheGroupWithItsFraction) {
    answerFraction("3", "2");
    eighths();
    type("G234");
    ctx.doc.insertion.switches &= ~SwitchGroup;  // the group was left open, then found again by the cursor
    ctx.shell.input.groupNum = 1;
    ctx.shell.input.groupDen = 1;
    cursorOn(2);
    DispatchKey(ctx, Key::Left, {});
    DispatchKey(ctx, Key::Right, {});
    ASSERT_EQ(ctx.doc.currentElement, 2);
    type("g");
    EXPECT_EQ(elements()[2].w0().groupMark(), 2u);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(proportion(elements()[i]), std::make_pair(3u, 2u)) << i;
}

TEST_F(RhythmicGroupEntryTest, AClosedGroupEarlierOnTheStaffBoundsTheNextOne) {
    answerFraction("3", "2");
    eighths();
    type("G234g");
    // The second group began on an earlier line: nothing on this staff marks its start.
    ctx.doc.insertion.switches |= SwitchGroup;
    ctx.doc.insertion.proportionNum = ctx.shell.input.groupNum = 5;
    ctx.doc.insertion.proportionDen = ctx.shell.input.groupDen = 4;
    type("56g");
    EXPECT_EQ(proportion(elements()[2]), std::make_pair(3u, 2u));
    EXPECT_EQ(proportion(elements()[3]), std::make_pair(5u, 4u));
    EXPECT_EQ(elements()[4].w0().groupMark(), 2u);
}

TEST_F(RhythmicGroupEntryTest, TheTitleBarShowsTheGroup) {
    ctx.shell.documentReady = true;
    answerFraction("3", "2");
    type("G");
    EXPECT_NE(ui.title().find("[3:2]"), std::string::npos) << ui.title();
}

}  // namespace
}  // namespace notavera
