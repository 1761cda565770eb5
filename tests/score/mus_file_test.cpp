// ".mus" documents opened and saved: versions, optional blocks, the page table, the memory window and its slide,
// damaged files; pages saved in place or moved, byte-exact round trips, a first save, and the compact copy.
#include <gtest/gtest.h>

#include <functional>
#include <numeric>
#include <random>

#include "platform/headless/headless_ui.h"
#include "print/mask_editing.h"
#include "score/binary_file.h"
#include "score/mus_file.h"
#include "score/mus_page_codec.h"
#include "score/page_deletion.h"
#include "score/page_window.h"
#include "score/work_files.h"
#include "shell/editor_context.h"
#include "support/mus_file_builder.h"

namespace notavera {
namespace {

using test::GetU32;
using test::MakePage;
using test::MusFileBuilder;
using test::pageTableEntryAt;
using test::PutU16;
using test::PutU32;
using Numbers = std::vector<std::uint32_t>;

class MusFile : public ::testing::Test {
protected:
    std::filesystem::path document() const { return dir / "essai.mus"; }
    std::filesystem::path working() const { return dir / "essai.sum"; }
    int open(const std::vector<std::uint8_t>& bytes) {
        test::WriteBytes(document(), bytes);
        return ReadDocument(ctx.doc, ctx.ui, document());
    }
    static MusFileBuilder pages(int count, int staves = 2, int elements = 4) {
        MusFileBuilder b;
        for (int n = 1; n <= count; ++n) b.addPage(MakePage(n, staves, elements));
        return b;
    }
    std::vector<int> shown() const {
        std::vector<int> ids;
        for (const auto& m : ui.messages()) ids.push_back(m.stringId);
        return ids;
    }
    Numbers pageNumbers() const {
        Numbers numbers;
        for (const auto& p : ctx.doc.pages) numbers.push_back(p.number);
        return numbers;
    }
    void openPages(int count) { ASSERT_EQ(open(pages(count).build()), FileOk); }
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
        DeleteWorkFiles(ctx.doc);
        HeadlessUi otherUi{nullptr};
        EditorContext other{otherUi};
        ASSERT_EQ(ReadDocument(other.doc, other.ui, path.empty() ? document() : path), FileOk);
        EXPECT_TRUE(otherUi.messages().empty());
        check(other);
    }
    test::TempDir dir;
    HeadlessUi ui{nullptr};
    EditorContext ctx{ui};
};

TEST_F(MusFile, OpensVersion21AndLoadsTheWindowEndingAtTheLastPage) {
    MusFileBuilder b = pages(12);
    b.header.setVersion(2, 1);
    ASSERT_EQ(open(b.build()), FileOk);
    EXPECT_TRUE(shown().empty());
    EXPECT_EQ(ctx.doc.pageCount, 12);
    EXPECT_EQ(ctx.doc.currentPage, 12);
    EXPECT_EQ(pageNumbers(), (Numbers{7, 8, 9, 10, 11, 12}));  // five pages kept before the current one
    EXPECT_EQ(ctx.doc.storage.windowFirst, 7);
    EXPECT_EQ(ctx.doc.pages[1].staves[1].elements, MakePage(8, 2, 4).staves[1].elements);
    EXPECT_EQ(ctx.doc.storage.fileState, FileState::Open);
    EXPECT_EQ(ctx.doc.storage.workingPath, working());
    EXPECT_TRUE(std::filesystem::exists(working()));
    EXPECT_FALSE(ctx.doc.modified);
}

TEST_F(MusFile, OtherVersionsAreRefusedNamingTheWayToConvert) {
    const std::tuple<std::uint16_t, std::uint16_t, const char*> versions[] = {
        {2, 3, "EXPORTER"}, {1, 5, "EXPORTER"}, {1, 4, "WINNVCNV"}, {1, 3, "WINNVCNV"}, {1, 2, "OLD2NEW"}};
    for (const auto& [major, minor, converter] : versions) {
        HeadlessUi versionUi{nullptr};
        EditorContext other{versionUi};
        MusFileBuilder b = pages(1);
        b.header.setVersion(major, minor);
        test::WriteBytes(document(), b.build());
        EXPECT_EQ(ReadDocument(other.doc, other.ui, document()), FileVersionRefused);
        ASSERT_EQ(versionUi.messages().size(), 1u);
        EXPECT_EQ(versionUi.messages()[0].stringId, 3);
        EXPECT_NE(versionUi.messages()[0].text.find(converter), std::string::npos) << major << "." << minor;
        EXPECT_TRUE(other.doc.pages.empty() && !std::filesystem::exists(working()));
    }
    EXPECT_EQ(ReadDocument(ctx.doc, ctx.ui, dir / "absent.mus"), FileReadFailure);
    EXPECT_EQ(shown(), std::vector<int>{4});
}

// The optional blocks of a file, in flag order.
std::vector<std::uint8_t> trailerWithEveryBlock(const std::string& notes) {
    std::vector<std::uint8_t> t;
    for (int i = 0; i < 10; ++i) t.push_back(static_cast<std::uint8_t>(i + 1));
    t.insert(t.end(), 206, 'h');
    t.insert(t.end(), 206, 'f');
    for (const PageRecord& mask : {MakePage(0, 1, 3), MakePage(0, 2, 2)}) {
        const auto bytes = EncodePage(mask);
        t.insert(t.end(), bytes.begin(), bytes.end());
    }
    t.insert(t.end(), {static_cast<std::uint8_t>(notes.size() + 1), 0});
    t.insert(t.end(), notes.begin(), notes.end());
    t.push_back(0);
    return t;
}

TEST_F(MusFile, ReadsTheOptionalBlocksOfItsFlagsInFlagOrder) {
    MusFileBuilder b = pages(2);
    b.header.blockFlags() = 0x7F;
    b.trailer = trailerWithEveryBlock("Notes du fichier");
    ASSERT_EQ(open(b.build()), FileOk);
    const OptionalBlocks& o = ctx.doc.optional;
    ASSERT_TRUE(o.pagination && o.pageHeader && o.pageFooter && o.fixedMask && o.variableMask && o.notes);
    EXPECT_EQ((*o.pagination)[9], 10);
    EXPECT_EQ((*o.pageFooter)[205], 'f');
    EXPECT_EQ(o.fixedMask->staves.size(), 1u);
    EXPECT_EQ(o.variableMask->staves[1].elements, MakePage(0, 2, 2).staves[1].elements);
    EXPECT_EQ(*o.notes, "Notes du fichier");
}

TEST_F(MusFile, MisnumberedPageIsDroppedAndTheLaterPagesRenumbered) {
    MusFileBuilder b = pages(12);
    b.header.currentPage() = 3;
    PutU32(b.pages[1], 7, 9);
    ASSERT_EQ(open(b.build()), FileOk);
    ASSERT_EQ(shown(), std::vector<int>{12});
    EXPECT_EQ(ui.messages()[0].text, "Erreur de lecture. Pages 2 supprimée.");
    EXPECT_EQ(ctx.doc.pageCount, 11);
    EXPECT_EQ(pageNumbers(), (Numbers{1, 2}));
    // The old page 3 is now page 2, in memory and in the working file.
    EXPECT_EQ(ctx.doc.pages[1].staves[0].elements[1].blob, MakePage(3, 2, 4).staves[0].elements[1].blob);
    EXPECT_EQ(GetU32(test::ReadBytes(working()), ctx.doc.storage.pageTable[1].offset + 7), 2u);
    EXPECT_EQ(ctx.doc.storage.pageTable[11].length, 0u);
    EXPECT_TRUE(ctx.doc.modified);
    ASSERT_EQ(MoveWindowTo(ctx.doc, ctx.ui, 11), FileOk);  // pages outside the window were renumbered too
    EXPECT_EQ(ctx.doc.page()->staves[1].elements[1].blob, MakePage(12, 2, 4).staves[1].elements[1].blob);
}

// Damage done to a sound three-page file, and what opening it must end in.
struct Damage {
    const char* name;
    std::function<void(std::vector<std::uint8_t>&)> apply;
    int status;
    std::vector<int> messages;
    int pagesLeft;
};

std::ostream& operator<<(std::ostream& os, const Damage& d) { return os << d.name; }

class DamagedFile : public MusFile, public ::testing::WithParamInterface<Damage> {};

TEST_P(DamagedFile, EndsInAStatusAndAMessageNeverACrash) {
    auto bytes = pages(3, 2, 3).build();
    GetParam().apply(bytes);
    EXPECT_EQ(open(bytes), GetParam().status);
    EXPECT_EQ(shown(), GetParam().messages);
    EXPECT_EQ(ctx.doc.pageCount, GetParam().pagesLeft);
    EXPECT_EQ(std::filesystem::exists(working()), GetParam().status == FileOk);
}

std::size_t pageAt(const std::vector<std::uint8_t>& b, int n) { return GetU32(b, pageTableEntryAt(n) + 4); }
constexpr std::size_t blobInPage = 27 + 16 + 21 + 21;  // the text blob of the first staff
constexpr std::size_t flagsAt = 727 + 11;               // the optional block flags

const Damage damages[] = {
    {"LastPageEndsTheFile", [](auto& b) { b.resize(b.size() - sizeof pageSeparator); }, FileOk, {}, 3},
    {"EmptyFile", [](auto& b) { b.clear(); }, FileReadFailure, {4}, 0},
    {"CutInHeader", [](auto& b) { b.resize(500); }, FileReadFailure, {4}, 0},
    {"NoPages", [](auto& b) { PutU16(b, 520, 0); }, FileReadFailure, {4}, 0},
    {"LastPageLengthZero", [](auto& b) { PutU32(b, pageTableEntryAt(3), 0); }, FileReadFailure, {4}, 0},
    {"PageOffsetPastTheEnd", [](auto& b) { PutU32(b, pageTableEntryAt(2) + 4, 0xFFFFFF00u); }, FileReadFailure, {4}, 0},
    {"PageLengthHuge", [](auto& b) { PutU32(b, pageTableEntryAt(1), 0xFFFFFFFFu); }, FileReadFailure, {4}, 0},
    {"NotesTooLong", [](auto& b) { b[flagsAt] = block_flag::notes, b.insert(b.end(), {0xFF, 0xFF}); },
     FileReadFailure, {4}, 0},
    {"MaskWithAPageNumber",
     [](auto& b) {
         b[flagsAt] = block_flag::fixedMask;
         const auto mask = EncodePage(MakePage(1, 1, 1));
         b.insert(b.end(), mask.begin(), mask.end());
     },
     FileReadFailure, {4}, 0},
    {"BlobLengthZero", [](auto& b) { PutU16(b, pageAt(b, 2) + blobInPage, 0); }, FileOk, {13}, 3},
    {"ElementCountHuge", [](auto& b) { PutU32(b, pageAt(b, 1) + 27, 0xFFFFFFFFu); }, FileOk, {13}, 3},
    // Renumbering after a dropped page only touches pages that carried the old number.
    {"TwoMisnumberedPages", [](auto& b) { PutU32(b, pageAt(b, 2) + 7, 9), PutU32(b, pageAt(b, 3) + 7, 9); }, FileOk,
     {12, 12}, 1},
    {"StaffCount1023", [](auto& b) { PutU32(b, pageAt(b, 3) + 11, 1023); }, FileOk, {12}, 2},
    {"EveryPageUnreadable",
     [](auto& b) {
         for (int n = 1; n <= 3; ++n) PutU32(b, pageAt(b, n) + 11, 1023);
     },
     FileReadFailure, {12, 12, 12, 4}, 0},
};

INSTANTIATE_TEST_SUITE_P(Damages, DamagedFile, ::testing::ValuesIn(damages),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PageWindowRules, PagesKeptBeforeTheCurrentOneFollowTheLargestPage) {
    const std::pair<std::uint64_t, int> kept[] = {{27, 5},    {21733, 5}, {21734, 4},  {26080, 4},  {43466, 2},
                                                  {65200, 1}, {65201, 0}, {130399, 0}, {130400, 0}, {900000, 0}};
    for (const auto& [length, pages] : kept) EXPECT_EQ(KeptBeforeFor(length), pages) << length;
}

TEST_F(MusFile, SlidingWindowKeepsTheOverlapSavesChangesAndDropsADamagedPage) {
    MusFileBuilder b;
    for (int n = 1; n <= 12; ++n) b.addPage(MakePage(n, 10, 140));
    b.header.currentPage() = 5;
    ASSERT_EQ(open(b.build()), FileOk);
    ASSERT_EQ(pageNumbers(), (Numbers{1, 2, 3, 4, 5}));
    ctx.doc.pages[4].indent = 777;  // a mark only the page in memory carries: a kept page is not read again
    ctx.doc.pages[1].staves[0].elements.resize(3);
    ctx.doc.markModified();
    ASSERT_EQ(MoveWindowTo(ctx.doc, ctx.ui, 7), FileOk);
    EXPECT_EQ(pageNumbers(), (Numbers{5, 6, 7, 8, 9}));
    EXPECT_EQ(ctx.doc.pages[0].indent, 777u);
    EXPECT_EQ(ctx.doc.pages[2].staves[3].elements, MakePage(7, 10, 140).staves[3].elements);
    ASSERT_EQ(MoveWindowTo(ctx.doc, ctx.ui, 400), FileOk);
    EXPECT_EQ(pageNumbers(), (Numbers{8, 9, 10, 11, 12}));
    EXPECT_EQ(ctx.doc.currentPage, 12);
    ASSERT_EQ(MoveWindowTo(ctx.doc, ctx.ui, 0), FileOk);
    EXPECT_EQ(pageNumbers(), (Numbers{1, 2, 3, 4, 5}));
    EXPECT_EQ(ctx.doc.currentPage, 1);
    EXPECT_EQ(ctx.doc.pages[1].staves[0].elements.size(), 3u);  // saved into the working file as it left
    EXPECT_TRUE(ctx.doc.modified);
    EXPECT_TRUE(ui.messages().empty());

    // Damage page 8 behind the document's back: it is dropped on the way to page 10, which is now page 9.
    auto& file = *ctx.doc.storage.working;
    const std::uint8_t wrong[4] = {99, 0, 0, 0};
    ASSERT_TRUE(file.seek(ctx.doc.storage.pageTable[7].offset + 7) && file.write(wrong) && file.flush());
    EXPECT_EQ(MoveWindowTo(ctx.doc, ctx.ui, 10), FileOk);
    EXPECT_EQ(shown(), std::vector<int>{12});
    EXPECT_EQ(pageNumbers(), (Numbers{7, 8, 9, 10, 11}));
    EXPECT_EQ(ctx.doc.currentPage, 9);
    EXPECT_EQ(ctx.doc.page()->staves[3].elements, MakePage(10, 10, 140).staves[3].elements);
    EXPECT_EQ(ctx.doc.pageCount, 11);
    // Page 5 now, going back to page 6 past it: the kept pages take their new numbers too.
    ASSERT_TRUE(file.seek(ctx.doc.storage.pageTable[4].offset + 7) && file.write(wrong) && file.flush());
    EXPECT_EQ(MoveWindowTo(ctx.doc, ctx.ui, 6), FileOk);
    EXPECT_EQ(pageNumbers(), (Numbers{3, 4, 5, 6, 7}));
    EXPECT_EQ(ctx.doc.findPage(7)->staves[3].elements, MakePage(9, 10, 140).staves[3].elements);
}

// Deleting pages anywhere (in the window, before it, the first, the last) leaves every other page in order under its
// new number, in memory and in the working file, with the window consecutive around the neighbour made current.
TEST_F(MusFile, DeletedPagesLeaveTheOthersInOrderInMemoryAndOnDisk) {
    MusFileBuilder b;
    for (int n = 1; n <= 12; ++n) b.addPage(MakePage(n, 4, 20));
    b.header.currentPage() = 5;
    ASSERT_EQ(open(b.build()), FileOk);
    std::vector<int> left(12);
    std::iota(left.begin(), left.end(), 1);  // the page each number now holds, by its first number
    const auto remove = [&](int number, int current) {
        ASSERT_TRUE(DeletePageOfScore(ctx.doc, ctx.ui, number)) << number;
        left.erase(left.begin() + (number - 1));
        EXPECT_EQ(ctx.doc.pageCount, static_cast<int>(left.size()));
        EXPECT_EQ(ctx.doc.currentPage, current) << "after deleting " << number;
        EXPECT_NE(ctx.doc.page(), nullptr) << "the current page is in memory";
        Numbers window;
        for (int n = ctx.doc.storage.windowFirst; n <= ctx.doc.storage.windowLast; ++n)
            window.push_back(static_cast<std::uint32_t>(n));
        EXPECT_EQ(pageNumbers(), window);
        for (int n = 1; n <= ctx.doc.pageCount; ++n) {
            const PageView page = ViewPage(ctx.doc, ctx.ui, n);
            ASSERT_TRUE(page) << n;
            EXPECT_EQ(page->staves[3].elements, MakePage(left[n - 1], 4, 20).staves[3].elements) << n;
        }
    };
    remove(5, 5);    // the window's last page: the page after it comes in
    remove(1, 1);    // the first page
    remove(10, 9);   // the last page: the one before it stays current
    ASSERT_EQ(MoveWindowTo(ctx.doc, ctx.ui, 8), FileOk);
    ASSERT_GT(ctx.doc.storage.windowFirst, 2);
    remove(ctx.doc.storage.windowFirst - 1, ctx.doc.storage.windowFirst - 1);  // just before the window
    EXPECT_FALSE(DeletePageOfScore(ctx.doc, ctx.ui, 0));
    while (left.size() > 1) remove(1, 1);
    EXPECT_FALSE(DeletePageOfScore(ctx.doc, ctx.ui, 1)) << "one page always stays";
    EXPECT_TRUE(ui.messages().empty());
}

// Pages are stored with the counts of their lists, whatever the record says; a blob flag without a blob is dropped.
TEST(PageCodec, CountsComeFromTheListsAndABlobFlagWithoutBlobIsNotStored) {
    PageRecord page = MakePage(2, 2, 3);
    page.layoutWord().setStaffCount(9);
    page.staves[0].elements.pop_back();
    ElementRecord& e = page.staves[1].elements.emplace_back();
    e.w0().setKind(ElementKind::Sign);
    e.w0().setHasBlob(true);
    const auto bytes = EncodePage(page);
    EXPECT_EQ(GetU32(bytes, 11) & 0x3FF, 2u);
    EXPECT_EQ(GetU32(bytes, 27), 2u);  // first staff's element count
    auto decoded = DecodePage(bytes, 2);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->used, bytes.size());
    EXPECT_FALSE(decoded->page.staves[1].elements.back().hasBlob());
    EXPECT_EQ(EncodePage(decoded->page), bytes);
}

