// The staff layout editor ("Regleur"): spreading and superposing staves, its fields and buttons, and what OK
// does to the pages.
#include "print/staff_layout_editor.h"

#include <gtest/gtest.h>

#include "platform/headless/headless_ui.h"
#include "print/staff_layout_pages.h"
#include "score/new_document.h"
#include "shell/editor_context.h"

namespace notavera {
namespace {

namespace sm = staff_model;

struct StaffLayoutEditorTest : ::testing::Test {
    HeadlessUi ui{nullptr};
    EditorContext ctx{ui};
    void SetUp() override { SetUpNewDocument(ctx.doc, 3); }
    StaffLayoutModel& model() { return ctx.doc.layoutModel; }
    // "10 13 13 0 …": the distance of every staff of a model.
    static std::string distances(const StaffLayoutModel& m) {
        std::string out;
        for (int i = 0; i < static_cast<int>(m.staffCount()); ++i)
            out += (i ? " " : "") + std::to_string(sm::Distance::get(m.staffWord(i)));
        return out;
    }
    // "10 5 5": the staff count of every page.
    std::string staffCounts() const {
        std::string out;
        for (const PageRecord& p : ctx.doc.pages) out += (out.empty() ? "" : " ") + std::to_string(p.staves.size());
        return out;
    }
    void answer(std::vector<std::pair<std::string, std::string>> fields, bool ok = true) {
        ui.queueDialogAnswer({"Regleur", std::move(fields), ok});
    }
    StaffLayoutEditor open(StaffLayoutPurpose purpose = StaffLayoutPurpose::ModifyPage) {
        return StaffLayoutEditor(ctx.doc, purpose, ctx.shell.settings.staffLayout, ui);
    }
    ElementRecord& put(int page, int staff, int x) {
        PageRecord* p = ctx.doc.findPage(page);
        ElementRecord& e = p->staves[static_cast<std::size_t>(staff)].elements.emplace_back();
        e.x = x;
        return e;
    }
};

TEST_F(StaffLayoutEditorTest, SpreadingAndRejoiningRestoresTheSuperposedStaves) {
    StaffLayoutEditor plain = open();
    plain.spreadOrRejoin();
    EXPECT_FALSE(plain.spread());  // spreading needs a superposed staff
    sm::Distance::set(model().staffWord(3), 0);
    StaffLayoutEditor editor = open();
    editor.spreadOrRejoin();
    EXPECT_TRUE(editor.spread());
    const std::string spread = "10 13 13 6 13 13 13 13 13 13";  // five lines + 1; the others are wide enough
    EXPECT_EQ(distances(editor.model()), spread);
    editor.superpose(2, 2);  // ignored while the staves are spread
    EXPECT_EQ(distances(editor.model()), spread);
    editor.spreadOrRejoin();
    EXPECT_FALSE(editor.spread());
    EXPECT_EQ(distances(editor.model()), distances(model()));
    // Rejoining after the staff count changed only forgets the copy.
    editor.spreadOrRejoin();
    ASSERT_TRUE(editor.setStaffCount(8));
    editor.spreadOrRejoin();
    EXPECT_FALSE(editor.spread());
    EXPECT_EQ(distances(editor.model()), "10 13 13 6 13 13 13 13");
}

TEST_F(StaffLayoutEditorTest, SuperposingTwoThenThreeOnSevenStaves) {
    model().setStaffCount(7);
    StaffLayoutEditor editor = open();
    editor.superpose(2, 3);
    EXPECT_EQ(distances(editor.model()), "10 0 13 0 0 13 0");
}

TEST_F(StaffLayoutEditorTest, TheStaffCountCannotDropStavesThatHoldElements) {
    put(1, 5, 100);
    StaffLayoutEditor editor = open();
    EXPECT_EQ(editor.stavesInUse(), 6);
    DialogModel dialog = editor.makeDialog(ctx.doc.pageCount, 1);
    dialog.type("Nombre de portées", "4");
    EXPECT_EQ(ui.beeps(), 1);
    EXPECT_EQ(editor.model().staffCount(), 10U);
    EXPECT_EQ(dialog.value("Nombre de portées"), 10);
    dialog.type("Nombre de portées", "12");
    EXPECT_EQ(editor.model().staffCount(), 12U);
    EXPECT_EQ(sm::SystemGrouping::get(editor.model().staffWord(11)), 3U);
    EXPECT_EQ(sm::LineCount::get(editor.model().staffWord(11)), 5U);
}

// RunStaffLayoutDialog and what OK does to the pages.

TEST_F(StaffLayoutEditorTest, CancelChangesNothingAndReturnsZeroExceptForAFirstPage) {
    const StaffLayoutModel before = model();
    answer({{"Définition (mm/10)", "30"}}, false);
    EXPECT_EQ(RunStaffLayoutDialog(ctx, StaffLayoutPurpose::ModifyPage), 0);
    EXPECT_EQ(model().words, before.words);
    EXPECT_FALSE(ctx.doc.modified);
    answer({{"Définition (mm/10)", "30"}}, false);
    EXPECT_EQ(RunStaffLayoutDialog(ctx, StaffLayoutPurpose::FirstPage), 1);
    EXPECT_EQ(model().words, before.words);
}

TEST_F(StaffLayoutEditorTest, OkGivesTheCurrentPageOrANewPageTheModelAndRemembersTheDialog) {
    answer({{"Nombre de portées", "4"}, {"119", "1"}, {"110", "2"}, {"Indentation (mm)", "20"},
            {"Copier Définition seulement", "1"}});
    EXPECT_EQ(RunStaffLayoutDialog(ctx, StaffLayoutPurpose::ModifyPage), 1);
    EXPECT_EQ(staffCounts(), "4 10 10");  // other pages keep theirs
    EXPECT_TRUE(ctx.doc.findPage(1)->staves[1].key().small());
    EXPECT_EQ(ctx.doc.findPage(1)->indent, 200U);
    EXPECT_TRUE(ctx.doc.modified);
    EXPECT_EQ(ctx.shell.settings.staffLayout.mode, 119);
    EXPECT_TRUE(ctx.shell.settings.staffLayout.copyDefinitionOnly);
    answer({{"Nombre de portées", "6"}});  // a new page only changes the document's model
    EXPECT_EQ(RunStaffLayoutDialog(ctx, StaffLayoutPurpose::NewPage), 1);
    EXPECT_EQ(model().staffCount(), 6U);
    EXPECT_EQ(staffCounts(), "4 10 10");
}

TEST_F(StaffLayoutEditorTest, ElementsFollowANewStaffSize) {
    put(1, 0, 100).shift = 10;
    put(1, 0, 301);
    answer({{"Définition (mm/10)", "30"}});
    EXPECT_EQ(RunStaffLayoutDialog(ctx, StaffLayoutPurpose::ModifyPage), 1);
    const StaffRecord& staff = ctx.doc.findPage(1)->staves[0];
    EXPECT_EQ(staff.elements[0].x, 150);
    EXPECT_EQ(staff.elements[0].shift, 15);
    EXPECT_EQ(staff.elements[1].x, 452);
    EXPECT_EQ(ctx.doc.findPage(1)->layoutWord().staffSize(), 30U);
    EXPECT_EQ(ctx.doc.stepUnit, 15);
}

TEST_F(StaffLayoutEditorTest, CopyingToARangeReturnsTenAndReportsPagesThatCannotTakeTheModel) {
    ctx.doc.currentPage = 2;
    put(1, 8, 100);  // page 1 cannot lose its ninth staff
    put(3, 2, 100);
    answer({{"Nombre de portées", "5"}, {"280", "1"}, {"281", "3"}});
    EXPECT_EQ(RunStaffLayoutDialog(ctx, StaffLayoutPurpose::ModifyPage), 10);
    EXPECT_EQ(staffCounts(), "10 5 5");
    ASSERT_EQ(ui.messages().size(), 1U);
    EXPECT_EQ(ui.messages()[0].text, "Données en surplus, pages: 1");
    EXPECT_EQ(ctx.doc.currentPage, 2);
}

TEST_F(StaffLayoutEditorTest, CopyingTheDefinitionOnlyKeepsTheOtherPagesStaves) {
    put(3, 9, 200);
    answer({{"Nombre de portées", "5"}, {"Définition (mm/10)", "10"}, {"281", "3"},
            {"Copier Définition seulement", "1"}});
    EXPECT_EQ(RunStaffLayoutDialog(ctx, StaffLayoutPurpose::ModifyPage), 10);
    EXPECT_EQ(staffCounts(), "5 10 10");
    EXPECT_EQ(ctx.doc.findPage(3)->layoutWord().staffSize(), 10U);
    EXPECT_EQ(ctx.doc.findPage(3)->staves[9].elements[0].x, 100);
    EXPECT_TRUE(ui.messages().empty());
}

}  // namespace
}  // namespace notavera
