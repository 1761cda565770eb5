// The memory window: its size from the page lengths, its range after opening and after going to
// another page, and the slide itself (kept pages, saved changes, read failures).
#include <gtest/gtest.h>

#include "platform/headless/headless_ui.h"
#include "score/binary_file.h"
#include "score/mus_file.h"
#include "score/page_window.h"
#include "shell/editor_context.h"
#include "support/mus_file_builder.h"

namespace notavera {
namespace {

using test::MakePage;
using test::MusFileBuilder;

TEST(PageWindowRules, PagesKeptBeforeTheCurrentOneFollowTheLargestPage) {
    const std::pair<std::uint64_t, int> cases[] = {{27, 5},     {21733, 5}, {21734, 4}, {26080, 4}, {43466, 2},
                                                   {65200, 1},  {65201, 0}, {130399, 0}, {130400, 0}, {900000, 0}};
    for (const auto& [length, kept] : cases) EXPECT_EQ(KeptBeforeFor(length), kept) << length;
}

TEST(PageWindowRules, OpeningWindowEndsAtTheCurrentPage) {
    EXPECT_EQ(OpeningWindow(12, 5), (PageRange{7, 12}));
    EXPECT_EQ(OpeningWindow(3, 5), (PageRange{1, 3}));
    EXPECT_EQ(OpeningWindow(4, 0), (PageRange{4, 4}));
}

TEST(PageWindowRules, SlidWindowCentresShiftsDownAndStartsAtOne) {
    EXPECT_EQ(SlidWindow(7, 4, 20), (PageRange{5, 9}));
    EXPECT_EQ(SlidWindow(9, 4, 9), (PageRange{5, 9}));
    EXPECT_EQ(SlidWindow(8, 4, 9), (PageRange{5, 9}));
    EXPECT_EQ(SlidWindow(1, 4, 9), (PageRange{1, 5}));
    EXPECT_EQ(SlidWindow(2, 5, 3), (PageRange{1, 3}));
    EXPECT_EQ(SlidWindow(3, 5, 12), (PageRange{1, 6}));
    EXPECT_EQ(SlidWindow(5, 0, 9), (PageRange{5, 5}));
}

class PageWindowSlide : public ::testing::Test {
protected:
    // Pages of 10 staves × 140 elements keep four pages before the current one.
    void open(int count, int current) {
        MusFileBuilder b;
        for (int n = 1; n <= count; ++n) b.addPage(MakePage(n, 10, 140));
        b.header.currentPage() = static_cast<std::uint8_t>(current);
        test::WriteBytes(dir / "long.mus", b.build());
        ASSERT_EQ(ReadDocument(ctx.doc, ctx.ui, dir / "long.mus"), FileOk);
        ASSERT_EQ(ctx.doc.storage.keepBefore, 4);
    }
    std::vector<std::uint32_t> pageNumbers() const {
        std::vector<std::uint32_t> numbers;
        for (const auto& p : ctx.doc.pages) numbers.push_back(p.number);
        return numbers;
    }

    test::TempDir dir;
    HeadlessUi ui{nullptr};
    EditorContext ctx{ui};
};

TEST_F(PageWindowSlide, KeepsTheOverlapAndLoadsTheRest) {
    open(12, 5);
    ASSERT_EQ(pageNumbers(), (std::vector<std::uint32_t>{1, 2, 3, 4, 5}));
    // A mark that only the page in memory carries: a kept page is not read again.
    ctx.doc.pages[4].indent = 777;
    ASSERT_EQ(MoveWindowTo(ctx.doc, ctx.ui, 7), FileOk);
    EXPECT_EQ(pageNumbers(), (std::vector<std::uint32_t>{5, 6, 7, 8, 9}));
    EXPECT_EQ(ctx.doc.pages[0].indent, 777u);
    EXPECT_EQ(ctx.doc.currentPage, 7);
    EXPECT_EQ(ctx.doc.storage.windowFirst, 5);
    EXPECT_EQ(ctx.doc.storage.windowLast, 9);
    EXPECT_EQ(ctx.doc.pages[2].staves[3].elements, MakePage(7, 10, 140).staves[3].elements);
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(PageWindowSlide, EndOfTheScoreAndTargetsOutOfRange) {
    open(12, 5);
    ASSERT_EQ(MoveWindowTo(ctx.doc, ctx.ui, 400), FileOk);
    EXPECT_EQ(pageNumbers(), (std::vector<std::uint32_t>{8, 9, 10, 11, 12}));
    EXPECT_EQ(ctx.doc.currentPage, 12);
    ASSERT_EQ(MoveWindowTo(ctx.doc, ctx.ui, 0), FileOk);
    EXPECT_EQ(pageNumbers(), (std::vector<std::uint32_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(ctx.doc.currentPage, 1);
}

TEST_F(PageWindowSlide, ModifiedWindowIsSavedBeforeItsPagesLeave) {
    open(12, 5);
    ctx.doc.pages[1].staves[0].elements.resize(3);
    ctx.doc.markModified();
    ASSERT_EQ(MoveWindowTo(ctx.doc, ctx.ui, 11), FileOk);
    ASSERT_EQ(MoveWindowTo(ctx.doc, ctx.ui, 2), FileOk);
    ASSERT_EQ(ctx.doc.currentPage, 2);
    EXPECT_EQ(ctx.doc.page()->staves[0].elements.size(), 3u);
    EXPECT_TRUE(ctx.doc.modified);  // saved into the working file only: the document still differs
}

TEST_F(PageWindowSlide, ReadFailureLeavesTheWindowAsItWas) {
    open(12, 5);
    // Damage page 10 behind the document's back.
    auto& working = *ctx.doc.storage.working;
    const std::uint8_t wrong[4] = {99, 0, 0, 0};
    ASSERT_TRUE(working.seek(ctx.doc.storage.pageTable[9].offset + 7) && working.write(wrong) && working.flush());
    EXPECT_EQ(MoveWindowTo(ctx.doc, ctx.ui, 10), FileReadFailure);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].stringId, 9);
    EXPECT_EQ(ui.messages()[0].text, "Erreur de lecture.");
    EXPECT_EQ(pageNumbers(), (std::vector<std::uint32_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(ctx.doc.currentPage, 5);
    EXPECT_EQ(ctx.doc.pages[2].staves[3].elements, MakePage(3, 10, 140).staves[3].elements);
}

}  // namespace
}  // namespace notavera