TEST_F(MusFile, PagesShrinkInPlaceGrowInPlaceAtTheEndAndMoveThereOtherwise) {
    openPages(3);
    const PageTable before = ctx.doc.storage.pageTable;
    const std::uint32_t endOfData = ctx.doc.header.endOfData();
    ctx.doc.pages[0].staves[0].elements.pop_back();
    ctx.doc.pages[2].staves[0].elements.emplace_back().x = 5000;
    ASSERT_TRUE(SaveToWorkingFile(ctx.doc, ctx.ui));
    EXPECT_EQ(ctx.doc.storage.pageTable[0].offset, before[0].offset);
    EXPECT_EQ(ctx.doc.storage.pageTable[0].length, before[0].length - 17);
    EXPECT_EQ(ctx.doc.storage.pageTable[2].offset, before[2].offset);  // the last page of the data
    EXPECT_EQ(ctx.doc.header.endOfData(), endOfData + 17);
    EXPECT_TRUE(separatorAt(ctx.doc.header.endOfData()));
    const std::uint32_t end = ctx.doc.header.endOfData();
    ctx.doc.pages[0].staves[0].elements.emplace_back().x = 5000;
    ctx.doc.pages[0].staves[0].elements.emplace_back().x = 6000;
    ASSERT_TRUE(SaveToWorkingFile(ctx.doc, ctx.ui));
    const PageTableEntry& moved = ctx.doc.storage.pageTable[0];
    EXPECT_EQ(moved.offset, end);
    EXPECT_EQ(moved.length, before[0].length + 17);
    EXPECT_EQ(ctx.doc.header.endOfData(), end + moved.length);
    EXPECT_TRUE(separatorAt(ctx.doc.header.endOfData()));
    EXPECT_EQ(ctx.doc.storage.pageTable[1].offset, before[1].offset);
    for (int n = 1; n <= 3; ++n) EXPECT_EQ(storedPage(n).staves[0].elements, ctx.doc.pages[n - 1].staves[0].elements);
}

