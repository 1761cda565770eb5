// Staves inserted and deleted on the current page (the page limit, the template kept in step; the click that places
// a new staff is seen with the mouse), and Détruire of a stretch: the region, cursor to marker Y, the line's end.
#include "edit/region_deletion.h"
#include "edit/staff_insertion.h"

#include <gtest/gtest.h>

#include "platform/headless/headless_ui.h"
#include "shell/cursor_frame.h"
#include "shell/dispatch.h"
#include "shell/editor_context.h"
#include "shell/markers.h"
#include "support/guido_document.h"
#include "shell/erase_commands.h"
#include "shell/staff_commands.h"

namespace notavera {
namespace {

// Notes of the first two staves at x 30, 190, 350, 510 and 670 (a quarter apart); the cursor on staff 0 at 190.
class StaffEditTest : public ::testing::Test {
protected:
    StaffEditTest() {
        ctx.doc = DocumentFromGuido("{[c d e f g], [g a b c d]}");
        at(0, 1);
    }
    PageRecord& page() { return *ctx.doc.page(); }
    void at(int staff, int element) {
        ctx.doc.currentStaff = staff;
        ctx.doc.currentElement = element;
        ctx.shell.cursor.x = 30 + 160 * element;
    }
    std::vector<int> xs(int staff) {
        std::vector<int> out;
        for (const ElementRecord& e : page().staves[static_cast<std::size_t>(staff)].elements) out.push_back(e.x);
        return out;
    }
    int lastMessage() const { return ui.messages().empty() ? 0 : ui.messages().back().stringId; }

