// Special bars from "Barres spéciales" put with the character E: the sign code of every choice, the braces and
// brackets that join staves, and the click mode of command 359.
#include "edit/special_bar_entry.h"

#include <gtest/gtest.h>

#include "platform/headless/headless_ui.h"
#include "shell/dispatch.h"
#include "shell/editor_context.h"
#include "shell/sign_characters.h"
#include "support/page_fixtures.h"

namespace notavera {
namespace {

struct BarChoice {
    const char* label;
    int code;  // the sign code written, as the bar drawing reads it (signed for braces and brackets)
};

class SpecialBarEntryTest : public ::testing::Test {
protected:
    SpecialBarEntryTest() {
        ctx.doc = test::NewDocument(1);
        ctx.shell.cursor.x = 60;
    }
    const std::vector<ElementRecord>& elements() { return ctx.doc.staff()->elements; }
    void choose(const std::string& label, bool ok = true) {
        ui.queueDialogAnswer({"TypeBarre", {{label, "1"}}, ok});
        DispatchCommand(ctx, 359);
    }

    HeadlessUi ui{nullptr};
    EditorContext ctx{ui};
};

class SpecialBarChoiceTest : public SpecialBarEntryTest, public ::testing::WithParamInterface<BarChoice> {};

TEST_P(SpecialBarChoiceTest, TheChosenBarIsWrittenWithItsCode) {
    // A staff with staves below it and no group: a brace or bracket joins the next staff.
    ctx.doc.currentStaff = 3;
    ctx.doc.staff()->voice().setPositionInGroup(0);
    ctx.doc.staff()->voice().setGroupSize(0);
    choose(GetParam().label);
    EXPECT_EQ(ctx.shell.input.mouseMode, specialBarMouseMode);
    DispatchChar(ctx, 'E');
    ASSERT_EQ(elements().size(), 1u);
    const ElementRecord& bar = elements()[0];
    EXPECT_TRUE(bar.isSignOfType(SignType::Bar));
    EXPECT_EQ(bar.signWord().signedCode(), GetParam().code);
    EXPECT_EQ(bar.x, 60);
    EXPECT_GT(ctx.shell.cursor.x, 60);
}

INSTANTIATE_TEST_SUITE_P(EveryKind, SpecialBarChoiceTest,
                         ::testing::Values(BarChoice{"Barre finale", 'E'}, BarChoice{"Reprise double :||:", 'R'},
                                           BarChoice{"Reprise du début :|", 'F'},
                                           BarChoice{"Reprise de la suite |:", 'O'},
                                           BarChoice{"Double barre ||", 'D'}, BarChoice{"Barre d'entrée ", 'I'},
                                           BarChoice{"Accolade", 1}, BarChoice{"Droite ouvrante", -1}));

TEST_F(SpecialBarEntryTest, WithoutAChoiceTheFinalBarIsPut) {
    DispatchChar(ctx, 'E');
    ASSERT_EQ(elements().size(), 1u);
    EXPECT_EQ(elements()[0].signWord().code(), static_cast<unsigned>('E'));
}

TEST_F(SpecialBarEntryTest, CancellingTheDialogKeepsTheChoiceAndWaitsForNoClick) {
    choose("Double barre ||", false);
    EXPECT_EQ(ctx.shell.input.mouseMode, 0);
    DispatchChar(ctx, 'E');
    EXPECT_EQ(elements()[0].signWord().code(), static_cast<unsigned>('E'));
}

TEST_F(SpecialBarEntryTest, ABraceJoinsTheRestOfTheStaffGroup) {
    PageRecord& page = *ctx.doc.findPage(1);
    page.staves[4].voice().setPositionInGroup(1);
    page.staves[4].voice().setGroupSize(3);
    ctx.doc.currentStaff = 4;
    choose("Accolade");
    DispatchChar(ctx, 'E');
    EXPECT_EQ(elements()[0].signWord().signedCode(), 2);
}

TEST_F(SpecialBarEntryTest, OnTheLastStaffABracketHasNothingToJoinAndOnlyBeeps) {
    ctx.doc.currentStaff = static_cast<int>(ctx.doc.findPage(1)->staves.size()) - 1;
    choose("Droite ouvrante");
    const bool modified = ctx.doc.modified;
    DispatchChar(ctx, 'E');
    EXPECT_TRUE(elements().empty());
    EXPECT_EQ(ui.beeps(), 1);
    EXPECT_EQ(ctx.doc.modified, modified);
}

TEST_F(SpecialBarEntryTest, AfterANoteAtTheCursorTheBarLeavesTheNoteItsRoom) {
    DispatchKey(ctx, Key::F2, {});
    ctx.doc.currentElement = 0;
    ctx.shell.cursor.x = 60;
    DispatchChar(ctx, 'E');
    ASSERT_EQ(elements().size(), 2u);
    EXPECT_GT(elements()[1].x, elements()[0].x);
}

TEST_F(SpecialBarEntryTest, BarsPerStaffIsTheDialogsCheckBox) {
    ui.queueDialogAnswer({"TypeBarre", {{"Reprise double :||:", "1"}, {"Par portées individuelles", "1"}}, true});
    DispatchCommand(ctx, 359);
    EXPECT_TRUE(ctx.doc.settings.barsPerStaff);
    EXPECT_EQ(ctx.doc.insertion.specialBar, 'R');
}

}  // namespace
}  // namespace notavera