TEST_F(MusFile, PublishedDocumentReopensWithTheChangesAndABackup) {
    openPages(3);
    const auto original = test::ReadBytes(document());
    ctx.doc.pages[0].staves[0].elements.emplace_back().x = 5000;
    ctx.doc.pages[2].staves[1].elements.clear();
    ctx.doc.optional.notes = "revu";
    ctx.doc.optional.fixedMask = std::make_unique<PageRecord>(MakePage(0, 1, 2));
    ctx.doc.optional.fixedMask->staves[0].elements.push_back(ElementRecord{});
    ctx.doc.header.blockFlags() = block_flag::pageHeader | block_flag::cropMarks | 0x80;  // no header in memory
    ctx.doc.storage.fileState = FileState::Publish;
    ASSERT_TRUE(SavePages(ctx.doc, ctx.ui));
    EXPECT_EQ(ctx.doc.storage.fileState, FileState::Open);
    EXPECT_EQ(ctx.doc.header.blockFlags(), block_flag::fixedMask | block_flag::notes | block_flag::cropMarks | 0x80);
    EXPECT_EQ(test::ReadBytes(dir / "essai.bak"), original);
    reopen([&](EditorContext& other) {
        ASSERT_EQ(other.doc.pages.size(), 3u);
        for (int i = 0; i < 3; ++i)
            for (int s = 0; s < 2; ++s)
                EXPECT_EQ(other.doc.pages[i].staves[s].elements, ctx.doc.pages[i].staves[s].elements) << i;
        EXPECT_EQ(other.doc.optional.notes, "revu");
        ASSERT_TRUE(other.doc.optional.fixedMask);
        EXPECT_EQ(other.doc.optional.fixedMask->staves[0].elements.size(), 3u);  // the count is taken anew
        EXPECT_FALSE(other.doc.optional.pageHeader);
    });
}