    HeadlessUi ui{nullptr};
    EditorContext ctx{ui};
};

TEST_F(StaffEditTest, AStaffGoesBelowTheOneAboveAndTheTemplateFollows) {
    const std::size_t before = page().staves.size();
    ASSERT_TRUE(InsertStaffBelow(ctx.doc, ctx.ui, 0));
    EXPECT_EQ(page().staves.size(), before + 1);
    EXPECT_TRUE(page().staves[1].elements.empty());
    EXPECT_EQ(page().staves[2].elements.size(), 5u);  // the music below moved down with its staff
    EXPECT_EQ(ctx.doc.layoutModel.staffCount(), before + 1);
    EXPECT_EQ(page().layoutWord().staffCount(), before + 1);
    EXPECT_EQ(page().staves[2].key().index(), 2u);
    EXPECT_TRUE(ctx.doc.modified);
    ctx.doc.currentStaff = 2;
    DispatchChar(ctx, '$');  // below the current staff
    EXPECT_EQ(page().staves.size(), before + 2);
    EXPECT_EQ(ctx.doc.currentStaff, 2);
}

TEST_F(StaffEditTest, AFullPageOrTemplateIsRefused) {
    const std::size_t before = page().staves.size();
    ctx.doc.layoutModel.setStaffCount(maxStavesPerPage);  // the template alone is full
    EXPECT_FALSE(InsertStaffBelow(ctx.doc, ctx.ui, 3));
    EXPECT_EQ(lastMessage(), 56);
    ctx.doc.layoutModel.setStaffCount(static_cast<unsigned>(before));
    while (page().staves.size() < static_cast<std::size_t>(maxStavesPerPage)) ASSERT_TRUE(InsertStaffBelow(ctx.doc, ctx.ui, 0));
    ctx.doc.layoutModel.setStaffCount(static_cast<unsigned>(before));
    ctx.doc.modified = false;
    EXPECT_FALSE(InsertStaffBelow(ctx.doc, ctx.ui, 3));
    EXPECT_EQ(lastMessage(), 56);
    EXPECT_EQ(page().staves.size(), static_cast<std::size_t>(maxStavesPerPage));
    EXPECT_FALSE(ctx.doc.modified);
    HeadlessUi otherUi{nullptr};
    EditorContext empty{otherUi};  // no page at all
    EXPECT_FALSE(InsertStaffBelow(empty.doc, empty.ui, 0));
}

TEST_F(StaffEditTest, AClickOnATopLineBelongsToTheStaffBelowIt) {
    const CursorFrame f = *CursorFrameOf(ctx.doc);
    EXPECT_EQ(StaffAboveHeight(ctx.doc, f.staffY[2] - f.staffHeight), 2);
    EXPECT_EQ(StaffAboveHeight(ctx.doc, f.staffY[2] - f.staffHeight + 1), 1);
    EXPECT_EQ(StaffAboveHeight(ctx.doc, f.staffY[0]), -1);
}

TEST_F(StaffEditTest, AStaffWithMusicIsNotDeleted) {
    ctx.doc.currentStaff = 1;
    const std::size_t before = page().staves.size();
    DispatchCommand(ctx, cmd::EraseStaff);
    EXPECT_EQ(lastMessage(), 74);
    EXPECT_EQ(page().staves.size(), before);
    page().staves[1].elements.clear();
    DispatchCommand(ctx, cmd::EraseStaff);
    EXPECT_EQ(page().staves.size(), before - 1);
    EXPECT_EQ(ctx.doc.layoutModel.staffCount(), before - 1);
}

TEST_F(StaffEditTest, FromTheCursorToMarkerYWhicheverComesFirst) {
    ctx.doc.modified = false;
    at(0, 3);
    DispatchCommand(ctx, cmd::MarkerY);
    at(0, 1);
    DispatchCommand(ctx, cmd::EraseRegion);
    EXPECT_EQ(xs(0), (std::vector<int>{40, 680}));
    EXPECT_EQ(xs(1).size(), 5u);
    EXPECT_TRUE(ctx.doc.modified);
    EXPECT_FALSE(ctx.shell.cursor.zone.marked());  // the marker is used up
    EXPECT_EQ(ctx.shell.cursor.x, 190);
    ASSERT_NE(ctx.doc.element(), nullptr);
    EXPECT_EQ(ctx.doc.element()->x, 680);
    at(0, 0);
    DispatchCommand(ctx, cmd::MarkerY);
    at(0, 1);  // the cursor after the marker
    ctx.shell.cursor.x = 680;
    DispatchCommand(ctx, cmd::EraseRegion);
    EXPECT_TRUE(xs(0).empty());
}

TEST_F(StaffEditTest, TheMarkedRegionGoesStaffByStaff) {
    CursorState& c = ctx.shell.cursor;
    c.zone = {.lastStaff = 1, .start = 3, .last = 1, .page = 1, .startStaff = 0};
    c.zoneRect = {.left = 430, .bottom = 0, .right = 270, .top = 3000, .shown = true};
    DispatchCommand(ctx, cmd::EraseRegion);
    EXPECT_EQ(xs(0), (std::vector<int>{40, 200, 360}));
    EXPECT_EQ(xs(1), (std::vector<int>{360, 520, 680}));
    EXPECT_FALSE(c.zoneRect.shown);
}

TEST_F(StaffEditTest, WithNothingMarkedOrMarkerYOnAnotherStaffItOnlyBeeps) {
    ctx.doc.modified = false;
    DispatchCommand(ctx, cmd::EraseRegion);
    EXPECT_EQ(ui.beeps(), 1);
    DispatchCommand(ctx, cmd::MarkerY);
    at(1, 2);
    DispatchCommand(ctx, cmd::EraseRegion);
    EXPECT_EQ(ui.beeps(), 3);  // the marker's own beep, then the refusal
    EXPECT_EQ(xs(0).size() + xs(1).size(), 10u);
    EXPECT_FALSE(ctx.doc.modified);
}

TEST_F(StaffEditTest, TheLineEndGoesFromTheCursorOn) {
    at(0, 2);
    DispatchCommand(ctx, cmd::EraseToLineEnd);
    EXPECT_EQ(xs(0), (std::vector<int>{40, 200}));
    EXPECT_EQ(xs(1).size(), 5u);
    EXPECT_EQ(ctx.doc.element()->x, 200);
    ctx.doc.modified = false;
    ctx.shell.cursor.x = 900;  // nothing after the cursor
    EXPECT_FALSE(EraseToLineEnd(ctx));
    EXPECT_FALSE(ctx.doc.modified);
}

}  // namespace
}  // namespace notavera
