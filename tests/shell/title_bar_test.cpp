// The title bar: both forms of its text, where each value comes from, and when it is written.
#include "shell/title_bar.h"

#include <gtest/gtest.h>

#include "platform/headless/headless_ui.h"
#include "shell/editor_context.h"

namespace notavera {
namespace {

TEST(TitleBar, TextWithAndWithoutNameAndPageMarker) {
    TitleBarInfo info;
    EXPECT_EQ(TitleBarText(info), "Notavera v.6.5d - (sans nom) (p.0/0) - {0,0} 0 - Voix 0  [0:0]");
    info = {.fileTitle = "100%s%d.mus", .page = 3, .pageCount = 14, .staffHighByte = 5, .staffGroupPos = 2,
            .staffNumber = 4, .voice = 9, .groupNum = 3, .groupDen = 2};
    EXPECT_EQ(TitleBarText(info), "Notavera v.6.5d - 100%s%d.mus (p.3/14) - {5,2} 4 - Voix 9  [3:2]");
    info.markerPage = 7;
    EXPECT_EQ(TitleBarText(info), "Notavera v.6.5d - 100%s%d.mus (p.3/14) - {5,2} 4 - Voix 9  [3:2] (mqPage: 7)");
}

TEST(TitleBar, ValuesComeFromTheCurrentStaffAndPageOnceTheDocumentIsReady) {
    HeadlessUi ui{nullptr};
    EditorContext ctx{ui};
    ctx.doc.storage.path = "/home/user/partitions/sonate.mus";
    ctx.doc.pageCount = 6;
    ctx.doc.currentPage = 2;
    ctx.doc.currentStaff = 1;
    PageRecord page;
    page.number = 2;
    page.staves.resize(3);
    page.staves[1].voiceWord = 0x0A030207u;  // bytes: voice 7, position 2, size 3, high 10
    ctx.doc.pages.push_back(std::move(page));
    ctx.shell.groupNum = 3;
    ctx.shell.groupDen = 2;
    UpdateTitleBar(ctx);
    EXPECT_EQ(ui.title(), "") << "nothing before the document is ready";
    ctx.shell.documentReady = true;
    ctx.shell.markerPage = 5;
    UpdateTitleBar(ctx);
    EXPECT_EQ(ui.title(), "Notavera v.6.5d - sonate.mus (p.2/6) - {10,2} 2 - Voix 7  [3:2] (mqPage: 5)");
    ctx.shell.continuousOffset = 2;
    EXPECT_EQ(TitleBarInfoOf(ctx).page, 2u);  // the offset means nothing outside the continuous view
    ctx.shell.continuousView = true;
    EXPECT_EQ(TitleBarInfoOf(ctx).page, 4u);
    ctx.shell.continuousView = false;
    ctx.shell.markerPage = 0;
    ctx.doc.currentStaff = 3;  // not on the page
    EXPECT_EQ(TitleBarText(TitleBarInfoOf(ctx)), "Notavera v.6.5d - sonate.mus (p.2/6) - {0,0} 0 - Voix 0  [3:2]");
    ctx.doc.currentStaff = 0;
    ctx.doc.currentPage = 4;  // not in memory
    EXPECT_EQ(TitleBarText(TitleBarInfoOf(ctx)), "Notavera v.6.5d - sonate.mus (p.4/6) - {0,0} 0 - Voix 0  [3:2]");
}

}  // namespace
}  // namespace notavera