TEST_F(MusFile, FirstSaveMakesTheWorkingFileAndPublishesWithoutBackup) {
    ctx.doc.storage.path = dir / "neuf.mus";
    ctx.doc.pages.push_back(MakePage(1, 3, 5));
    ctx.doc.pages.push_back(MakePage(2, 3, 5));
    ctx.doc.pageCount = ctx.doc.currentPage = 2;
    ASSERT_TRUE(SavePages(ctx.doc, ctx.ui));
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

class RoundTrip : public MusFile, public ::testing::WithParamInterface<FileShape> {};

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
    ASSERT_EQ(ReadDocument(ctx.doc, ctx.ui, document()), FileOk);
    ctx.doc.storage.fileState = FileState::Publish;
    ASSERT_TRUE(SavePages(ctx.doc, ctx.ui));
    const auto saved = test::ReadBytes(document());
    ASSERT_EQ(saved.size(), original.size());
    for (std::size_t i = 0; i < saved.size(); ++i) {
        if (i < 522 || i >= 528) {
            ASSERT_EQ(saved[i], original[i]) << "byte " << i;  // but page, staff and x
        }
    }
    reopen([&](EditorContext& other) {
        other.doc.storage.fileState = FileState::Publish;
        ASSERT_TRUE(SavePages(other.doc, other.ui));
        EXPECT_EQ(test::ReadBytes(document()), saved);
    });
}

