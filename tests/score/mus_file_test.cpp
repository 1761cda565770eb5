// Opening ".mus" documents: versions, header take-over, optional blocks, the page table, the first
// window, damaged pages and staves, and files built to make the reader go astray.
#include <gtest/gtest.h>

#include <functional>

#include "platform/headless/headless_ui.h"
#include "score/mus_file.h"
#include "shell/editor_context.h"
#include "support/mus_file_builder.h"
#include "support/test_paths.h"

namespace notavera {
namespace {

using test::GetU32;
using test::MakePage;
using test::MusFileBuilder;
using test::pageTableEntryAt;
using test::PutU16;
using test::PutU32;

class MusFileRead : public ::testing::Test {
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
    std::vector<std::uint32_t> pageNumbers() const {
        std::vector<std::uint32_t> numbers;
        for (const auto& p : ctx.doc.pages) numbers.push_back(p.number);
        return numbers;
    }

    test::TempDir dir;
    HeadlessUi ui{nullptr};
    EditorContext ctx{ui};
};

TEST_F(MusFileRead, OpensVersion21AndLoadsTheWindowEndingAtTheLastPage) {
    MusFileBuilder b = pages(3);
    b.header.setVersion(2, 1);
    ASSERT_EQ(open(b.build()), FileOk);
    EXPECT_TRUE(shown().empty());
    EXPECT_EQ(ctx.doc.pageCount, 3);
    EXPECT_EQ(ctx.doc.currentPage, 3);
    EXPECT_EQ(pageNumbers(), (std::vector<std::uint32_t>{1, 2, 3}));
    EXPECT_EQ(ctx.doc.pages[1].staves[1].elements, MakePage(2, 2, 4).staves[1].elements);
    EXPECT_EQ(ctx.doc.storage.fileState, FileState::Open);
    EXPECT_EQ(ctx.doc.storage.workingPath, working());
    EXPECT_TRUE(std::filesystem::exists(working()));
    EXPECT_FALSE(ctx.doc.modified);
}

TEST_F(MusFileRead, CurrentPageStaffAndElementComeFromTheHeader) {
    MusFileBuilder b = pages(12);
    b.header.currentPage() = 3;
    b.header.currentStaff() = 1;
    b.header.setCurrentX(60 + 40 * 2);
    ASSERT_EQ(open(b.build()), FileOk);
    EXPECT_EQ(ctx.doc.currentPage, 3);
    EXPECT_EQ(ctx.doc.storage.keepBefore, 5);
    EXPECT_EQ(pageNumbers(), (std::vector<std::uint32_t>{1, 2, 3}));
    EXPECT_EQ(ctx.doc.currentStaff, 1);
    EXPECT_EQ(ctx.doc.currentElement, 2);
}

TEST_F(MusFileRead, WindowKeepsFivePagesBeforeTheLastOne) {
    ASSERT_EQ(open(pages(12).build()), FileOk);
    EXPECT_EQ(pageNumbers(), (std::vector<std::uint32_t>{7, 8, 9, 10, 11, 12}));
    EXPECT_EQ(ctx.doc.storage.windowFirst, 7);
    EXPECT_EQ(ctx.doc.storage.windowLast, 12);
}

// A page of `length` stored bytes (at least 43): texts whose blobs take up the room.
PageRecord pageOfLength(int number, std::size_t length) {
    PageRecord p = MakePage(number, 1, 0);
    for (std::size_t rest = length - p.storedLength(); rest >= 25;) {
        const std::size_t payload = std::min<std::size_t>(rest - 25, 65531);
        ElementRecord text;
        text.w0().setKind(ElementKind::Sign);
        text.signWord().setSignType(SignType::Text);
        text.attachBlob(std::vector<std::uint8_t>(payload, 'a'));
        p.staves[0].elements.push_back(text);
        rest -= 25 + payload;
    }
    return p;
}

TEST_F(MusFileRead, PagesOfTheWholeBudgetKeepNoPageBeforeTheCurrentOne) {
    MusFileBuilder b;
    for (int n = 1; n <= 3; ++n) b.addPage(pageOfLength(n, 130400));
    ASSERT_EQ(b.pages[0].size(), 130400u);
    ASSERT_EQ(open(b.build()), FileOk);
    EXPECT_EQ(ctx.doc.storage.keepBefore, 0);
    EXPECT_EQ(pageNumbers(), (std::vector<std::uint32_t>{3}));
}

struct RefusedVersion {
    std::uint16_t major, minor;
    const char* text;
};

class VersionRefused : public MusFileRead, public ::testing::WithParamInterface<RefusedVersion> {};

TEST_P(VersionRefused, NamesTheWayToConvertAndDoesNotOpen) {
    MusFileBuilder b = pages(1);
    b.header.setVersion(GetParam().major, GetParam().minor);
    EXPECT_EQ(open(b.build()), FileVersionRefused);
    ASSERT_EQ(shown(), std::vector<int>{3});
    EXPECT_EQ(ui.messages()[0].text, GetParam().text);
    EXPECT_EQ(ui.messages()[0].caption, "Erreur");
    EXPECT_TRUE(ctx.doc.pages.empty());
    EXPECT_FALSE(std::filesystem::exists(working()));
}

INSTANTIATE_TEST_SUITE_P(
    Versions, VersionRefused,
    ::testing::Values(
        RefusedVersion{2, 3,
                       "Version fichier (2.3) incompatible: utilisez si possible les fonctions EXPORTER puis "
                       "IMPORTER nom.wnv!"},
        RefusedVersion{2, 0,
                       "Version fichier (2.0) incompatible: utilisez si possible les fonctions EXPORTER puis "
                       "IMPORTER nom.wnv!"},
        RefusedVersion{1, 3, "Version fichier (1.3) incompatible: utilisez WINNVCNV.EXE!"},
        RefusedVersion{1, 4, "Version fichier (1.4) incompatible: utilisez WINNVCNV.EXE!"},
        RefusedVersion{1, 2, "Version fichier (1.2) incompatible: utilisez OLD2NEW.EXE!"},
        RefusedVersion{1, 0, "Version fichier (1.0) incompatible: utilisez OLD2NEW.EXE!"},
        RefusedVersion{1, 5,
                       "Version fichier (1.5) incompatible: utilisez si possible les fonctions EXPORTER puis "
                       "IMPORTER nom.wnv!"}),
    [](const auto& info) {
        return "V" + std::to_string(info.param.major) + "_" + std::to_string(info.param.minor);
    });

TEST_F(MusFileRead, MissingDocumentIsReportedWithItsPath) {
    EXPECT_EQ(ReadDocument(ctx.doc, ctx.ui, dir / "absent.mus"), FileReadFailure);
    ASSERT_EQ(shown(), std::vector<int>{4});
    EXPECT_EQ(ui.messages()[0].text, "Impossible de lire le fichier " + (dir / "absent.mus").string() + " !");
    EXPECT_FALSE(std::filesystem::exists(dir / "absent.sum"));
}

TEST_F(MusFileRead, HeaderTakeOverRepairsMissingValuesFromTheOpenDocument) {
    MusFileBuilder b = pages(1);
    auto format = b.header.pageFormat().bytes();
    format[6] = format[22] = format[23] = format[24] = 0;
    b.header.midi().horizontalTolerance() = 0;
    b.header.midi().verticalTolerance() = 99;
    b.header.smallStaffNum() = 0;
    b.header.smallStaffDen() = 7;
    b.header.setAverageBeamHeightTenths(0);
    ctx.doc.stepUnit = 12;
    ctx.doc.header.smallStaffNum() = 9;
    ctx.doc.header.smallStaffDen() = 10;
    ctx.doc.header.cueNum() = 2;
    ctx.doc.header.cueDen() = 3;
    ctx.doc.settings.averageBeamHeight = 2.5;
    ASSERT_EQ(open(b.build()), FileOk);
    FileHeader& h = ctx.doc.header;
    const auto repaired = h.pageFormat();
    EXPECT_EQ(repaired.maxBeamSlope(), 10);
    EXPECT_EQ(repaired.thinLine(), 1);
    EXPECT_EQ(repaired.mediumLine(), 5);
    EXPECT_EQ(repaired.thickLine(), 8);
    EXPECT_EQ(h.midi().horizontalTolerance(), 24);
    EXPECT_EQ(h.midi().verticalTolerance(), 18);
    EXPECT_EQ(h.smallStaffNum(), 9);
    EXPECT_EQ(h.smallStaffDen(), 10);
    EXPECT_EQ(h.cueNum(), 2);
    EXPECT_EQ(h.cueDen(), 3);
    EXPECT_EQ(h.averageBeamHeightTenths(), 25);
    EXPECT_DOUBLE_EQ(ctx.doc.settings.averageBeamHeight, 2.5);
}

TEST_F(MusFileRead, HeaderValuesPresentInTheFileWin) {
    MusFileBuilder b = pages(1);
    b.header.smallStaffNum() = 3;
    b.header.setAverageBeamHeightTenths(35);
    b.header.pageFormat().bytes()[0] = 0;  // landscape
    ASSERT_EQ(open(b.build()), FileOk);
    EXPECT_EQ(ctx.doc.header.smallStaffNum(), 3);
    EXPECT_DOUBLE_EQ(ctx.doc.settings.averageBeamHeight, 3.5);
    EXPECT_EQ(ctx.doc.pageWidth, 2970);
    EXPECT_EQ(ctx.doc.pageHeight, 2100);
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
    t.push_back(static_cast<std::uint8_t>(notes.size() + 1));
    t.push_back(0);
    t.insert(t.end(), notes.begin(), notes.end());
    t.push_back(0);
    return t;
}

TEST_F(MusFileRead, ReadsTheOptionalBlocksInFlagOrder) {
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

TEST_F(MusFileRead, BlocksWithoutTheirFlagAreNotRead) {
    ctx.doc.optional.notes = "anciennes notes";
    MusFileBuilder b = pages(1);
    b.header.blockFlags() = block_flag::cropMarks;
    b.trailer = trailerWithEveryBlock("ignorées");
    ASSERT_EQ(open(b.build()), FileOk);
    EXPECT_FALSE(ctx.doc.optional.notes);
    EXPECT_FALSE(ctx.doc.optional.pagination);
}

TEST_F(MusFileRead, MaskPageCarryingAPageNumberFails) {
    MusFileBuilder b = pages(1);
    b.header.blockFlags() = block_flag::fixedMask;
    b.trailer = EncodePage(MakePage(1, 1, 1));
    EXPECT_EQ(open(b.build()), FileReadFailure);
    EXPECT_EQ(shown(), std::vector<int>{4});
}

TEST_F(MusFileRead, MisnumberedPageIsDroppedAndTheLaterPagesStillLoad) {
    MusFileBuilder b = pages(4);
    PutU32(b.pages[1], 7, 9);
    ASSERT_EQ(open(b.build()), FileOk);
    ASSERT_EQ(shown(), std::vector<int>{12});
    EXPECT_EQ(ui.messages()[0].text, "Erreur de lecture. Pages 2 supprimée.");
    EXPECT_EQ(ctx.doc.pageCount, 3);
    EXPECT_EQ(pageNumbers(), (std::vector<std::uint32_t>{1, 2, 3}));
    // The old page 3 is now page 2, in memory and in the working file.
    EXPECT_EQ(ctx.doc.pages[1].staves[0].elements[1].blob, MakePage(3, 2, 4).staves[0].elements[1].blob);
    const auto stored = test::ReadBytes(working());
    EXPECT_EQ(GetU32(stored, ctx.doc.storage.pageTable[1].offset + 7), 2u);
    EXPECT_EQ(ctx.doc.storage.pageTable[3].length, 0u);
    EXPECT_TRUE(ctx.doc.modified);
}

TEST_F(MusFileRead, DroppedPageRenumbersThePagesOutsideTheWindow) {
    MusFileBuilder b = pages(12);
    b.header.currentPage() = 3;
    PutU32(b.pages[1], 7, 0);
    ASSERT_EQ(open(b.build()), FileOk);
    EXPECT_EQ(pageNumbers(), (std::vector<std::uint32_t>{1, 2}));
    ASSERT_EQ(MoveWindowTo(ctx.doc, ctx.ui, 11), FileOk);
    EXPECT_EQ(shown(), std::vector<int>{12});
    EXPECT_EQ(ctx.doc.page()->staves[1].elements[1].blob, MakePage(12, 2, 4).staves[1].elements[1].blob);
}

TEST_F(MusFileRead, TruncatedStaffIsLeftEmptyAndNamed) {
    MusFileBuilder b = pages(2, 3, 4);
    // The last staff of page 1 claims more elements than the page holds.
    const std::size_t lastStaff = 27 + 2 * MakePage(1, 3, 4).staves[0].storedSize();
    PutU32(b.pages[0], lastStaff, 9);
    ASSERT_EQ(open(b.build()), FileOk);
    ASSERT_EQ(shown(), std::vector<int>{13});
    EXPECT_EQ(ui.messages()[0].text, "Erreur de lecture. Page 1, ligne 3 tronquée.");
    EXPECT_EQ(ctx.doc.pages.size(), 2u);
    EXPECT_TRUE(ctx.doc.pages[0].staves[2].elements.empty());
    EXPECT_EQ(ctx.doc.pages[0].staves[1].elements.size(), 4u);
}

TEST_F(MusFileRead, CompactingIsAdvisedWhenDeadSpaceOutweighsThePages) {
    MusFileBuilder b = pages(2);
    auto bytes = b.build();
    // Move page 2 far out, leaving 130000 dead bytes before it.
    const std::uint32_t length = GetU32(bytes, pageTableEntryAt(2));
    const std::uint32_t offset = GetU32(bytes, pageTableEntryAt(2) + 4);
    std::vector<std::uint8_t> page(bytes.begin() + offset, bytes.begin() + offset + length);
    bytes.resize(offset + 130000, 0);
    const auto moved = static_cast<std::uint32_t>(bytes.size());
    bytes.insert(bytes.end(), page.begin(), page.end());
    bytes.insert(bytes.end(), std::begin(pageSeparator), std::end(pageSeparator));
    PutU32(bytes, pageTableEntryAt(2) + 4, moved);
    PutU32(bytes, 516, moved + length);
    ASSERT_EQ(open(bytes), FileOk);
    EXPECT_EQ(shown(), std::vector<int>{22});
    EXPECT_EQ(ctx.doc.pages.size(), 2u);
}

TEST_F(MusFileRead, FuzzSeedsOpenCleanly) {
    const std::filesystem::path seeds = test::SourceDir() / "fuzz" / "seeds" / "mus";
    int opened = 0;
    for (const auto& entry : std::filesystem::directory_iterator(seeds)) {
        HeadlessUi seedUi{nullptr};
        EditorContext seedCtx{seedUi};
        std::filesystem::copy_file(entry.path(), document(), std::filesystem::copy_options::overwrite_existing);
        EXPECT_EQ(ReadDocument(seedCtx.doc, seedCtx.ui, document()), FileOk) << entry.path();
        EXPECT_TRUE(seedUi.messages().empty()) << entry.path();
        ++opened;
    }
    EXPECT_GE(opened, 3);
}

// The shared corpus holds scores of other formats: each is refused with a message, never a crash.
TEST_F(MusFileRead, OtherFormatsOfTheCorpusAreRefused) {
    for (const auto& entry : std::filesystem::recursive_directory_iterator(test::CorpusDir().string())) {
        if (!entry.is_regular_file()) continue;
        HeadlessUi otherUi{nullptr};
        EditorContext other{otherUi};
        std::filesystem::copy_file(entry.path(), document(), std::filesystem::copy_options::overwrite_existing);
        const int status = ReadDocument(other.doc, other.ui, document());
        EXPECT_TRUE(status == FileReadFailure || status == FileVersionRefused) << entry.path();
        EXPECT_EQ(otherUi.messages().size(), 1u) << entry.path();
    }
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

class DamagedFile : public MusFileRead, public ::testing::WithParamInterface<Damage> {};

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

const Damage damages[] = {
    {"EmptyFile", [](auto& b) { b.clear(); }, FileReadFailure, {4}, 0},
    {"CutInHeader", [](auto& b) { b.resize(500); }, FileReadFailure, {4}, 0},
    {"CutInPageTable", [](auto& b) { b.resize(3000); }, FileReadFailure, {4}, 0},
    {"NoPages", [](auto& b) { PutU16(b, 520, 0); }, FileReadFailure, {4}, 0},
    {"PageCount256", [](auto& b) { PutU16(b, 520, 256); }, FileReadFailure, {4}, 0},
    {"PageCountHuge", [](auto& b) { PutU16(b, 520, 65535); }, FileReadFailure, {4}, 0},
    {"EndOfDataInHeader", [](auto& b) { PutU32(b, 516, 12); }, FileReadFailure, {4}, 0},
    {"EndOfDataPastTheEnd", [](auto& b) { PutU32(b, 516, 0xFFFFFFF0u); }, FileReadFailure, {4}, 0},
    {"LastPageLengthZero", [](auto& b) { PutU32(b, pageTableEntryAt(3), 0); }, FileReadFailure, {4}, 0},
    {"PageOffsetPastTheEnd", [](auto& b) { PutU32(b, pageTableEntryAt(2) + 4, 0xFFFFFF00u); }, FileReadFailure, {4}, 0},
    {"PageOffsetInHeader", [](auto& b) { PutU32(b, pageTableEntryAt(1) + 4, 100); }, FileReadFailure, {4}, 0},
    {"PageLengthHuge", [](auto& b) { PutU32(b, pageTableEntryAt(1), 0xFFFFFFFFu); }, FileReadFailure, {4}, 0},
    {"PageLengthTooShort", [](auto& b) { PutU32(b, pageTableEntryAt(2), 20); }, FileReadFailure, {4}, 0},
    {"NotesTooLong",
     [](auto& b) {
         b[727 + 11] = block_flag::notes;
         b.push_back(0xFF);
         b.push_back(0xFF);
     },
     FileReadFailure, {4}, 0},
    {"NotesMissing", [](auto& b) { b[727 + 11] = block_flag::notes; }, FileReadFailure, {4}, 0},
    {"HeaderBlockMissing", [](auto& b) { b[727 + 11] = block_flag::pageHeader; }, FileReadFailure, {4}, 0},
    {"BlobLengthZero", [](auto& b) { PutU16(b, pageAt(b, 2) + blobInPage, 0); }, FileOk, {13}, 3},
    {"BlobLengthTwo", [](auto& b) { PutU16(b, pageAt(b, 2) + blobInPage, 2); }, FileOk, {13}, 3},
    {"BlobLengthMax", [](auto& b) { PutU16(b, pageAt(b, 2) + blobInPage, 65535); }, FileOk, {13}, 3},
    {"ElementCountHuge", [](auto& b) { PutU32(b, pageAt(b, 1) + 27, 0xFFFFFFFFu); }, FileOk, {13}, 3},
    {"StaffCount1023", [](auto& b) { PutU32(b, pageAt(b, 3) + 11, 1023); }, FileOk, {12}, 2},
    {"EveryPageUnreadable",
     [](auto& b) {
         for (int n = 1; n <= 3; ++n) PutU32(b, pageAt(b, n) + 11, 1023);
     },
     FileReadFailure, {12, 12, 12, 4}, 0},
};

INSTANTIATE_TEST_SUITE_P(Damages, DamagedFile, ::testing::ValuesIn(damages),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace notavera
