// Saving ".mus" documents: pages in place or moved to the end of the data, the header and its
// blocks, byte-exact round trips, a first save without a working file, and the compact copy.
#include <gtest/gtest.h>

#include <random>

#include "platform/headless/headless_ui.h"
#include "print/mask_editing.h"
#include "score/mus_file.h"
#include "score/mus_page_codec.h"
#include "score/work_files.h"
#include "shell/editor_context.h"
#include "support/mus_file_builder.h"

namespace notavera {
namespace {

using test::GetU32;
using test::MakePage;
using test::MusFileBuilder;

class MusFileSave : public ::testing::Test {
protected:
    std::filesystem::path document() const { return dir / "essai.mus"; }

    void openPages(int count) {
        MusFileBuilder b;
        for (int n = 1; n <= count; ++n) b.addPage(MakePage(n, 2, 4));
        test::WriteBytes(document(), b.build());
        ASSERT_EQ(ReadDocument(ctx, document()), FileOk);
    }
    std::vector<std::uint8_t> workingBytes() const { return test::ReadBytes(ctx.doc.storage.workingPath); }
    // The page as stored in the working file where the table puts it.
    PageRecord storedPage(int n) const {
        const auto bytes = workingBytes();
        const PageTableEntry& e = ctx.doc.storage.pageTable[static_cast<std::size_t>(n - 1)];
        auto decoded = DecodePage(std::span(bytes).subspan(e.offset, e.length), static_cast<std::uint32_t>(n));
        return decoded ? std::move(decoded->page) : PageRecord{};
    }
    bool separatorAt(std::uint32_t offset) const {
        const auto bytes = workingBytes();
        return offset + 7 <= bytes.size() &&
               std::equal(std::begin(pageSeparator), std::end(pageSeparator), bytes.begin() + offset);
    }
    // Another instance opening the document once this one has closed it.
    void reopen(const std::function<void(EditorContext&)>& check, const std::filesystem::path& path = {}) {
        DeleteWorkFiles(ctx);
        HeadlessUi otherUi{nullptr};
        EditorContext other{otherUi};
        ASSERT_EQ(ReadDocument(other, path.empty() ? document() : path), FileOk);
        EXPECT_TRUE(otherUi.messages().empty());
        check(other);
    }

