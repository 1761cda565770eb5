// The title bar: both forms of its text, where each value comes from, and when it is written.
#include <gtest/gtest.h>

#include "platform/headless/headless_ui.h"
#include "shell/editor_context.h"
#include "shell/title_bar.h"

namespace notavera {
namespace {

TEST(TitleBarText, PlainAndWithAPageMarker) {
    TitleBarInfo info;
    info.fileTitle = "opus 12.mus";
    info.page = 3;
    info.pageCount = 14;
    info.staffHighByte = 5;
    info.staffGroupPos = 2;
    info.staffNumber = 4;
    info.voice = 9;
    info.groupNum = 3;
    info.groupDen = 2;
    EXPECT_EQ(TitleBarText(info), "Notavera v.6.5d - opus 12.mus (p.3/14) - {5,2} 4 - Voix 9  [3:2]");
    info.markerPage = 7;
    EXPECT_EQ(TitleBarText(info), "Notavera v.6.5d - opus 12.mus (p.3/14) - {5,2} 4 - Voix 9  [3:2] (mqPage: 7)");
}

TEST(TitleBarText, UntitledAndPercentInTheName) {
    TitleBarInfo info;
    EXPECT_EQ(TitleBarText(info), "Notavera v.6.5d - (sans nom) (p.0/0) - {0,0} 0 - Voix 0  [0:0]");
    info.fileTitle = "100%s%d.mus";
    EXPECT_EQ(TitleBarText(info), "Notavera v.6.5d - 100%s%d.mus (p.0/0) - {0,0} 0 - Voix 0  [0:0]");
}

class TitleBarOfContext : public ::testing::Test {
protected:
    TitleBarOfContext() {
        ctx.doc.storage.path = "/home/user/partitions/sonate.mus";
        ctx.doc.pageCount = 6;
        ctx.doc.currentPage = 2;
        ctx.doc.currentStaff = 1;
        PageRecord page;
        page.number = 2;
        page.staves.resize(3);
        page.staves[1].voiceWord = 0x0A030207u;  // bytes: voice 7, position 2, size 3, high 10
        ctx.doc.pages.push_back(std::move(page));
        ctx.shell.input.groupNum = 3;
        ctx.shell.input.groupDen = 2;
        ctx.shell.documentReady = true;
    }

    HeadlessUi ui{nullptr};
    EditorContext ctx{ui};
};

TEST_F(TitleBarOfContext, ShowsTheCurrentStaffAndGroup) {
    UpdateTitleBar(ctx);
    EXPECT_EQ(ui.title(), "Notavera v.6.5d - sonate.mus (p.2/6) - {10,2} 2 - Voix 7  [3:2]");
    ctx.shell.cursor.markerPage = 5;
    UpdateTitleBar(ctx);
    EXPECT_EQ(ui.title(), "Notavera v.6.5d - sonate.mus (p.2/6) - {10,2} 2 - Voix 7  [3:2] (mqPage: 5)");
}

TEST_F(TitleBarOfContext, ContinuousViewAddsItsOffset) {
    ctx.shell.view.continuousOffset = 2;
    EXPECT_EQ(TitleBarInfoOf(ctx).page, 2u);  // the offset means nothing outside the continuous view
    ctx.shell.view.continuousView = true;
    EXPECT_EQ(TitleBarInfoOf(ctx).page, 4u);
}

TEST_F(TitleBarOfContext, NothingIsWrittenBeforeTheDocumentIsReady) {
    ctx.shell.documentReady = false;
    UpdateTitleBar(ctx);
    EXPECT_EQ(ui.title(), "");
}

TEST_F(TitleBarOfContext, AStaffOrPageThatIsNotThereGivesZeros) {
    ctx.doc.currentStaff = 3;
    EXPECT_EQ(TitleBarText(TitleBarInfoOf(ctx)), "Notavera v.6.5d - sonate.mus (p.2/6) - {0,0} 0 - Voix 0  [3:2]");
    ctx.doc.currentStaff = 0;
    ctx.doc.currentPage = 4;  // not in memory
    EXPECT_EQ(TitleBarText(TitleBarInfoOf(ctx)), "Notavera v.6.5d - sonate.mus (p.4/6) - {0,0} 0 - Voix 0  [3:2]");
}

TEST(TitleBarOfEmptyDocument, ShowsZerosAndNoName) {
    HeadlessUi ui(nullptr);
    EditorContext ctx(ui);
    ctx.shell.documentReady = true;
    UpdateTitleBar(ctx);
    EXPECT_EQ(ui.title(), "Notavera v.6.5d - (sans nom) (p.0/0) - {0,0} 0 - Voix 0  [1:1]");
}

}  // namespace
}  // namespace notavera