INSTANTIATE_TEST_SUITE_P(Shapes, RoundTrip,
                         ::testing::Values(FileShape{"OnePage", 1, 1, 1, 0}, FileShape{"EveryBlock", 2, 3, 5, 0x7F},
                                           FileShape{"MasksAndUnknownFlags", 4, 1, 2, 0xB8},
                                           FileShape{"PagesOutsideTheWindow", 9, 2, 2, block_flag::notes},
                                           FileShape{"FullPage", 1, 127, 3, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MusFile, SavingDuringMaskEditingStoresThePageEditingReturnsTo) {
    openPages(3);
    ctx.doc.currentPage = 2;
    ctx.doc.currentStaff = 1;
    ctx.doc.currentElement = 2;
    const std::int32_t x = ctx.doc.element()->x;
    ASSERT_EQ(EnterMaskEditing(ctx, cmd::EditFixedMask), 1);
    ASSERT_EQ(ctx.doc.currentPage, 0);
    ASSERT_TRUE(SaveToWorkingFile(ctx.doc, ctx.ui, PlaceToReopen(ctx)));
    EXPECT_EQ(ctx.doc.header.currentPage(), 2);
    EXPECT_EQ(ctx.doc.header.currentStaff(), 1);
    EXPECT_EQ(ctx.doc.header.currentX(), x);
    ASSERT_EQ(LeaveMaskEditing(ctx), 1);
    ctx.doc.currentElement = -1;
    ASSERT_TRUE(SaveToWorkingFile(ctx.doc, ctx.ui));
    EXPECT_EQ(ctx.doc.header.currentX(), ctx.doc.defaultFirstX);
}

TEST_F(MusFile, CompactCopyLaysThePagesEndToEnd) {
    openPages(3);
    ctx.doc.pages[0].staves[0].elements.emplace_back().x = 5000;
    ASSERT_TRUE(SaveToWorkingFile(ctx.doc, ctx.ui));
    const PageTable before = ctx.doc.storage.pageTable;
    EXPECT_FALSE(WriteCompactCopy(ctx.doc, ctx.ui, dir / "absent" / "compact.mus", "compact.mus"));
    EXPECT_EQ(ui.messages().at(0).stringId, 6);
    EXPECT_EQ(ctx.doc.storage.pageTable[0].offset, before[0].offset);  // a failed copy leaves everything
    const auto target = dir / "compact.mus";
    ASSERT_TRUE(WriteCompactCopy(ctx.doc, ctx.ui, target, "compact.mus"));
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
            for (int i = 0; i < 3; ++i)
                EXPECT_EQ(other.doc.pages[i].staves[0].elements, ctx.doc.pages[i].staves[0].elements);
        },
        target);
}

}  // namespace
}  // namespace notavera