    test::TempDir dir;
    HeadlessUi ui{nullptr};
    EditorContext ctx{ui};
};

TEST_F(MusFileSave, PagesShrinkInPlaceGrowInPlaceAtTheEndAndMoveThereOtherwise) {
    openPages(3);
    const PageTable before = ctx.doc.storage.pageTable;
    const std::uint32_t endOfData = ctx.doc.header.endOfData();
    ctx.doc.pages[0].staves[0].elements.pop_back();
    ctx.doc.pages[2].staves[0].elements.emplace_back().x = 5000;
    ASSERT_TRUE(SaveToWorkingFile(ctx));
    EXPECT_EQ(ctx.doc.storage.pageTable[0].offset, before[0].offset);
    EXPECT_EQ(ctx.doc.storage.pageTable[0].length, before[0].length - 17);
    EXPECT_EQ(ctx.doc.storage.pageTable[2].offset, before[2].offset);  // the last page of the data
    EXPECT_EQ(ctx.doc.header.endOfData(), endOfData + 17);
    EXPECT_TRUE(separatorAt(ctx.doc.header.endOfData()));

    const std::uint32_t end = ctx.doc.header.endOfData();
    ctx.doc.pages[0].staves[0].elements.emplace_back().x = 5000;
    ctx.doc.pages[0].staves[0].elements.emplace_back().x = 6000;
    ASSERT_TRUE(SaveToWorkingFile(ctx));
    const PageTableEntry& moved = ctx.doc.storage.pageTable[0];
    EXPECT_EQ(moved.offset, end);
    EXPECT_EQ(moved.length, before[0].length + 17);
    EXPECT_EQ(ctx.doc.header.endOfData(), end + moved.length);
    EXPECT_TRUE(separatorAt(ctx.doc.header.endOfData()));
    EXPECT_EQ(ctx.doc.storage.pageTable[1].offset, before[1].offset);
    for (int n = 1; n <= 3; ++n) EXPECT_EQ(storedPage(n).staves[0].elements, ctx.doc.pages[n - 1].staves[0].elements);
}

TEST_F(MusFileSave, PublishedDocumentReopensWithTheChangesAndABackup) {
    openPages(3);
    const auto original = test::ReadBytes(document());
    ctx.doc.pages[0].staves[0].elements.emplace_back().x = 5000;
    ctx.doc.pages[2].staves[1].elements.clear();
    ctx.doc.optional.notes = "revu";
    ctx.doc.optional.fixedMask = std::make_unique<PageRecord>(MakePage(0, 1, 2));
    ctx.doc.optional.fixedMask->staves[0].elements.push_back(ElementRecord{});
    ctx.doc.header.blockFlags() = block_flag::pageHeader | block_flag::cropMarks | 0x80;  // no header in memory
    ctx.doc.storage.fileState = FileState::Publish;
    ASSERT_TRUE(SavePages(ctx));
    EXPECT_EQ(ctx.doc.storage.fileState, FileState::Open);
    EXPECT_EQ(ctx.doc.header.blockFlags(), block_flag::fixedMask | block_flag::notes | block_flag::cropMarks | 0x80);
    EXPECT_EQ(test::ReadBytes(dir / "essai.bak"), original);
    reopen([&](EditorContext& other) {
        ASSERT_EQ(other.doc.pages.size(), 3u);
        for (int i = 0; i < 3; ++i)
            for (int s = 0; s < 2; ++s) EXPECT_EQ(other.doc.pages[i].staves[s].elements, ctx.doc.pages[i].staves[s].elements);
        EXPECT_EQ(other.doc.optional.notes, "revu");
        ASSERT_TRUE(other.doc.optional.fixedMask);
        EXPECT_EQ(other.doc.optional.fixedMask->staves[0].elements.size(), 3u);  // the count is taken anew
        EXPECT_FALSE(other.doc.optional.pageHeader);
    });
}

// The header keeps the cursor, or the place mask editing returns to: the mask page is no page of the score.
TEST_F(MusFileSave, CursorIsStoredInTheHeader) {
    openPages(3);
    ctx.doc.currentPage = 2;
    ctx.doc.currentStaff = 1;
    ctx.doc.currentElement = 3;
    ASSERT_TRUE(SaveToWorkingFile(ctx));
    const auto bytes = workingBytes();
    EXPECT_EQ(bytes[522], 2);
    EXPECT_EQ(bytes[523], 1);
    EXPECT_EQ(static_cast<std::int32_t>(GetU32(bytes, 524)), ctx.doc.pages[1].staves[1].elements[3].x);
    ctx.doc.currentElement = 2;
    ASSERT_EQ(EnterMaskEditing(ctx, mask_command::editFixed), 1);
    ASSERT_TRUE(SaveToWorkingFile(ctx));
    EXPECT_EQ(ctx.doc.header.currentPage(), 2);
    EXPECT_EQ(ctx.doc.header.currentStaff(), 1);
    EXPECT_EQ(ctx.doc.header.currentX(), ctx.doc.findPage(2)->staves[1].elements[2].x);
    ASSERT_EQ(LeaveMaskEditing(ctx), 1);
    ctx.doc.currentElement = -1;
    ASSERT_TRUE(SaveToWorkingFile(ctx));
    EXPECT_EQ(static_cast<std::int32_t>(GetU32(workingBytes(), 524)), ctx.doc.defaultFirstX);
}

TEST_F(MusFileSave, FirstSaveMakesTheWorkingFileAndPublishesWithoutBackup) {
    {
        HeadlessUi failUi{nullptr};
        EditorContext failing{failUi};
        failing.doc.storage.path = dir / "absent" / "neuf.mus";
        failing.doc.pages.push_back(MakePage(1, 1, 1));
        failing.doc.pageCount = 1;
        EXPECT_FALSE(SavePages(failing));  // a working file that cannot be made
        EXPECT_EQ(failUi.messages().at(0).stringId, 1);
    }
    ctx.doc.storage.path = dir / "neuf.mus";
    ctx.doc.pages.push_back(MakePage(1, 3, 5));
    ctx.doc.pages.push_back(MakePage(2, 3, 5));
    ctx.doc.pageCount = ctx.doc.currentPage = 2;
    ASSERT_TRUE(SavePages(ctx));
    EXPECT_EQ(ctx.doc.storage.fileState, FileState::Open);
    EXPECT_FALSE(std::filesystem::exists(dir / "neuf.bak"));
    const auto bytes = test::ReadBytes(dir / "neuf.mus");
    ASSERT_GE(bytes.size(), firstPageOffset);
    EXPECT_TRUE(std::equal(ctx.doc.fonts.bytes.begin(), ctx.doc.fonts.bytes.end(), bytes.begin() + fontBlockOffset));
    EXPECT_TRUE(std::all_of(bytes.begin() + 868, bytes.begin() + 1327, [](std::uint8_t b) { return b == 0; }));
    EXPECT_EQ(GetU32(bytes, 2383 + 4), firstPageOffset);
    reopen(
        [&](EditorContext& other) {
            EXPECT_EQ(other.doc.header.title(), "neuf.mus");
            ASSERT_EQ(other.doc.pages.size(), 2u);
            EXPECT_EQ(other.doc.pages[1].staves[2].elements, ctx.doc.pages[1].staves[2].elements);
        },
        dir / "neuf.mus");
}

// Round trips: load → save → the same bytes but the cursor fields; load → save again → the same bytes.
struct FileShape {
    const char* name;
    int pages, staves, elements;
    std::uint8_t flags;
};

class RoundTrip : public MusFileSave, public ::testing::WithParamInterface<FileShape> {};

TEST_P(RoundTrip, SavingWhatWasLoadedChangesOnlyTheCursorFields) {
    const FileShape& shape = GetParam();
    MusFileBuilder b;
    for (int n = 1; n <= shape.pages; ++n) b.addPage(MakePage(n, shape.staves, shape.elements));
    b.header.blockFlags() = shape.flags;
    auto& t = b.trailer;
    if (shape.flags & block_flag::pagination) t.insert(t.end(), 10, 3);
    if (shape.flags & block_flag::pageHeader) t.insert(t.end(), 206, 'h');
    if (shape.flags & block_flag::pageFooter) t.insert(t.end(), 206, 'f');
    for (std::uint8_t mask : {block_flag::fixedMask, block_flag::variableMask}) {
        if (!(shape.flags & mask)) continue;
        const auto page = EncodePage(MakePage(0, 2, 3));
        t.insert(t.end(), page.begin(), page.end());
    }
    if (shape.flags & block_flag::notes) t.insert(t.end(), {4, 0, 'a', 'b', 'c', 0});
    // Bytes no code interprets: the reserved block, part C's voice transpositions, part B's tail.
    std::mt19937 random(7);
    for (std::size_t i = 868; i < 1327; ++i) b.header.bytes[i] = static_cast<std::uint8_t>(random());
    for (std::size_t i = 727 + 12; i < 727 + 140; ++i) b.header.bytes[i] = static_cast<std::uint8_t>(random());
    b.header.bytes[555 + 171] = 0x5A;
    const auto original = b.build();
    test::WriteBytes(document(), original);
    ASSERT_EQ(ReadDocument(ctx, document()), FileOk);
    ctx.doc.storage.fileState = FileState::Publish;
    ASSERT_TRUE(SavePages(ctx));

    const auto saved = test::ReadBytes(document());
    ASSERT_EQ(saved.size(), original.size());
    for (std::size_t i = 0; i < saved.size(); ++i) {
        if (i < 522 || i >= 528) {
            ASSERT_EQ(saved[i], original[i]) << "byte " << i;  // but page, staff and x
        }
    }
    reopen([&](EditorContext& other) {
        other.doc.storage.fileState = FileState::Publish;
        ASSERT_TRUE(SavePages(other));
        EXPECT_EQ(test::ReadBytes(document()), saved);
    });
}

INSTANTIATE_TEST_SUITE_P(Shapes, RoundTrip,
                         ::testing::Values(FileShape{"OnePage", 1, 1, 1, 0}, FileShape{"EveryBlock", 2, 3, 5, 0x7F},
                                           FileShape{"MasksAndUnknownFlags", 4, 1, 2, 0xB8},
                                           FileShape{"PagesOutsideTheWindow", 9, 2, 2, block_flag::notes},
                                           FileShape{"FullPage", 1, 127, 3, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MusFileSave, CompactCopyLaysThePagesEndToEnd) {
    openPages(3);
    ctx.doc.pages[0].staves[0].elements.emplace_back().x = 5000;
    ASSERT_TRUE(SaveToWorkingFile(ctx));
    const PageTable before = ctx.doc.storage.pageTable;
    EXPECT_FALSE(WriteCompactCopy(ctx, dir / "absent" / "compact.mus", "compact.mus"));
    EXPECT_EQ(ui.messages().at(0).stringId, 1);
    EXPECT_EQ(ctx.doc.storage.pageTable[0].offset, before[0].offset);  // a failed copy leaves everything

    const auto target = dir / "compact.mus";
    ASSERT_TRUE(WriteCompactCopy(ctx, target, "compact.mus"));
    const auto bytes = test::ReadBytes(target);
    std::uint32_t at = firstPageOffset;
    for (int n = 1; n <= 3; ++n) {
        EXPECT_EQ(GetU32(bytes, test::pageTableEntryAt(n) + 4), at);
        EXPECT_EQ(ctx.doc.storage.pageTable[static_cast<std::size_t>(n - 1)].offset, at);
        at += GetU32(bytes, test::pageTableEntryAt(n));
    }
    EXPECT_EQ(GetU32(bytes, 516), at);
    EXPECT_EQ(ctx.doc.header.endOfData(), at);
    EXPECT_TRUE(std::equal(std::begin(pageSeparator), std::end(pageSeparator), bytes.begin() + at));
    EXPECT_EQ(workingBytes(), bytes);
    reopen(
        [&](EditorContext& other) {
            EXPECT_EQ(other.doc.header.title(), "compact.mus");
            for (int i = 0; i < 3; ++i) EXPECT_EQ(other.doc.pages[i].staves[0].elements, ctx.doc.pages[i].staves[0].elements);
        },
        target);
}

}  // namespace
}  // namespace notavera
